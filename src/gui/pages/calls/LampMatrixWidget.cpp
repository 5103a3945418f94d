#include "LampMatrixWidget.h"

#include "LampMatrixAccessible.h"
#include "diagnosis/LampMatrix.h"

#include "image/Extensions.h"

#include <QPainter>

namespace {

constexpr int NameWidth = 170;
constexpr int HeaderHeight = 26;
constexpr int RowHeight = 30;
constexpr int ColumnSpacing = 46;
constexpr int NumberGap = 24;
constexpr int NumberWidth = 190;
const QColor Field(0xC0, 0xC0, 0xC0);
const QColor Lamp(0x00, 0xFF, 0x00);

} // namespace

LampMatrixWidget::LampMatrixWidget(const LampMatrix& lamps, QWidget* parent) : QWidget(parent), m_lamps(lamps)
{
    setObjectName(QStringLiteral("DiagnoseMatrix"));
    LampMatrixAccessible::install();
    connect(&lamps, &LampMatrix::lampChanged, this, [this](int row, int column) {
        update();
        LampMatrixAccessible::lampChanged(this, row, column);
    });
}

QString LampMatrixWidget::lampName(int row, int column) const
{
    const QString where = column == 0 ? QStringLiteral("Hörer") : headers().value(column - 1);
    // The row captions already start with the extension's number.
    const QString caption = m_names.value(row).simplified();
    return QStringLiteral("%1, %2").arg(caption.isEmpty() ? Extensions::numberText(row) : caption, where);
}

QStringList LampMatrixWidget::headers()
{
    return {QStringLiteral("Amt1"), QStringLiteral("Amt2"), QStringLiteral("Int1"),
            QStringLiteral("Int2"), QStringLiteral("Int3"), QStringLiteral("Ton"),
            QStringLiteral("WTon"), QStringLiteral("TFE"),  QStringLiteral("Ruf")};
}

void LampMatrixWidget::setNames(const QStringList& names)
{
    m_names = names;
    update();
}

void LampMatrixWidget::setNumber(int row, const QString& text)
{
    if (row < 0 || row >= static_cast<int>(m_numbers.size()))
        return;
    m_numbers[static_cast<std::size_t>(row)] = text;
    update();
}

QString LampMatrixWidget::number(int row) const
{
    return row >= 0 && row < static_cast<int>(m_numbers.size()) ? m_numbers[static_cast<std::size_t>(row)] : QString();
}

QRect LampMatrixWidget::field() const
{
    const int width = FirstColumnX + ColumnSpacing * (LampMatrix::Columns - 1) + ColumnSpacing / 2;
    return {NameWidth, HeaderHeight, width, RowHeight * LampMatrix::Rows};
}

QPoint LampMatrixWidget::crossing(int row, int column) const
{
    const QRect area = field();
    return {area.left() + FirstColumnX + ColumnSpacing * column, area.top() + RowHeight / 2 + RowHeight * row};
}

QSize LampMatrixWidget::sizeHint() const
{
    const QRect area = field();
    return {area.right() + NumberGap + NumberWidth, area.bottom() + 8};
}

void LampMatrixWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect area = field();
    const QStringList captions = headers();
    painter.setPen(palette().color(QPalette::WindowText));
    for (int column = 1; column < LampMatrix::Columns; ++column) {
        const QPoint at = crossing(0, column);
        painter.drawText(QRect(at.x() - ColumnSpacing / 2, 0, ColumnSpacing, HeaderHeight - 4), Qt::AlignCenter,
                         captions.at(column - 1));
    }
    painter.drawText(QRect(area.right() + NumberGap, 0, NumberWidth, HeaderHeight - 4),
                     Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Nummer"));
    for (int row = 0; row < LampMatrix::Rows; ++row) {
        const int y = crossing(row, 0).y();
        painter.drawText(QRect(0, y - RowHeight / 2, NameWidth - 10, RowHeight), Qt::AlignRight | Qt::AlignVCenter,
                         m_names.value(row));
        painter.drawText(QRect(area.right() + NumberGap, y - RowHeight / 2, NumberWidth, RowHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, m_numbers[static_cast<std::size_t>(row)]);
    }

    painter.fillRect(area, Field);
    painter.setPen(Qt::black);
    const int lastX = crossing(0, LampMatrix::Columns - 1).x();
    // A row line runs from column 0 to past column 9; column 0 has no line of its own.
    for (int row = 0; row < LampMatrix::Rows; ++row) {
        const int y = crossing(row, 0).y();
        painter.drawLine(crossing(row, 0).x(), y, lastX + ColumnSpacing / 3, y);
    }
    for (int column = 1; column < LampMatrix::Columns; ++column) {
        const int x = crossing(0, column).x();
        painter.drawLine(x, crossing(0, column).y(), x, crossing(LampMatrix::Rows - 1, column).y());
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Lamp);
    for (int row = 0; row < LampMatrix::Rows; ++row)
        for (int column = 0; column < LampMatrix::Columns; ++column)
            if (m_lamps.lamp(row, column))
                painter.drawEllipse(
                    QRectF(crossing(row, column), QSizeF())
                        .adjusted(-LampDiameter / 2.0, -LampDiameter / 2.0, LampDiameter / 2.0, LampDiameter / 2.0));
}
