#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Text files shared with users and other programs: Windows-1252, CR LF line ends.
namespace TextFile {
// All lines without their line ends, each cut to `maxLineLength` characters; nothing when the
// file cannot be opened (missing included). A line may end in CR LF, LF alone or the end of file.
std::optional<QStringList> readLines(const QString& path, int maxLineLength);
// The same lines one by one, without holding the file: 0 when read to its end, else the errno
// of the failure (ENOENT for a missing file, EISDIR for a directory in its place, EACCES ...).
int forEachLine(const QString& path, int maxLineLength, const std::function<void(const QString& line)>& onLine);
// The line forEachLine would give last, read from the end of the file without the lines before it
// (an empty file has none): 0, or the errno of the failure as with forEachLine.
int lastLine(const QString& path, int maxLineLength, std::optional<QString>& line);
// Copies the file byte for byte, beside the target first and then renamed into place.
bool copy(const QString& from, const QString& to);
// Appends `line` and CR LF in one write, creating the file when missing. False on any failure.
bool appendLine(const QString& path, const QString& line);
// Whether the file's last byte is a line feed; a missing or empty file counts as ended.
bool endsWithLineBreak(const QString& path);
// Appends `text` as it stands (no line end) in one write.
bool appendText(const QString& path, const QString& text);
// Appends `text` in one write to a file that must exist: 0, or the errno of the failure (ENOENT
// when the file is missing, so that the caller decides whether to create it).
int appendToExisting(const QString& path, const QString& text);
// Replaces the file's content without a window in which it is lost: the new content is written
// beside it, flushed and renamed into place; the file's permissions are kept. On failure the old
// file stays as it was.
bool rewrite(const QString& path, const QByteArray& content);
// CR LF line end, as bytes.
inline constexpr char kLineEnd[] = "\r\n";
} // namespace TextFile
