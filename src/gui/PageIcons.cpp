#include "PageIcons.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace {

constexpr int Size = 32;

void drawExchange(QPainter& p)
{
    p.setBrush(QColor(31, 78, 156));
    p.drawRoundedRect(4, 6, 24, 18, 2, 2);
    p.setBrush(QColor(244, 244, 244));
    p.drawRect(7, 9, 18, 4);
    p.setBrush(QColor(242, 194, 0));
    for (int i = 0; i < 5; ++i)
        p.drawEllipse(QPointF(8.5 + i * 3.8, 18.5), 1.4, 1.4);
    p.drawLine(8, 24, 8, 27);
    p.drawLine(24, 24, 24, 27);
}

void drawGrid(QPainter& p, bool diagonal)
{
    p.setBrush(Qt::white);
    p.drawRect(5, 5, 22, 22);
    for (int i = 1; i < 4; ++i) {
        p.drawLine(5 + i * 5.5, 5, 5 + i * 5.5, 27);
        p.drawLine(5, 5 + i * 5.5, 27, 5 + i * 5.5);
    }
    p.setBrush(QColor(200, 30, 30));
    const QList<QPoint> ticks = diagonal ? QList<QPoint>{{0, 0}, {1, 1}, {2, 2}, {3, 3}}
                                         : QList<QPoint>{{0, 1}, {1, 0}, {2, 3}, {3, 2}, {1, 2}};
    for (const QPoint& t : ticks)
        p.drawRect(QRectF(6.3 + t.x() * 5.5, 6.3 + t.y() * 5.5, 3, 3));
}

void drawKey(QPainter& p)
{
    p.setBrush(QColor(220, 170, 20));
    p.drawEllipse(QPointF(11, 16), 6, 6);
    p.drawRect(16, 14, 12, 4);
    p.drawRect(23, 18, 2, 4);
    p.drawRect(26, 18, 2, 3);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(10, 16), 2, 2);
}

void drawBell(QPainter& p)
{
    QPainterPath bell;
    bell.moveTo(8, 23);
    bell.cubicTo(10, 20, 9, 8, 16, 7);
    bell.cubicTo(23, 8, 22, 20, 24, 23);
    bell.closeSubpath();
    p.setBrush(QColor(242, 194, 0));
    p.drawPath(bell);
    p.drawEllipse(QPointF(16, 25), 2.2, 2.2);
    p.drawLine(5, 10, 7, 12);
    p.drawLine(27, 10, 25, 12);
}

void drawCoins(QPainter& p)
{
    p.setBrush(QColor(230, 180, 40));
    for (int i = 0; i < 3; ++i)
        p.drawEllipse(QRectF(6, 18 - i * 5, 20, 8));
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 7, QFont::Bold));
    p.drawText(QRectF(6, 8, 20, 8), Qt::AlignCenter, QStringLiteral("€"));
}

void drawPie(QPainter& p)
{
    const QRectF r(5, 5, 22, 22);
    const QList<QColor> colours = {QColor(31, 78, 156), QColor(200, 30, 30), QColor(242, 194, 0), QColor(40, 150, 60)};
    const int spans[] = {140, 90, 70, 60};
    int start = 90;
    for (int i = 0; i < 4; ++i) {
        p.setBrush(colours[i]);
        p.drawPie(r, start * 16, spans[i] * 16);
        start += spans[i];
    }
}

void drawBars(QPainter& p)
{
    const int heights[] = {8, 14, 11, 19, 16};
    p.setBrush(QColor(31, 78, 156));
    for (int i = 0; i < 5; ++i)
        p.drawRect(5 + i * 4.6, 27 - heights[i], 3.4, heights[i]);
    p.drawLine(4, 27, 28, 27);
}

void drawList(QPainter& p)
{
    p.setBrush(Qt::white);
    p.drawRect(6, 4, 20, 24);
    for (int i = 0; i < 5; ++i) {
        p.setBrush(QColor(31, 78, 156));
        p.drawRect(QRectF(8.5, 7.5 + i * 4, 2, 2));
        p.drawLine(QPointF(12.5, 8.5 + i * 4), QPointF(23.5, 8.5 + i * 4));
    }
}

