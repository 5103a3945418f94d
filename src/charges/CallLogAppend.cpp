#include "charges/CallLogAppend.h"

#include "common/TextFile.h"

#include <cerrno>

namespace CallLogAppend {

Result append(const QString& path, const QString& text, const QStringList& header)
{
    Result result;
    result.error = TextFile::appendToExisting(path, text);
    if (result.error != ENOENT || header.isEmpty())
        return result;
    result.created = true;
    const QString lines = header.join(QLatin1String(TextFile::kLineEnd)) + QLatin1String(TextFile::kLineEnd);
    result.error = TextFile::appendText(path, lines) ? TextFile::appendToExisting(path, text) : errno;
    return result;
}

} // namespace CallLogAppend
