#include "StatusBar.h"

#include "shell/StatusLine.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QStackedLayout>

namespace {

QFrame* sunkenPanel(QWidget* parent)
{
    auto* panel = new QFrame(parent);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return panel;
}

} // namespace

StatusLinePanel::StatusLinePanel(const StatusLine& line, QWidget* parent) : QFrame(parent), m_line(line)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setMinimumHeight(fontMetrics().height() + 6);
    connect(&line, &StatusLine::changed, this, [this] { repaint(); });
}

QColor StatusLinePanel::textColour() const
{
    switch (m_line.colourLevel()) {
    case 1:
        return Qt::blue;
    case 2:
        return Qt::red;
    default:
        return Qt::black;
    }
}

void StatusLinePanel::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setPen(textColour());
    // 5 units right of the panel's edge, at its top (inside the sunken border).
    const QRect area = contentsRect().adjusted(5, 1, -2, 0);
    painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, m_line.text());
}

StatusBar::StatusBar(const StatusLine& line, QWidget* parent)
    : QWidget(parent), m_linePanel(new StatusLinePanel(line, this)), m_progress(new QProgressBar), m_clock(new QLabel)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_linePanel, 1);

    QFrame* progressPanel = sunkenPanel(this);
    progressPanel->setFixedWidth(160);
    auto* progressLayout = new QStackedLayout(progressPanel);
    progressLayout->setContentsMargins(2, 2, 2, 2);
    m_progress->setTextVisible(false);
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    progressLayout->addWidget(m_progress);
    layout->addWidget(progressPanel);

    QFrame* clockPanel = sunkenPanel(this);
    auto* clockLayout = new QHBoxLayout(clockPanel);
    clockLayout->setContentsMargins(4, 0, 4, 0);
    m_clock->setAlignment(Qt::AlignCenter);
    m_clock->setMinimumWidth(m_clock->fontMetrics().horizontalAdvance(QStringLiteral("00:00:00")) + 8);
    clockLayout->addWidget(m_clock);
    layout->addWidget(clockPanel);

    m_linePanel->setWhatsThis(QStringLiteral("Statuszeile: Fortschritt in Blau, Fehler in Rot."));
    progressPanel->setWhatsThis(QStringLiteral("Fortschritt der laufenden Übertragung."));
    clockPanel->setWhatsThis(QStringLiteral("Uhrzeit dieses Rechners."));
}

void StatusBar::setProgress(int value, int maximum)
{
    m_progress->setRange(0, qMax(1, maximum));
    m_progress->setValue(qBound(0, value, qMax(1, maximum)));
}

void StatusBar::showClock(const QDateTime& now)
{
    m_clock->setText(now.toString(QStringLiteral("HH:mm:ss")));
}
