# Installs BUILD_DIR into PREFIX, checks the file list, and runs the installed programs.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "install failed: ${result}")
endif()

set(expected
    "${BINDIR}/winkavex" "${BINDIR}/kavexctl" "${BINDIR}/kavex-sim" "${BINDIR}/kavex-capi-sim"
    "${LIBDIR}/winkavex/libvorwahl.so.1" "${LIBDIR}/winkavex/libkavex-capi-sim.so"
    "${DATADIR}/applications/de.brenvik.WinKavex.desktop" "${DATADIR}/metainfo/de.brenvik.WinKavex.metainfo.xml"
    "${DATADIR}/icons/hicolor/scalable/apps/winkavex.svg"
    "${MANDIR}/man1/winkavex.1.gz" "${MANDIR}/man1/kavexctl.1.gz" "${MANDIR}/man1/kavex-sim.1.gz"
    "${MANDIR}/man1/kavex-capi-sim.1.gz" "${DOCDIR}/copyright" "${DOCDIR}/changelog.gz"
    "${DOCDIR}/html/index.html" "${DOCDIR}/html/das-programmfenster.html" "${DOCDIR}/html/kurzwahlen.html"
    "${DOCDIR}/html/images/kurzwahlen.png")
foreach(size 16 22 24 32 48 64 128 256)
    list(APPEND expected "${DATADIR}/icons/hicolor/${size}x${size}/apps/winkavex.png")
endforeach()
foreach(file IN LISTS expected)
    if(NOT EXISTS "${PREFIX}/${file}")
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()

# The validators, where they are installed.
find_program(DESKTOP_VALIDATE desktop-file-validate)
if(DESKTOP_VALIDATE)
    execute_process(COMMAND "${DESKTOP_VALIDATE}" "${PREFIX}/${DATADIR}/applications/de.brenvik.WinKavex.desktop"
                    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT result EQUAL 0 OR NOT out STREQUAL "")
        message(FATAL_ERROR "desktop entry: ${out}")
    endif()
endif()
find_program(APPSTREAMCLI appstreamcli)
if(APPSTREAMCLI)
    execute_process(COMMAND "${APPSTREAMCLI}" validate --no-net
                            "${PREFIX}/${DATADIR}/metainfo/de.brenvik.WinKavex.metainfo.xml"
                    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "metainfo: ${out}")
    endif()
endif()

# The installed programs on their own: the simulator beside them, the library from the prefix.
set(dir "${PREFIX}/home")
file(MAKE_DIRECTORY "${dir}")
execute_process(COMMAND "${PREFIX}/${BINDIR}/kavexctl" --dir "${dir}" --simulate read --json
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 120)
if(NOT result EQUAL 0 OR NOT out MATCHES "\"firmware\"")
    message(FATAL_ERROR "installed kavexctl --simulate read --json: ${result}\n${out}\n${err}")
endif()
execute_process(COMMAND "${PREFIX}/${BINDIR}/kavexctl" vorwahl 0301234567
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
if(NOT out MATCHES "\\[Berlin\\]")
    message(FATAL_ERROR "the installed kavexctl does not find libvorwahl in the prefix: ${out}${err}")
endif()
message(STATUS "installed into ${PREFIX}: ${expected}")
