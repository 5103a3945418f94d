#pragma once

#include <QString>

// Where an installed program finds its own libraries: the library directory of its install
// prefix, relative to the executable, so that any prefix works (a package, /usr/local, a
// temporary test install).
namespace InstallLayout {
// `name` in <prefix>/<libdir>/, seen from the running executable in <prefix>/bin.
QString libraryPath(const QString& name);
} // namespace InstallLayout
