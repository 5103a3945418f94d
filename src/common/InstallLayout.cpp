#include "common/InstallLayout.h"

#include <QCoreApplication>
#include <QDir>

namespace InstallLayout {

QString libraryPath(const QString& name)
{
    if (!QCoreApplication::instance())
        return {};
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../") +
                           QString::fromLatin1(KAVEX_INSTALL_LIBDIR) + QLatin1Char('/') + name);
}

} // namespace InstallLayout
