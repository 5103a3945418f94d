#include "LampAnimation.h"

#include "image/Extensions.h"

#include <QPainter>

LampAnimation::LampAnimation(QWidget* parent) : QWidget(parent)
{
    m_timer.setInterval(250);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_step = (m_step + 1) % 16;
        update();
    });
}

void LampAnimation::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box(10, 10, width() - 20, height() - 20);
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(QColor(31, 78, 156));
    p.drawRoundedRect(box, 6, 6);
    p.setBrush(QColor(244, 244, 244));
    p.drawRect(QRectF(box.left() + 12, box.top() + 10, box.width() - 24, 22));
    p.setPen(Qt::black);
    p.drawText(QRectF(box.left() + 12, box.top() + 10, box.width() - 24, 22), Qt::AlignCenter,
               QStringLiteral("Kavex K3/K8"));
    const qreal spacing = (box.width() - 24) / 8.0;
    for (int i = 0; i < 8; ++i) {
        // A lamp runs up and back down the row of extensions.
        const int lit = m_step < 8 ? m_step : 15 - m_step;
        p.setBrush(i == lit ? QColor(255, 214, 0) : QColor(110, 90, 20));
        p.setPen(QPen(Qt::black, 1));
        const QPointF centre(box.left() + 12 + spacing * (i + 0.5), box.top() + 50);
        p.drawEllipse(centre, 5, 5);
        p.setPen(Qt::white);
        p.drawText(QRectF(centre.x() - 12, centre.y() + 7, 24, 14), Qt::AlignCenter, Extensions::numberText(i));
    }
}
