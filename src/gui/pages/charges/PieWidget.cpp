#include "PieWidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace {

QColor colour(const PieChart::Rgb& rgb)
{
    return QColor(rgb.r, rgb.g, rgb.b);
}

} // namespace

PieWidget::PieWidget(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TxPie"));
    setMouseTracking(true);
    setAccessibleName(QStringLiteral("Tortendiagramm"));
    setMinimumSize(320, 240);
}

void PieWidget::setItems(const QList<PieChart::Item>& items)
{
    m_items = items;
    m_hovered = -1;
    // A screen reader reads the slices' figures, which the eye takes from the hints.
    QStringList texts;
    for (const PieChart::Item& item : items)
        texts << item.text;
    setAccessibleDescription(texts.join(QStringLiteral("; ")));
    update();
}

void PieWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    p.setRenderHint(QPainter::Antialiasing);
    const PieChart::Layout layout = PieChart::layout(m_items, size(), Border, View);
    for (const PieChart::Slice& s : layout.slices) {
        const QRect base(s.centre.x() - layout.rx, s.centre.y() - layout.ry, 2 * layout.rx, 2 * layout.ry);
        p.setBrush(Qt::NoBrush);
        p.setPen(colour(s.side));
        for (int h = 0; h <= s.height; ++h)
            p.drawPie(base.translated(0, -h), s.startAngle16, s.spanAngle16);
        const QColor top = colour(m_items[s.item].colour);
        p.setPen(top);
        p.setBrush(top);
        p.drawPie(base.translated(0, -s.height), s.startAngle16, s.spanAngle16);
    }
}

// The hint shows once the mouse rests on the same slice for a second move, 32 pixels below it.
void PieWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    const int item = PieChart::itemAt(PieChart::layout(m_items, size(), Border, View), at);
    setCursor(item >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
    if (item >= 0 && item == m_hovered)
        QToolTip::showText(mapToGlobal(at + QPoint(0, 32)), m_items[item].text, this);
    else if (item < 0)
        QToolTip::hideText();
    m_hovered = item;
}
