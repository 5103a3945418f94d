#include "ChargeHistogramPage.h"

#include "charges/ChargeUpdate.h"
#include "shell/AppCore.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QVBoxLayout>

namespace {

QImage draw(const Histogram::Layout& h, const QFont& font)
{
    using namespace Histogram;
    QImage image(ImageSize, QImage::Format_RGB32);
    image.fill(QColor(192, 192, 192));
    QPainter p(&image);
    p.setFont(font);
    const int half = p.fontMetrics().height() / 2;
    for (const Tick& t : h.ticks) {
        p.setPen(QColor(160, 160, 160));
        p.drawLine(AxisX, t.y, AxisRight, t.y);
        p.setPen(Qt::black);
        p.drawLine(AxisX - 3, t.y, AxisX, t.y);
        p.drawText(QRect(0, t.y - half, AxisX - 4, 2 * half), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(t.value));
    }
    for (const QRect& bar : h.bars)
        p.fillRect(bar, Qt::red);
    // The axes last: neither the grid nor a bar's foot may cover them.
    p.setPen(Qt::black);
    p.drawLine(AxisX, AxisTop, AxisX, AxisY);
    p.drawLine(AxisX, AxisY, AxisRight, AxisY);
    for (const YearLabel& y : h.years) {
        p.drawLine(y.tickX, AxisY, y.tickX, AxisY + 5);
        p.drawText(QRect(y.centreX - 40, YearRowY, 80, 2 * half), Qt::AlignHCenter | Qt::AlignTop,
                   QString::number(y.year));
    }
    // Eight pixels a bar: the initial alone fits, in a smaller face.
    QFont small = font;
    small.setPointSize(font.pointSize() - 2);
    p.setFont(small);
    for (const MonthLabel& m : h.months)
        p.drawText(QRect(m.centreX - 6, MonthRowY, 12, YearRowY - MonthRowY), Qt::AlignHCenter | Qt::AlignTop,
                   m.initial);
    return image;
}

} // namespace

ChargeHistogramPage::ChargeHistogramPage(AppCore& core, QWidget* parent) : Page(core, parent), m_view(new QLabel(this))
{
    m_view->setObjectName(QStringLiteral("BalkenDiagramm"));
    m_view->setWhatsThis(QStringLiteral("Die Gebühreneinheiten aller Nebenstellen je Monat der Gebührendatei; unter "
                                        "jedem Balken steht der Anfangsbuchstabe des Monats, unter dem Januar das "
                                        "Jahr. Der Mauszeiger über einem Balken nennt Monat und Einheiten."));
    m_view->setMouseTracking(true);
    m_view->setAccessibleName(QStringLiteral("Säulendiagramm"));
    m_view->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addStretch(1);
    connect(&core, &AppCore::chargesDecoded, this, &ChargeHistogramPage::refresh);
    refresh();
}

void ChargeHistogramPage::refresh()
{
    QFont font = this->font();
    font.setPointSize(8);
    m_layout = Histogram::layout(core().chargeUpdate().periods());
    m_image = draw(m_layout, font);
    QStringList figures;
    for (const Histogram::BarHint& hint : m_layout.hints)
        figures << hint.text;
    m_view->setAccessibleDescription(figures.join(QStringLiteral("; ")));
    m_view->setPixmap(QPixmap::fromImage(m_image));
}

bool ChargeHistogramPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_view && event->type() == QEvent::MouseMove) {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        const int hint = Histogram::hintAt(m_layout, at);
        if (hint >= 0)
            QToolTip::showText(m_view->mapToGlobal(at + QPoint(0, 20)), m_layout.hints[hint].text, m_view);
        else
            QToolTip::hideText();
    }
    return Page::eventFilter(watched, event);
}
