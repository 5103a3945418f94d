#pragma once

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <gtest/gtest.h>

#include <vector>

// A PDF page of kavexctl read back: the words with their boxes from pdftotext -bbox, the pixels
// from pdftoppm (both poppler-utils), and the printout's grid in points.

// The PDF's geometry: 1200 device units to the inch, 10 mm margins, A4 landscape.
constexpr double PointsPerUnit = 72.0 / 1200.0;
constexpr double MarginPoints = 10 / 25.4 * 72;
constexpr int WidthUnits = 13087; // 277 mm
constexpr int HeightUnits = 8976; // 190 mm
constexpr double ColumnPoints = WidthUnits / 100 * PointsPerUnit;
constexpr double RowPoints = HeightUnits / 55 * PointsPerUnit;

struct Word
{
    int page;
    double xMin, yMin, xMax;
    QString text;
};

inline std::vector<Word> wordsOf(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(20000) || p.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext (poppler-utils) did not run";
        return {};
    }
    std::vector<Word> words;
    int page = -1;
    const QRegularExpression word(
        QString::fromLatin1(R"re(xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" [^>]*>([^<]*)<)re"));
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        if (line.contains(QLatin1String("<page ")))
            ++page;
        const QRegularExpressionMatch m = word.match(line);
        if (m.hasMatch())
            words.push_back(
                {page, m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(), m.captured(4)});
    }
    return words;
}

inline double columnX(double column)
{
    return MarginPoints + column * ColumnPoints;
}

inline double rowY(double row)
{
    return MarginPoints + row * RowPoints;
}

// The word on the page whose left edge (or right edge) lies within a cell of the column, and
// whose top lies within the row.
inline bool placed(const std::vector<Word>& words, int page, const QString& text, int row, int column,
                   bool rightEdge = false)
{
    for (const Word& w : words) {
        const double x = rightEdge ? w.xMax : w.xMin;
        if (w.page == page && w.text == text && std::abs(x - columnX(column)) < ColumnPoints &&
            w.yMin >= rowY(row) - 1 && w.yMin < rowY(row + 1))
            return true;
    }
    return false;
}

inline int pageCount(const std::vector<Word>& words)
{
    int pages = 0;
    for (const Word& w : words)
        pages = std::max(pages, w.page + 1);
    return pages;
}

// The colour of the first page at a grid position, rendered at 50 dpi.
inline QRgb colourAt(const QString& pdf, double row, double column)
{
    const QString prefix = pdf + QStringLiteral(".colour");
    QProcess p;
    p.start(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QStringLiteral("50"), QStringLiteral("-png"), QStringLiteral("-singlefile"),
             QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"), pdf, prefix});
    if (!p.waitForFinished(20000) || p.exitCode() != 0) {
        ADD_FAILURE() << "pdftoppm (poppler-utils) did not run";
        return 0;
    }
    const QImage image(prefix + QStringLiteral(".png"));
    const double scale = 50.0 / 72.0;
    return image.pixel(static_cast<int>(columnX(column) * scale), static_cast<int>(rowY(row) * scale));
}

inline int greyAt(const QString& pdf, double row, double column)
{
    return qGray(colourAt(pdf, row, column));
}
