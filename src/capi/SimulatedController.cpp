#include "capi/SimulatedController.h"

#include "common/InstallLayout.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

const QString LibraryName = QStringLiteral("libkavex-capi-sim.so");

} // namespace

namespace SimulatedController {

QString libraryPath()
{
    if (!QCoreApplication::instance())
        return {};
    const QDir bin(QCoreApplication::applicationDirPath());
    for (const QString& candidate :
         {bin.filePath(LibraryName), InstallLayout::libraryPath(QStringLiteral("winkavex/") + LibraryName)}) {
        if (QFileInfo(candidate).isFile())
            return QFileInfo(candidate).absoluteFilePath();
    }
    return {};
}

bool use(int demoSeconds)
{
    if (!qEnvironmentVariableIsEmpty("WINKAVEX_CAPI_LIBRARY"))
        return true;
    const QString path = libraryPath();
    if (path.isEmpty())
        return false;
    qputenv("WINKAVEX_CAPI_LIBRARY", QFile::encodeName(path));
    if (qEnvironmentVariableIsEmpty("KAVEX_CAPI_SIM_DEMO"))
        qputenv("KAVEX_CAPI_SIM_DEMO", QByteArray::number(demoSeconds));
    return true;
}

} // namespace SimulatedController
