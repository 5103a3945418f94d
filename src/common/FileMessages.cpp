#include "common/FileMessages.h"

namespace FileMessages {

QString cannotWrite(const QString& path, const QString& reason)
{
    const QString text = QStringLiteral("Kann nicht nach %1 schreiben").arg(path);
    return reason.isEmpty() ? text : text + QStringLiteral(": ") + reason;
}

} // namespace FileMessages
