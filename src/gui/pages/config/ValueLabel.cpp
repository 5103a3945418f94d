#include "ValueLabel.h"

ValueLabel::ValueLabel(QWidget* parent) : QLabel(parent) {}

void ValueLabel::setValue(const QString& text, bool red)
{
    setText(text);
    if (red == m_red)
        return;
    m_red = red;
    if (red) {
        QPalette p = palette();
        p.setColor(QPalette::WindowText, Qt::red);
        setPalette(p);
    } else {
        setPalette(QPalette()); // back to the inherited colours
    }
}
