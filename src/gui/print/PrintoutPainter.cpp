#include "PrintoutPainter.h"

#include "common/TextFile.h"
#include "config/PrintLayout.h"

#include <QBuffer>
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace {

// The body font fills 13/20 of a grid row, so that the 30 speed-dial rows never touch.
// Without shaping no ligature replaces letters, so the text of a PDF can be searched and copied.
struct PrintFonts
{
    explicit PrintFonts(int rowHeight)
    {
        body.setPixelSize(std::max(1, rowHeight * 13 / 20));
        body.setStyleStrategy(QFont::PreferNoShaping);
        bold = body;
        bold.setBold(true);
        title = QFont(QStringLiteral("Arial"));
        title.setStyleStrategy(QFont::PreferNoShaping);
        title.setPixelSize(body.pixelSize() * 2);
        title.setBold(true);
    }
    const QFont& operator[](PrintFont font) const
    {
        return font == PrintFont::Title ? title : font == PrintFont::Bold ? bold : body;
    }
    QFont body, bold, title;
};

void drawPage(QPainter& painter, const PrintPage& page, const PrintFonts& fonts)
{
    for (const PrintColourFill& f : page.colourFills) {
        const PrintRect& r = f.rect;
        const QColor colour((f.rgb >> 16) & 0xFF, (f.rgb >> 8) & 0xFF, f.rgb & 0xFF);
        painter.fillRect(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top), colour);
    }
    for (const PrintRect& r : page.fills)
        painter.fillRect(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top), Qt::black);
    painter.setPen(QPen(Qt::black, PrintLayout::FramePen));
    painter.setBrush(Qt::NoBrush);
    for (const PrintRect& r : page.frames)
        painter.drawRect(QRectF(r.left, r.top, r.right - r.left, r.bottom - r.top));
    for (const PrintText& t : page.texts) {
        const QFont& font = fonts[t.font];
        painter.setFont(font);
        painter.setPen(t.white ? Qt::white : Qt::black);
        painter.drawText(QPoint(t.x, t.y + QFontMetrics(font, painter.device()).ascent()), t.text);
    }
}

} // namespace

namespace PrintoutPainter {

QString jobTitle()
{
    return QStringLiteral("Kavex - Konfiguration");
}

void paint(QPainter& painter, QPagedPaintDevice& device, const PrintContent& content)
{
    paintPages(painter, device, [&content](QSize size, const PrintTextWidth& width) {
        return PrintLayout::pages(content, size, width);
    });
}

void paintPages(QPainter& painter, QPagedPaintDevice& device, const PageLayout& layout)
{
    const QSize size(device.width(), device.height());
    const PrintFonts fonts(PageGrid{size.width(), size.height()}.row(1));
    const PrintTextWidth width = [&fonts, &device](const QString& text, PrintFont font) {
        return QFontMetrics(fonts[font], &device).horizontalAdvance(text);
    };
    const std::vector<PrintPage> pages = layout(size, width);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0)
            device.newPage();
        drawPage(painter, pages[i], fonts);
    }
}

bool writePdf(const PrintContent& content, const QString& path)
{
    return writePdf(
        jobTitle(),
        [&content](QSize size, const PrintTextWidth& width) { return PrintLayout::pages(content, size, width); }, path);
}

bool writePdf(const QString& title, const PageLayout& layout, const QString& path)
{
    // Made in memory and written in one go: a failed write (a full disk) leaves no half file
    // behind and is reported, which the writer's own file would not do.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    QPdfWriter writer(&pdf);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("WinKavex"));
    // The margins of a usual printer's unprintable edge.
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10),
                                     QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    paintPages(painter, writer, layout);
    return painter.end() && TextFile::writeOut(path, pdf.data()) == 0;
}

} // namespace PrintoutPainter
