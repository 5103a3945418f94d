#pragma once

#include "image/ConfigImage.h"

#include <QDate>
#include <QString>

#include <optional>

// Configuration files (".KVX"): exactly the 1024 bytes of the image, no header.
namespace ConfigFile {
inline constexpr int KeptFrom = 800, KeptLength = 176; // charge data a load leaves in place

// The name proposed for a new file: "WinKavex_yyMMdd.KVX".
QString proposedName(const QDate& date);
// Adds ".kvx" to a name typed without an extension.
QString withExtension(const QString& path);

// Saves the image. The new file is written beside the target and renamed into place, so an
// existing file is never left half written. On failure: the message "Kann nicht nach %s
// schreiben" with the path, for the status line in red.
std::optional<QString> save(const QString& path, const ConfigImage& image);

// Reads the first 1024 bytes of a file (anything beyond is ignored). Nothing when the file cannot
// be opened or is shorter.
std::optional<ConfigImage> read(const QString& path);

// Loads a file into the image: image bytes 800..975 keep what the image held (the charge data
// last read from the exchange). False when the file cannot be opened or holds fewer than 1024
// bytes: the caller shows message 32 "Datei %s konnte nicht geöffnet werden" in red with the
// file name; the image is unchanged. The caller then decodes base and extensions.
bool load(const QString& path, ConfigImage& image);
} // namespace ConfigFile
