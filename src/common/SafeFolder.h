#pragma once

#include <QString>

#include <optional>

// Whether a folder is safe from other users: it and every folder above it (links resolved) are
// owned by the user or root and writable by no one else, except where the sticky bit keeps others
// from renaming or removing what is not theirs (as in /tmp). Whoever else may write one of them
// could put a file or folder of their own in the way.
namespace SafeFolder {
// Why the folder is not safe ("Ordner für andere beschreibbar", "Ordner nicht lesbar"); nothing
// when it is.
std::optional<QString> refusal(const QString& folder);
} // namespace SafeFolder
