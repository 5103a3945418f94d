#include "CaptionBar.h"

#include "PageIcons.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QToolButton>

namespace {

QToolButton* captionButton(const QString& text, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setFixedSize(20, 18);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

CaptionBar::CaptionBar(const QString& title, QWidget* parent)
    : QWidget(parent), m_title(new QLabel(title, this)), m_contextHelp(captionButton(QStringLiteral("?"), this)),
      m_minimise(captionButton(QStringLiteral("_"), this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 3, 2);
    layout->setSpacing(4);
    auto* icon = new QLabel(this);
    icon->setPixmap(PageIcons::small().pixmap(16, 16));
    layout->addWidget(icon);
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    QPalette colours = m_title->palette();
    colours.setColor(QPalette::WindowText, Qt::white);
    m_title->setPalette(colours);
    layout->addWidget(m_title, 1);
    layout->addWidget(m_contextHelp);
    layout->addWidget(m_minimise);
    m_contextHelp->setToolTip(QStringLiteral("Direkthilfe"));
    m_contextHelp->setWhatsThis(QStringLiteral("Direkthilfe: danach ein Bedienelement anklicken."));
    m_minimise->setToolTip(QStringLiteral("Minimieren"));
    m_minimise->setWhatsThis(QStringLiteral("Legt WinKavex in den Infobereich der Taskleiste."));
}

void CaptionBar::setTitle(const QString& title)
{
    m_title->setText(title);
}

QString CaptionBar::title() const
{
    return m_title->text();
}

void CaptionBar::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    QLinearGradient gradient(rect().topLeft(), rect().topRight());
    gradient.setColorAt(0, QColor(0, 0, 128));
    gradient.setColorAt(1, QColor(16, 132, 208));
    painter.fillRect(rect(), gradient);
}
