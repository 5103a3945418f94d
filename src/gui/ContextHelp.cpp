#include "ContextHelp.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLayout>
#include <QWidget>

namespace {

QString plain(QString text)
{
    text.remove(QLatin1Char('&'));
    text = text.simplified();
    if (text.endsWith(QLatin1Char(':')))
        text.chop(1);
    return text;
}

QString buddyLabel(const QWidget& control)
{
    const QWidget* parent = control.parentWidget();
    if (!parent)
        return {};
    for (const QLabel* label : parent->findChildren<QLabel*>()) {
        if (label->buddy() == &control)
            return plain(label->text());
    }
    return {};
}

// The layout that holds `control` directly, searched from `layout` down.
const QLayout* holdingLayout(const QLayout* layout, const QWidget& control, int* index)
{
    for (int i = 0; layout && i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == &control) {
            *index = i;
            return layout;
        }
        if (const QLayout* found = holdingLayout(item->layout(), control, index))
            return found;
    }
    return nullptr;
}

// A label just before the control in its row ("Schnittstelle [COM 1]"); a label above it is a
// caption of the whole group, not its name.
QString labelBefore(const QWidget& control)
{
    const QWidget* parent = control.parentWidget();
    int index = -1;
    const auto* layout =
        qobject_cast<const QBoxLayout*>(parent ? holdingLayout(parent->layout(), control, &index) : nullptr);
    if (!layout || index < 1 || layout->direction() != QBoxLayout::LeftToRight)
        return {};
    const auto* label = qobject_cast<const QLabel*>(layout->itemAt(index - 1)->widget());
    return label && !label->text().contains(QLatin1Char('<')) ? plain(label->text()) : QString();
}

} // namespace

QString ContextHelp::controlName(const QWidget& control)
{
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control); button && !button->text().isEmpty())
        return plain(button->text());
    if (const auto* group = qobject_cast<const QGroupBox*>(&control); group && !group->title().isEmpty())
        return plain(group->title());
    QString name = buddyLabel(control);
    if (name.isEmpty())
        name = labelBefore(control);
    if (name.isEmpty())
        name = plain(control.accessibleName());
    return name;
}

QList<ContextHelpEntry> ContextHelp::collect(const QWidget& root, const QWidget& top)
{
    QList<ContextHelpEntry> entries;
    QHash<QString, qsizetype> positions;
    QList<const QWidget*> controls{&root};
    for (const QWidget* child : root.findChildren<QWidget*>())
        controls << child;
    for (const QWidget* control : controls) {
        const QString text = control->whatsThis().simplified();
        if (text.isEmpty() || !control->isVisibleTo(&top))
            continue;
        if (const auto found = positions.constFind(text); found != positions.cend()) {
            // One name would stand for the whole row ("21" for 21 to 28).
            entries[*found].control.clear();
            continue;
        }
        positions.insert(text, entries.size());
        entries << ContextHelpEntry{controlName(*control), text};
    }
    return entries;
}
