#pragma once

#include "capi/TStruct.h"

// The B protocol struct: B1, B2 and B3 protocol (16 bits each), then their three configuration
// structs. The empty form (the single byte 0x00) asks the controller for its default protocols.
class TBProtocol : public TStruct
{
public:
    TBProtocol() = default;
    TBProtocol(quint16 b1, quint16 b2, quint16 b3, const TStruct& b1Configuration = TStruct(),
               const TStruct& b2Configuration = TStruct(), const TStruct& b3Configuration = TStruct());
};
