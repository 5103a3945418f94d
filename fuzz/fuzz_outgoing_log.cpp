#include "CallLogCheck.h"

// Any "WinKavex.out": listed, cleaned up (internal calls dropped) and a call renamed.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString path = FuzzSupport::writeFile(QStringLiteral("WinKavex.out"), data, size);
    CallLogCheck::run(
        path, CallLogReader::outgoing(),
        [](const QString& p, const QString& key, const QString& name) {
            return LogRetention::rewriteOutgoing(p, key, name, false);
        },
        [](const QString& line) { return LogRetention::isInternalCall(line); }, &LogRetention::renamedOutgoing);
    return 0;
}
