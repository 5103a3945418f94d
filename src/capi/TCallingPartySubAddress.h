#pragma once

#include "capi/TStruct.h"

#include <QString>

// A parameter with one leading octet and a string: every subaddress, and the called party number
// (type-of-number octet, then the digits).
class TCallingPartySubAddress : public TStruct
{
public:
    TCallingPartySubAddress(quint8 firstOctet, const QByteArray& text);
    // Reads a parsed struct: content shorter than two bytes gives an empty text.
    explicit TCallingPartySubAddress(TStruct parsed);

    quint8 firstOctet() const { return m_firstOctet; }
    QString text() const { return m_text; }

private:
    quint8 m_firstOctet = 0;
    QString m_text;
};
