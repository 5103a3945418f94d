#pragma once

#include "capi/TStruct.h"

#include <QString>

// A party number: type-of-number octet, presentation/screening octet, then the digits (IA5).
class TCallingPartyNumber : public TStruct
{
public:
    TCallingPartyNumber(quint8 typeOfNumber, quint8 presentation, const QByteArray& digits);
    // Reads a parsed struct: content shorter than three bytes gives no digits, and octets the
    // content lacks read as 0.
    explicit TCallingPartyNumber(TStruct parsed);

    quint8 typeOfNumber() const { return m_typeOfNumber; }
    quint8 presentation() const { return m_presentation; }
    QString number() const { return m_number; }

private:
    quint8 m_typeOfNumber = 0;
    quint8 m_presentation = 0;
    QString m_number;
};
