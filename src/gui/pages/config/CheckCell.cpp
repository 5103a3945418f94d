#include "CheckCell.h"

#include <QPainter>
#include <QPainterPath>

CheckCell::CheckCell(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void CheckCell::setState(bool set, bool changed)
{
    if (set == m_set && changed == m_changed)
        return;
    m_set = set;
    m_changed = changed;
    update();
}

void CheckCell::setGreyed(bool greyed)
{
    if (greyed == m_greyed)
        return;
    m_greyed = greyed;
    update();
}

QSize CheckCell::sizeHint() const
{
    const int side = fontMetrics().height() + 6;
    return QSize(side, side);
}

void CheckCell::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paint(painter, rect().adjusted(0, 0, -1, -1), fontMetrics().height(), m_set, m_changed, m_greyed);
}

void CheckCell::paint(QPainter& painter, const QRect& rect, int fontHeight, bool set, bool changed, bool greyed)
{
    const QColor mark = changed ? QColor(Qt::red) : QColor(Qt::black);
    painter.save();
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.setBrush(greyed ? QColor(0xC0, 0xC0, 0xC0) : QColor(Qt::white));
    painter.drawRect(rect);
    if (!greyed) {
        const int side = qMax(8, fontHeight - 4);
        const QRect box(rect.center().x() - side / 2, rect.center().y() - side / 2, side, side);
        painter.setPen(mark);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box);
        if (set) {
            QPainterPath tick;
            tick.moveTo(box.left() + side * 0.2, box.top() + side * 0.5);
            tick.lineTo(box.left() + side * 0.42, box.top() + side * 0.75);
            tick.lineTo(box.left() + side * 0.8, box.top() + side * 0.25);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(QPen(mark, 2));
            painter.drawPath(tick);
        }
    }
    painter.restore();
}
