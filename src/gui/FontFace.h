#pragma once

#include <QString>

class QWidget;

// The font face of the pages ("Schriftart"). The offered faces keep their names in the settings
// file; on Linux each stands for the closest installed family.
namespace FontFace {
// The installed family for an offered face; empty for a face that is not offered.
QString familyFor(const QString& offeredFace);
// Sets the face on the window and every control below it that has no face of its own, and on the
// navigation bar with its item size 8. A face that is not offered applies the empty face, which
// leaves the platform's default family.
void apply(QWidget* window, QWidget* navigationBar, const QString& offeredFace);
} // namespace FontFace
