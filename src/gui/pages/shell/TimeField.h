#pragma once

#include <QLineEdit>

// A time of day typed as hours ":" minutes; the core works with the four digits "HHmm".
class TimeField : public QLineEdit
{
    Q_OBJECT
public:
    explicit TimeField(const QString& objectName, QWidget* parent = nullptr);

    void setDigits(const QString& hhmm);
    QString digits() const;

Q_SIGNALS:
    // The user changed the time (not setDigits).
    void digitsEdited(const QString& hhmm);
};
