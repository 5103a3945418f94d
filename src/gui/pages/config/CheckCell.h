#pragma once

#include <QWidget>

// One read-only check mark cell of an overview: set or clear, red when changed since the last
// decode, greyed for an extension the exchange does not have.
class CheckCell : public QWidget
{
    Q_OBJECT
public:
    explicit CheckCell(QWidget* parent = nullptr);

    void setState(bool set, bool changed = false);
    void setGreyed(bool greyed);
    bool isSet() const { return m_set; }
    bool isChanged() const { return m_changed; }
    bool isGreyed() const { return m_greyed; }

    QSize sizeHint() const override;

    // Draws a cell into `rect`; the box side follows the font height.
    static void paint(QPainter& painter, const QRect& rect, int fontHeight, bool set, bool changed, bool greyed);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_set = false;
    bool m_changed = false;
    bool m_greyed = false;
};
