#include "TimeField.h"

TimeField::TimeField(const QString& objectName, QWidget* parent) : QLineEdit(parent)
{
    setObjectName(objectName);
    setInputMask(QStringLiteral("99:99;_"));
    setAlignment(Qt::AlignCenter);
    setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("00:00")) + 24);
    connect(this, &QLineEdit::textEdited, this, [this] { Q_EMIT digitsEdited(digits()); });
}

void TimeField::setDigits(const QString& hhmm)
{
    setText(hhmm.left(2) + QLatin1Char(':') + hhmm.mid(2, 2));
}

QString TimeField::digits() const
{
    QString text = QLineEdit::text();
    text.remove(QLatin1Char(':'));
    text.remove(QLatin1Char('_'));
    return text.trimmed();
}
