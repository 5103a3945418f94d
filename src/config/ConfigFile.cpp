#include "config/ConfigFile.h"

#include "common/TextFile.h"
#include "common/FileMessages.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace ConfigFile {

QString proposedName(const QDate& date)
{
    return QStringLiteral("WinKavex_%1.KVX").arg(date.toString(QStringLiteral("yyMMdd")));
}

QString withExtension(const QString& path)
{
    return QFileInfo(path).suffix().isEmpty() ? path + QStringLiteral(".kvx") : path;
}

std::optional<QString> save(const QString& path, const ConfigImage& image)
{
    if (TextFile::rewrite(path, image.toByteArray()))
        return std::nullopt;
    return FileMessages::cannotWrite(path);
}

std::optional<ConfigImage> read(const QString& path)
{
    // A configuration file is one image, perhaps with a little more: a FIFO, a device or anything
    // much larger is no configuration file.
    QByteArray bytes;
    if (TextFile::readAll(path, 64 * ConfigImage::Size, bytes) != 0 || bytes.size() < ConfigImage::Size)
        return std::nullopt;
    bytes.truncate(ConfigImage::Size);
    ConfigImage image;
    std::copy(bytes.begin(), bytes.end(), image.data());
    return image;
}

bool load(const QString& path, ConfigImage& image)
{
    const std::optional<ConfigImage> loaded = read(path);
    if (!loaded)
        return false;
    const ConfigImage kept = image;
    image = *loaded;
    std::copy_n(kept.data() + KeptFrom, KeptLength, image.data() + KeptFrom);
    return true;
}

} // namespace ConfigFile
