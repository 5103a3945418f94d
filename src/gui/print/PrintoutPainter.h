#pragma once

#include "config/PrintContent.h"

#include <QString>

class QPagedPaintDevice;
class QPainter;

// Draws the computed pages of a printout on a paged device: the printer or a PDF file.
namespace PrintoutPainter {
// The print job's title.
QString jobTitle();
// Paints every page on the device the painter is active on, with a page break between pages.
void paint(QPainter& painter, QPagedPaintDevice& device, const PrintContent& content);
// The pages in a PDF file (A4 landscape); false when the file cannot be written.
bool writePdf(const PrintContent& content, const QString& path);
} // namespace PrintoutPainter
