#pragma once

#include <QLabel>

// A label for a decoded value: black as decoded, red once the value was changed on a page and until
// the next decode.
class ValueLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ValueLabel(QWidget* parent = nullptr);

    void setValue(const QString& text, bool red = false);
    bool isRed() const { return m_red; }

private:
    bool m_red = false;
};
