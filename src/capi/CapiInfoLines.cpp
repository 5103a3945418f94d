#include "capi/CapiInfoLines.h"

#include "capi/CapiLibrary.h"

CapiInfoLines capiInfoLines(const CapiLibrary& library)
{
    const QString unknownVersion = QStringLiteral("??.??");
    switch (library.state()) {
    case CapiLibrary::Installed: {
        const auto v = library.version().value_or(CapiLibrary::Version{});
        return {library.manufacturer(),
                QString::asprintf("%d.%d   (Hersteller: %d.%d)", int(v.capiMajor), int(v.capiMinor),
                                  int(v.manufacturerMajor), int(v.manufacturerMinor)),
                false};
    }
    case CapiLibrary::NotFound:
        return {QStringLiteral("CAPI2032.DLL nicht gefunden"), unknownVersion, true};
    case CapiLibrary::NotInstalled:
        return {QStringLiteral("CAPI nicht installiert"), unknownVersion, true};
    default:
        return {QStringLiteral("nicht ermittelbar"), unknownVersion, true};
    }
}
