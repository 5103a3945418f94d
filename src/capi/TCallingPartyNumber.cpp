#include "capi/TCallingPartyNumber.h"

TCallingPartyNumber::TCallingPartyNumber(quint8 typeOfNumber, quint8 presentation, const QByteArray& digits)
    : TStruct(static_cast<int>(digits.size()) + 2), m_typeOfNumber(typeOfNumber), m_presentation(presentation),
      m_number(QString::fromLatin1(digits))
{
    writeByte(typeOfNumber);
    writeByte(presentation);
    writeBytes(digits);
}

TCallingPartyNumber::TCallingPartyNumber(TStruct parsed) : TStruct(std::move(parsed))
{
    m_typeOfNumber = readByte();
    m_presentation = readByte();
    m_number = QString::fromLatin1(readRest());
}
