#pragma once

#include <QStringList>

class AppCore;

// The names of extensions 21 .. 28 (settings section "Bezeichnungen"), index 0 for 21.
QStringList extensionNames(const AppCore& core);