void drawLamps(QPainter& p)
{
    p.setBrush(QColor(60, 60, 60));
    p.drawRect(4, 6, 24, 20);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c) {
            p.setBrush((r + c) % 3 == 0 ? QColor(90, 230, 90) : QColor(40, 90, 40));
            p.drawEllipse(QPointF(8 + c * 5.3, 11 + r * 5.3), 1.8, 1.8);
        }
    }
}

void drawHandset(QPainter& p, int arrow)
{
    QPainterPath handset;
    handset.moveTo(5, 14);
    handset.cubicTo(5, 8, 21, 8, 21, 14);
    handset.lineTo(17, 17);
    handset.lineTo(16, 14);
    handset.cubicTo(14, 13, 12, 13, 10, 14);
    handset.lineTo(9, 17);
    handset.closeSubpath();
    p.setBrush(QColor(40, 40, 40));
    p.drawPath(handset.translated(0, 8));
    p.setPen(QPen(arrow > 0 ? QColor(40, 150, 60) : QColor(200, 30, 30), 2.5));
    const QPointF tail = arrow > 0 ? QPointF(18, 14) : QPointF(28, 4);
    const QPointF head = arrow > 0 ? QPointF(28, 4) : QPointF(18, 14);
    p.drawLine(tail, head);
    const QPointF back = arrow > 0 ? QPointF(-5, 0) : QPointF(5, 0);
    const QPointF down = arrow > 0 ? QPointF(0, 5) : QPointF(0, -5);
    p.drawLine(head, head + back);
    p.drawLine(head, head + down);
}

// The handset under a red "no entry" sign.
void drawBlocked(QPainter& p)
{
    QPainterPath handset;
    handset.moveTo(3, 22);
    handset.cubicTo(3, 16, 19, 16, 19, 22);
    handset.lineTo(15, 25);
    handset.lineTo(14, 22);
    handset.cubicTo(12, 21, 10, 21, 8, 22);
    handset.lineTo(7, 25);
    handset.closeSubpath();
    p.setBrush(QColor(40, 40, 40));
    p.drawPath(handset);
    p.setPen(QPen(QColor(200, 30, 30), 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(22, 10), 7, 7);
    p.drawLine(QPointF(17, 15), QPointF(27, 5));
}

// A broker in the middle, three machines around it.
void drawNetwork(QPainter& p)
{
    p.setPen(QPen(QColor(40, 40, 40), 1.5));
    for (const QPointF& end : {QPointF(6, 7), QPointF(26, 7), QPointF(16, 28)})
        p.drawLine(QPointF(16, 16), end);
    p.setBrush(QColor(40, 150, 60));
    p.drawEllipse(QPointF(16, 16), 5, 5);
    p.setBrush(QColor(31, 78, 156));
    for (const QPointF& end : {QPointF(6, 7), QPointF(26, 7), QPointF(16, 28)})
        p.drawRect(QRectF(end.x() - 3.5, end.y() - 3, 7, 6));
}

void drawDeskPhone(QPainter& p)
{
    QPainterPath body;
    body.moveTo(6, 27);
    body.lineTo(9, 15);
    body.lineTo(23, 15);
    body.lineTo(26, 27);
    body.closeSubpath();
    p.setBrush(QColor(200, 30, 30));
    p.drawPath(body);
    p.setBrush(QColor(40, 40, 40));
    p.drawRoundedRect(QRectF(4, 7, 24, 6), 3, 3);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 21), 3.5, 3.5);
}

void drawClock(QPainter& p, bool bells)
{
    if (bells) {
        p.setBrush(QColor(242, 194, 0));
        p.drawEllipse(QPointF(8, 7), 4, 4);
        p.drawEllipse(QPointF(24, 7), 4, 4);
    }
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 17), 11, 11);
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(QPointF(16, 17), QPointF(16, 9));
    p.drawLine(QPointF(16, 17), QPointF(21, 20));
}

