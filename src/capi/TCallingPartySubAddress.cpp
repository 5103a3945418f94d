#include "capi/TCallingPartySubAddress.h"

TCallingPartySubAddress::TCallingPartySubAddress(quint8 firstOctet, const QByteArray& text)
    : TStruct(static_cast<int>(text.size()) + 1), m_firstOctet(firstOctet), m_text(QString::fromLatin1(text))
{
    writeByte(firstOctet);
    writeBytes(text);
}

TCallingPartySubAddress::TCallingPartySubAddress(TStruct parsed) : TStruct(std::move(parsed))
{
    m_firstOctet = readByte();
    m_text = QString::fromLatin1(readRest());
}
