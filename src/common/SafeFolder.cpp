#include "common/SafeFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace SafeFolder {

std::optional<QString> refusal(const QString& folder)
{
    char resolved[PATH_MAX];
    if (::realpath(QFile::encodeName(folder).constData(), resolved) == nullptr)
        return QStringLiteral("Ordner nicht lesbar");
    for (QString at = QFile::decodeName(resolved);; at = QFileInfo(at).path()) {
        struct stat info = {};
        if (::lstat(QFile::encodeName(at).constData(), &info) != 0 || !S_ISDIR(info.st_mode))
            return QStringLiteral("Ordner nicht lesbar");
        const bool owned = info.st_uid == ::geteuid() || info.st_uid == 0;
        const bool othersWrite = (info.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (info.st_mode & S_ISVTX) == 0;
        if (!owned || othersWrite)
            return QStringLiteral("Ordner für andere beschreibbar");
        if (at == QDir::rootPath())
            return std::nullopt;
    }
}

} // namespace SafeFolder
