#include "capi/TBProtocol.h"

namespace {

void writeWord(TStruct& s, quint16 value)
{
    const quint8 bytes[2] = {static_cast<quint8>(value & 0xFF), static_cast<quint8>(value >> 8)};
    s.Write(bytes, 2);
}

void writeStruct(TStruct& s, const TStruct& inner)
{
    s.Write(inner.encoded().data(), inner.GetLength());
}

} // namespace

TBProtocol::TBProtocol(quint16 b1, quint16 b2, quint16 b3, const TStruct& b1Configuration,
                       const TStruct& b2Configuration, const TStruct& b3Configuration)
    : TStruct(6 + b1Configuration.GetLength() + b2Configuration.GetLength() + b3Configuration.GetLength())
{
    writeWord(*this, b1);
    writeWord(*this, b2);
    writeWord(*this, b3);
    writeStruct(*this, b1Configuration);
    writeStruct(*this, b2Configuration);
    writeStruct(*this, b3Configuration);
}
