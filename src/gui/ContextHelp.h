#pragma once

#include <QList>
#include <QString>

class QWidget;

// One control's context help, as the help pages list it.
struct ContextHelpEntry
{
    QString control; // the control's own caption or the label beside it; may be empty
    QString text;    // its "What's this?" text

    bool operator==(const ContextHelpEntry&) const = default;
};

namespace ContextHelp {
// The context help of every control below `root` that is visible within `top`, in the order the
// controls were made; a text shared by several controls (a row of check boxes) is listed once.
QList<ContextHelpEntry> collect(const QWidget& root, const QWidget& top);
// What the user reads on or beside the control.
QString controlName(const QWidget& control);
} // namespace ContextHelp
