#include "CallLogCheck.h"

// Any "WinKavex.in": listed, rewritten (nothing dropped) and a caller renamed.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString path = FuzzSupport::writeFile(QStringLiteral("WinKavex.in"), data, size);
    CallLogCheck::run(
        path, CallLogReader::incoming(), &LogRetention::rewriteIncoming, [](const QString&) { return false; },
        &LogRetention::renamedIncoming);
    return 0;
}
