#include "NavigationBar.h"

#include "NavigationTable.h"
#include "PageIcons.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QScrollArea>
#include <QToolBox>
#include <QToolButton>
#include <QVBoxLayout>

NavigationBar::NavigationBar(QWidget* parent) : QWidget(parent), m_toolBox(new QToolBox(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_toolBox);
    auto* exclusive = new QButtonGroup(this);

    const QStringList captions = NavigationTable::groupCaptions();
    m_buttons.resize(captions.size());
    QList<QVBoxLayout*> groupLayouts;
    for (const QString& caption : captions) {
        auto* content = new QWidget;
        content->setBackgroundRole(QPalette::Mid);
        content->setAutoFillBackground(true);
        auto* groupLayout = new QVBoxLayout(content);
        groupLayout->setContentsMargins(2, 6, 2, 6);
        groupLayout->setSpacing(4);
        groupLayouts.append(groupLayout);
        m_toolBox->addItem(content, caption);
    }
    for (const NavigationEntry& e : NavigationTable::entries()) {
        auto* button = new QToolButton;
        button->setText(e.caption);
        button->setIcon(PageIcons::forHeading(e.heading));
        button->setIconSize(QSize(32, 32));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setAutoRaise(true);
        button->setCheckable(true);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        button->setWhatsThis(QStringLiteral("Zeigt die Seite „%1“.").arg(e.heading));
        button->setFocusPolicy(Qt::StrongFocus);
        button->installEventFilter(this);
        exclusive->addButton(button);
        groupLayouts[e.group]->addWidget(button);
        m_buttons[e.group].append(button);
        const int group = e.group;
        const int entry = e.entry;
        connect(button, &QToolButton::clicked, this, [this, group, entry] { Q_EMIT entryChosen(group, entry); });
    }
    for (QVBoxLayout* groupLayout : groupLayouts)
        groupLayout->addStretch(1);
    // The tool box wraps each group in a scroll area: a screen reader names it after the group.
    for (QScrollArea* area : m_toolBox->findChildren<QScrollArea*>()) {
        const int group = m_toolBox->indexOf(area->widget());
        if (group >= 0)
            area->setAccessibleName(m_toolBox->itemText(group));
    }
    connect(m_toolBox, &QToolBox::currentChanged, this, &NavigationBar::onGroupChanged);
    setWhatsThis(QStringLiteral("Navigationsleiste: Gruppen öffnen und Seiten wählen."));
}

void NavigationBar::setCurrent(int group, int entry)
{
    m_syncing = true;
    m_toolBox->setCurrentIndex(group);
    if (QToolButton* button = entryButton(group, entry))
        button->setChecked(true);
    m_syncing = false;
}

int NavigationBar::openGroup() const
{
    return m_toolBox->currentIndex();
}

QToolButton* NavigationBar::entryButton(int group, int entry) const
{
    if (group < 0 || group >= m_buttons.size() || entry < 0 || entry >= m_buttons[group].size())
        return nullptr;
    return m_buttons[group][entry];
}

int NavigationBar::groupCount() const
{
    return m_toolBox->count();
}

void NavigationBar::onGroupChanged(int group)
{
    if (!m_syncing)
        Q_EMIT groupOpened(group);
}

// The keyboard alone: Tab reaches a group's entries, the arrows move between them, Enter chooses.
bool NavigationBar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    for (int group = 0; group < m_buttons.size(); ++group) {
        const qsizetype entry = m_buttons[group].indexOf(static_cast<QToolButton*>(watched));
        if (entry < 0)
            continue;
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            m_buttons[group][entry]->click();
            return true;
        }
        const qsizetype next = key == Qt::Key_Down ? entry + 1 : key == Qt::Key_Up ? entry - 1 : -1;
        if ((key == Qt::Key_Down || key == Qt::Key_Up) && next >= 0 && next < m_buttons[group].size()) {
            m_buttons[group][next]->setFocus(Qt::TabFocusReason);
            return true;
        }
        return key == Qt::Key_Down || key == Qt::Key_Up; // the ends: the focus stays
    }
    return QWidget::eventFilter(watched, event);
}