void drawWrench(QPainter& p)
{
    p.save();
    p.translate(16, 16);
    p.rotate(45);
    p.setBrush(QColor(130, 130, 140));
    p.drawRect(QRectF(-2.5, -4, 5, 16));
    p.drawEllipse(QPointF(0, -7), 6, 6);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(-2, -14, 4, 7));
    p.restore();
}

void drawLock(QPainter& p)
{
    p.setPen(QPen(QColor(90, 90, 90), 3));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(10, 5, 12, 14), 0, 180 * 16);
    p.drawLine(10, 12, 10, 15);
    p.drawLine(22, 12, 22, 15);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(220, 170, 20));
    p.drawRect(7, 15, 18, 13);
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(16, 20.5), 1.8, 1.8);
}

void drawGear(QPainter& p)
{
    p.save();
    p.translate(16, 16);
    p.setBrush(QColor(130, 130, 140));
    for (int i = 0; i < 8; ++i) {
        p.drawRect(QRectF(-2.5, -13, 5, 6));
        p.rotate(45);
    }
    p.drawEllipse(QPointF(0, 0), 9, 9);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(0, 0), 3.5, 3.5);
    p.restore();
}

void drawInfo(QPainter& p)
{
    p.setBrush(QColor(31, 78, 156));
    p.drawEllipse(QPointF(16, 16), 12, 12);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 9.5), 2, 2);
    p.drawRect(QRectF(14.2, 13, 3.6, 11));
}

QIcon painted(const std::function<void(QPainter&)>& draw)
{
    QPixmap pixmap(Size, Size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    draw(painter);
    painter.end();
    return QIcon(pixmap);
}

} // namespace

QIcon PageIcons::small(bool alarm)
{
    return QIcon(alarm ? QStringLiteral(":/icons/SMALL-ALARM") : QStringLiteral(":/icons/SMALL"));
}

QIcon PageIcons::forHeading(const QString& heading)
{
    static const QHash<QString, std::function<void(QPainter&)>> drawings = {
        {QStringLiteral("Grundkonfiguration"), drawExchange},
        {QStringLiteral("Zuordnung"), [](QPainter& p) { drawGrid(p, false); }},
        {QStringLiteral("Berechtigungen"), drawKey},
        {QStringLiteral("Anklopfen"), drawBell},
        {QStringLiteral("Gebührenübersicht"), drawCoins},
        {QStringLiteral("Gebührenaufteilung"), drawPie},
        {QStringLiteral("Gebührenhistogramm"), drawBars},
        {QStringLiteral("Kurzwahlen"), drawList},
        {QStringLiteral("Diagnosemodus"), drawLamps},
        {QStringLiteral("Abgehende Gespräche"), [](QPainter& p) { drawHandset(p, 1); }},
        {QStringLiteral("Ankommende Gespräche"), [](QPainter& p) { drawHandset(p, -1); }},
        {QStringLiteral("Sperrliste"), drawBlocked},
        {QStringLiteral("Weckzeiten"), [](QPainter& p) { drawClock(p, true); }},
        {QStringLiteral("Grundparametrierung"), drawWrench},
        {QStringLiteral("Nebenstellenparametrierung"), drawDeskPhone},
        {QStringLiteral("Zeitsteuerung"), [](QPainter& p) { drawClock(p, false); }},
        {QStringLiteral("Parametrierungspaßwort"), drawLock},
        {QStringLiteral("Programmparameter"), drawGear},
        {QStringLiteral("MQTT"), drawNetwork},
        {QStringLiteral("Info"), drawInfo},
    };
    static QHash<QString, QIcon> cache;
    if (!cache.contains(heading)) {
        const auto drawing = drawings.value(heading);
        cache.insert(heading, drawing ? painted(drawing) : QIcon());
    }
    return cache.value(heading);
}
