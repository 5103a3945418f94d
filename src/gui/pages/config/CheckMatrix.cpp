#include "CheckMatrix.h"

#include "CheckCell.h"

#include <QPainter>

namespace {
constexpr int Gap = 6;
} // namespace

CheckMatrix::CheckMatrix(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void CheckMatrix::setCaptions(const QStringList& rowCaptions, const QStringList& columnCaptions)
{
    m_rowCaptions = rowCaptions;
    m_columnCaptions = columnCaptions;
    m_cells = QVector<Cell>(rowCount() * columnCount());
    updateGeometry();
    update();
}

void CheckMatrix::setRowCaption(int row, const QString& caption)
{
    if (row < 0 || row >= rowCount() || m_rowCaptions[row] == caption)
        return;
    m_rowCaptions[row] = caption;
    updateGeometry();
    update();
}

const CheckMatrix::Cell* CheckMatrix::cell(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return nullptr;
    return &m_cells[row * columnCount() + column];
}

CheckMatrix::Cell* CheckMatrix::cell(int row, int column)
{
    return const_cast<Cell*>(std::as_const(*this).cell(row, column));
}

void CheckMatrix::setCell(int row, int column, bool set, bool marked)
{
    if (Cell* c = cell(row, column)) {
        c->set = set;
        c->marked = marked;
        update(cellRect(row, column));
    }
}

void CheckMatrix::setGreyed(int row, int column, bool greyed)
{
    if (Cell* c = cell(row, column)) {
        c->greyed = greyed;
        update(cellRect(row, column));
    }
}

void CheckMatrix::clearCells()
{
    for (Cell& c : m_cells)
        c = Cell{};
    update();
}

bool CheckMatrix::isSet(int row, int column) const
{
    const Cell* c = cell(row, column);
    return c && c->set;
}

bool CheckMatrix::isMarked(int row, int column) const
{
    const Cell* c = cell(row, column);
    return c && c->marked;
}

bool CheckMatrix::isGreyed(int row, int column) const
{
    const Cell* c = cell(row, column);
    return c && c->greyed;
}

int CheckMatrix::rowCaptionWidth() const
{
    int width = 0;
    for (const QString& caption : m_rowCaptions)
        width = qMax(width, fontMetrics().horizontalAdvance(caption));
    return width + Gap;
}

int CheckMatrix::cellWidth() const
{
    int width = fontMetrics().height() + Gap;
    for (const QString& caption : m_columnCaptions)
        width = qMax(width, fontMetrics().horizontalAdvance(caption) + Gap);
    return width;
}

int CheckMatrix::cellHeight() const
{
    return fontMetrics().height() + Gap;
}

QRect CheckMatrix::cellRect(int row, int column) const
{
    return QRect(rowCaptionWidth() + column * cellWidth(), (row + 1) * cellHeight(), cellWidth(), cellHeight());
}

QSize CheckMatrix::sizeHint() const
{
    return QSize(rowCaptionWidth() + columnCount() * cellWidth() + 1, (rowCount() + 1) * cellHeight() + 1);
}

void CheckMatrix::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    for (int column = 0; column < columnCount(); ++column) {
        const QRect header(rowCaptionWidth() + column * cellWidth(), 0, cellWidth(), cellHeight());
        painter.drawText(header, Qt::AlignCenter, m_columnCaptions[column]);
    }
    for (int row = 0; row < rowCount(); ++row) {
        const QRect caption(0, (row + 1) * cellHeight(), rowCaptionWidth(), cellHeight());
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter, m_rowCaptions[row]);
        for (int column = 0; column < columnCount(); ++column) {
            const Cell& c = *cell(row, column);
            CheckCell::paint(painter, cellRect(row, column), fontMetrics().height(), c.set, c.marked, c.greyed);
        }
    }
}
