#include "CtlCommand.h"
#include "CtlLink.h"

#include "image/Extensions.h"
#include "image/ImageLayout.h"

namespace {

// One line per extension of the exchange: number, tab, units.
int runCharges(const CtlOptions& options, const QStringList& args)
{
    if (!args.isEmpty()) {
        ctlError(QStringLiteral("Aufruf: kavexctl charges"));
        return ExitUsage;
    }
    CtlLink link(options);
    if (const int status = link.open(); status != ExitOk)
        return status;
    if (const int status = link.read(); status != ExitOk)
        return status;
    for (int i = 0; i < ImageLayout::extensionCount(link.image()); ++i)
        ctlPrint(QStringLiteral("%1\t%2").arg(Extensions::number(i)).arg(ImageLayout::units(link.image(), i)));
    return ExitOk;
}

const CtlRegistrar registrar({"charges", "charges", runCharges});

} // namespace
