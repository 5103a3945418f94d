#pragma once

#include "capi/TBProtocol.h"
#include "capi/TCallingPartyNumber.h"
#include "capi/TCallingPartySubAddress.h"
#include "capi/TCapiMessage.h"
#include "capi/TStruct.h"

// The messages this program builds, each with its parameters in CAPI order. Every struct handed
// in is copied into the message; a struct left out is the empty struct.
class TListenReq : public TCapiMessage
{
public:
    TListenReq(quint32 controller, quint32 infoMask, quint32 cipMask, quint32 cipMask2,
               const TCallingPartyNumber& callingPartyNumber, const TCallingPartySubAddress& callingPartySubAddress);
};

class TAlertReq : public TCapiMessage
{
public:
    explicit TAlertReq(quint32 plci, const TStruct& additionalInfo = TStruct());
};

class TConnectResp : public TCapiMessage
{
public:
    TConnectResp(quint32 plci, quint16 reject, const TBProtocol& bProtocol = TBProtocol(),
                 const TStruct& connectedNumber = TStruct(), const TStruct& connectedSubAddress = TStruct(),
                 const TStruct& llc = TStruct(), const TStruct& additionalInfo = TStruct());
};

class TConnectActiveResp : public TCapiMessage
{
public:
    explicit TConnectActiveResp(quint32 plci);
};

class TDisconnectReq : public TCapiMessage
{
public:
    explicit TDisconnectReq(quint32 plci, const TStruct& additionalInfo = TStruct());
};

class TDisconnectResp : public TCapiMessage
{
public:
    explicit TDisconnectResp(quint32 plci);
};

class TInfoResp : public TCapiMessage
{
public:
    explicit TInfoResp(quint32 plci);
};

class TConnectB3Req : public TCapiMessage
{
public:
    explicit TConnectB3Req(quint32 plci, const TStruct& ncpi = TStruct());
};

class TConnectB3Resp : public TCapiMessage
{
public:
    TConnectB3Resp(quint32 ncci, quint16 reject, const TStruct& ncpi = TStruct());
};

class TConnectB3ActiveResp : public TCapiMessage
{
public:
    explicit TConnectB3ActiveResp(quint32 ncci);
};

class TDisconnectB3Req : public TCapiMessage
{
public:
    explicit TDisconnectB3Req(quint32 ncci, const TStruct& ncpi = TStruct());
};

class TDisconnectB3Resp : public TCapiMessage
{
public:
    explicit TDisconnectB3Resp(quint32 ncci);
};

class TDataB3Resp : public TCapiMessage
{
public:
    TDataB3Resp(quint32 ncci, quint16 dataHandle);
};
