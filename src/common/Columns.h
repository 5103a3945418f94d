#pragma once

#include <QString>

// Fixed-column text for logs and history files, whose readers work by column positions.
namespace Columns {
// Appends blanks up to `width`; a text that already fills the width still gets one blank, so that
// adjacent columns never run together.
QString padded(const QString& text, int width);
// Puts blanks in front up to `width` (like "%6d"); a wider text is kept whole.
QString rightAligned(const QString& text, int width);
// At most `maxLength` characters (none for a negative length).
QString cut(const QString& text, int maxLength);
} // namespace Columns
