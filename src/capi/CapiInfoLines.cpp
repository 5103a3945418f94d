#include "capi/CapiInfoLines.h"

#include "capi/CapiLibrary.h"

CapiInfoLines capiInfoLines(const CapiLibrary& library)
{
    const QString unknownVersion = QStringLiteral("??.??");
    switch (library.state()) {
    case CapiLibrary::Installed: {
        // A controller that does not answer tells nothing: no empty maker, no "0.0".
        const std::optional<QString> maker = library.manufacturer();
        const std::optional<CapiLibrary::Version> v = library.version();
        return {maker.value_or(QStringLiteral("nicht ermittelbar")),
                v ? QString::asprintf("%d.%d   (Hersteller: %d.%d)", int(v->capiMajor), int(v->capiMinor),
                                      int(v->manufacturerMajor), int(v->manufacturerMinor))
                  : unknownVersion,
                !maker};
    }
    case CapiLibrary::NotFound:
        return {QStringLiteral("%1 nicht gefunden").arg(QLatin1String(CapiLibrary::SystemFileName)), unknownVersion,
                true};
    case CapiLibrary::NotInstalled:
        return {QStringLiteral("CAPI nicht installiert"), unknownVersion, true};
    default:
        return {QStringLiteral("nicht ermittelbar"), unknownVersion, true};
    }
}
