#pragma once

#include <QIcon>
#include <QString>

// The program's own icons: the tray icons "SMALL" and "SMALL-ALARM", and one pictogram per page,
// drawn here so that no foreign artwork is needed.
namespace PageIcons {
QIcon small(bool alarm = false);
// The pictogram of a navigation entry, by its heading text.
QIcon forHeading(const QString& heading);
} // namespace PageIcons
