# The Debian package: `cpack -G DEB` in a release build. Library dependencies come from
# dpkg-shlibdeps; the CAPI runtime is only recommended, since the program runs without it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME winkavex)
set(CPACK_PACKAGE_VERSION 5.19)
set(CPACK_PACKAGE_CONTACT "WinKavex <winkavex@brenvik.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configure the Kavex K3/K8 ISDN telephone exchange and follow its calls")
# CPack puts the summary in front as the synopsis line.
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "WinKavex reads, shows, edits and writes the configuration of the exchange\n"
    "over a serial line, turns its charge counters into costs, and logs outgoing\n"
    "and (through CAPI 2.0) incoming calls. It comes with kavexctl for scripts,\n"
    "a simulated exchange and a simulated CAPI controller.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION comm)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window on a Wayland desktop: Qt loads the platform plugin, no library links it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libcapi20-3, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://brenvik.example/winkavex")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
