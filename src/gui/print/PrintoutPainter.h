#pragma once

#include "config/PrintContent.h"
#include "config/PrintLayout.h"

#include <QSize>
#include <QString>

#include <functional>
#include <vector>

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

// Any printout laid out on the same grid and in the same fonts: the pages for a device size.
using PageLayout = std::function<std::vector<PrintPage>(QSize pageSize, const PrintTextWidth& width)>;
void paintPages(QPainter& painter, QPagedPaintDevice& device, const PageLayout& layout);
// Written in memory and put in place whole (beside the file, then renamed): nothing half written
// stays behind.
bool writePdf(const QString& title, const PageLayout& layout, const QString& path);
} // namespace PrintoutPainter
