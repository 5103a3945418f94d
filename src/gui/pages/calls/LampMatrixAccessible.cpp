#include "LampMatrixAccessible.h"

#include "LampMatrixWidget.h"
#include "diagnosis/LampMatrix.h"

#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace {

constexpr int LampCount = LampMatrix::Rows * LampMatrix::Columns;

// One lamp: a read-only cell, checked while it is on.
class LampAccessible : public QAccessibleInterface
{
public:
    LampAccessible(LampMatrixWidget* widget, int index) : m_widget(widget), m_index(index) {}

    bool isValid() const override { return !m_widget.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_widget ? m_widget->window()->windowHandle() : nullptr; }
    QVector<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(QAccessible::Relation) const override
    {
        return {};
    }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_widget.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    void setText(QAccessible::Text, const QString&) override {}
    QAccessible::Role role() const override { return QAccessible::Cell; }

    QString text(QAccessible::Text t) const override
    {
        if (!m_widget)
            return {};
        if (t == QAccessible::Name)
            return m_widget->lampName(row(), column());
        if (t == QAccessible::Value)
            return on() ? QStringLiteral("an") : QStringLiteral("aus");
        return {};
    }

    QRect rect() const override
    {
        if (!m_widget)
            return {};
        const int half = LampMatrixWidget::LampDiameter / 2 + 1;
        const QPoint at = m_widget->mapToGlobal(m_widget->crossing(row(), column()));
        return QRect(at - QPoint(half, half), at + QPoint(half, half));
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.readOnly = true;
        state.checkable = true;
        state.checked = on();
        state.invisible = !m_widget || !m_widget->isVisible();
        return state;
    }

private:
    int row() const { return m_index / LampMatrix::Columns; }
    int column() const { return m_index % LampMatrix::Columns; }
    bool on() const { return m_widget && m_widget->lamps().lamp(row(), column()); }

    QPointer<LampMatrixWidget> m_widget;
    int m_index;
};

QAccessibleInterface* factory(const QString& className, QObject* object)
{
    if (className == QLatin1String("LampMatrixWidget") && object && object->isWidgetType())
        return new LampMatrixAccessible(static_cast<LampMatrixWidget*>(object));
    return nullptr;
}

} // namespace

LampMatrixAccessible::LampMatrixAccessible(LampMatrixWidget* widget) : QAccessibleWidget(widget, QAccessible::Table) {}

LampMatrixAccessible::~LampMatrixAccessible()
{
    for (const QAccessible::Id id : std::as_const(m_lamps))
        QAccessible::deleteAccessibleInterface(id);
}

void LampMatrixAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}

LampMatrixWidget* LampMatrixAccessible::matrix() const
{
    return static_cast<LampMatrixWidget*>(widget());
}

int LampMatrixAccessible::childCount() const
{
    return LampCount;
}

QAccessibleInterface* LampMatrixAccessible::child(int index) const
{
    if (index < 0 || index >= LampCount)
        return nullptr;
    auto found = m_lamps.constFind(index);
    if (found == m_lamps.constEnd())
        found = m_lamps.insert(index, QAccessible::registerAccessibleInterface(new LampAccessible(matrix(), index)));
    return QAccessible::accessibleInterface(*found);
}

int LampMatrixAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    for (auto it = m_lamps.constBegin(); it != m_lamps.constEnd(); ++it) {
        if (QAccessible::accessibleInterface(it.value()) == child)
            return it.key();
    }
    return -1;
}

QAccessibleInterface* LampMatrixAccessible::childAt(int x, int y) const
{
    for (int index = 0; index < LampCount; ++index) {
        QAccessibleInterface* lamp = child(index);
        if (lamp && lamp->rect().contains(x, y))
            return lamp;
    }
    return nullptr;
}

QString LampMatrixAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name)
        return QStringLiteral("Diagnosematrix");
    return QAccessibleWidget::text(t);
}

void LampMatrixAccessible::lampChanged(LampMatrixWidget* widget, int row, int column)
{
    if (!QAccessible::isActive())
        return;
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(widget, changed);
    event.setChild(row * LampMatrix::Columns + column);
    QAccessible::updateAccessibility(&event);
}
