#pragma once

#include <QAccessibleWidget>
#include <QHash>

class LampMatrixWidget;

// The diagnosis matrix for a screen reader: a table whose cells are the lamps, each named by its
// extension and column and reporting whether it is on.
class LampMatrixAccessible : public QAccessibleWidget
{
public:
    explicit LampMatrixAccessible(LampMatrixWidget* widget);
    ~LampMatrixAccessible() override;

    // Makes Qt use this interface for every LampMatrixWidget.
    static void install();

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QString text(QAccessible::Text t) const override;

    // Tells the screen reader that a lamp changed.
    static void lampChanged(LampMatrixWidget* widget, int row, int column);

private:
    LampMatrixWidget* matrix() const;

    mutable QHash<int, QAccessible::Id> m_lamps; // index -> registered lamp interface
};
