#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Text files shared with users and other programs: Windows-1252, CR LF line ends. Only regular
// files are read or written: a FIFO, device or socket in a file's place gives EINVAL (a folder
// EISDIR) at once instead of a wait. Line reads, copies and writes never follow a symlink at the
// file's own name (ELOOP); a file read whole may be one.
namespace TextFile {
// What a file read whole may hold at most (settings, configuration files, address books).
inline constexpr qint64 kMaxReadBytes = 16 * 1024 * 1024;
// Opens a regular file without waiting: 0 and the descriptor, or the errno. `flags` as for open().
int openRegular(const QString& path, int flags, int& fd);
// The whole file, if it holds at most `maxBytes` (EFBIG otherwise): 0, or the errno.
int readAll(const QString& path, qint64 maxBytes, QByteArray& content);
// All lines without their line ends, each cut to `maxLineLength` characters (the rest of a longer
// line is skipped, never held); nothing when the file cannot be opened (missing included). A line
// may end in CR LF, LF alone or the end of file. The file is read as far as it reached when opened.
std::optional<QStringList> readLines(const QString& path, int maxLineLength);
// The same lines one by one, without holding the file: 0 when read to its end, else the errno
// of the failure (ENOENT for a missing file, EISDIR for a directory in its place, EACCES ...).
int forEachLine(const QString& path, int maxLineLength, const std::function<void(const QString& line)>& onLine);
// The line forEachLine would give last, read from the end of the file without the lines before it
// (an empty file has none), in time that grows with that line's length only: 0, or the errno of
// the failure as with forEachLine. Both readers stop with ECANCELED when the program is asked to end.
int lastLine(const QString& path, int maxLineLength, std::optional<QString>& line);
// Copies the file byte for byte, beside the target first and then renamed into place; the copy
// gets the permissions of the original.
bool copy(const QString& from, const QString& to);
// Appends `line` and CR LF in one write, creating the file (mode 0600) when missing. False on any
// failure.
bool appendLine(const QString& path, const QString& line);
// Whether the file's last byte is a line feed; a missing or empty file counts as ended.
bool endsWithLineBreak(const QString& path);
// Appends `text` as it stands (no line end) in one write.
bool appendText(const QString& path, const QString& text);
// Appends `text` in one write to a file that must exist: 0, or the errno of the failure (ENOENT
// when the file is missing, so that the caller decides whether to create it).
int appendToExisting(const QString& path, const QString& text);
// Replaces the file's content without a window in which it is lost: the new content is written
// beside it, flushed and renamed into place; the file's permissions are kept (0600 for a new one).
// On failure the old file stays as it was.
bool rewrite(const QString& path, const QByteArray& content);
// `content` as the whole of the file at `path`: a regular (or missing) file is replaced as by
// rewrite(); a device or pipe that exists under the name (such as /dev/stdout) is written to
// directly. 0, or the errno of the failure (ENOSPC for /dev/full, ENXIO for a FIFO no one reads).
int writeOut(const QString& path, const QByteArray& content);
// A new file beside `path`, created exclusively under a fresh name with mode 0600: 0 with its
// descriptor and name, or the errno. The caller renames it into place or removes it.
int createBeside(const QString& path, int& fd, QByteArray& name);
// Removes what createBeside() made for `path` and a program that was killed left behind (and the
// fixed name ".new" earlier versions used): only regular files of this user, never a link.
void removeLeftovers(const QString& path);
// CR LF line end, as bytes.
inline constexpr char kLineEnd[] = "\r\n";
} // namespace TextFile
