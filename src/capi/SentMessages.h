#pragma once

#include "capi/TBProtocol.h"
#include "capi/TCallingPartyNumber.h"
#include "capi/TCallingPartySubAddress.h"
#include "capi/TCapiMessage.h"
#include "capi/TStruct.h"

#include <memory>
#include <optional>

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

// A response carries the message number of the indication it answers; requests carry 0.
std::unique_ptr<TCapiMessage> answering(quint16 indicationNumber, std::unique_ptr<TCapiMessage> response);

// The answer to an indication whose parameters could not all be read, built from what can be: its
// PLCI or NCCI (and DATA_B3's data handle). Without it the controller never frees what the
// indication concerns. A call is ignored, a B3 link refused. Nothing when even that cannot be read,
// or the message is no indication this program answers.
std::unique_ptr<TCapiMessage> answerToMalformed(const TCapiMessage& indication);
// A message's first parameter (controller, PLCI or NCCI), if its length covers it.
std::optional<quint32> addressOf(const TCapiMessage& message);
