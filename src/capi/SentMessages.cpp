#include "capi/SentMessages.h"

#include "capi/CapiCommands.h"

using W = CapiParameterWriter;

TListenReq::TListenReq(quint32 controller, quint32 infoMask, quint32 cipMask, quint32 cipMask2,
                       const TCallingPartyNumber& callingPartyNumber,
                       const TCallingPartySubAddress& callingPartySubAddress)
    : TCapiMessage(CapiCommand::ListenReq, W().dword(controller)
                                               .dword(infoMask)
                                               .dword(cipMask)
                                               .dword(cipMask2)
                                               .structure(callingPartyNumber)
                                               .structure(callingPartySubAddress))
{}

TAlertReq::TAlertReq(quint32 plci, const TStruct& additionalInfo)
    : TCapiMessage(CapiCommand::AlertReq, W().dword(plci).structure(additionalInfo))
{}

TConnectResp::TConnectResp(quint32 plci, quint16 reject, const TBProtocol& bProtocol, const TStruct& connectedNumber,
                           const TStruct& connectedSubAddress, const TStruct& llc, const TStruct& additionalInfo)
    : TCapiMessage(CapiCommand::ConnectResp, W().dword(plci)
                                                 .word(reject)
                                                 .structure(bProtocol)
                                                 .structure(connectedNumber)
                                                 .structure(connectedSubAddress)
                                                 .structure(llc)
                                                 .structure(additionalInfo))
{}

TConnectActiveResp::TConnectActiveResp(quint32 plci) : TCapiMessage(CapiCommand::ConnectActiveResp, W().dword(plci)) {}

TDisconnectReq::TDisconnectReq(quint32 plci, const TStruct& additionalInfo)
    : TCapiMessage(CapiCommand::DisconnectReq, W().dword(plci).structure(additionalInfo))
{}

TDisconnectResp::TDisconnectResp(quint32 plci) : TCapiMessage(CapiCommand::DisconnectResp, W().dword(plci)) {}

TInfoResp::TInfoResp(quint32 plci) : TCapiMessage(CapiCommand::InfoResp, W().dword(plci)) {}

TConnectB3Req::TConnectB3Req(quint32 plci, const TStruct& ncpi)
    : TCapiMessage(CapiCommand::ConnectB3Req, W().dword(plci).structure(ncpi))
{}

TConnectB3Resp::TConnectB3Resp(quint32 ncci, quint16 reject, const TStruct& ncpi)
    : TCapiMessage(CapiCommand::ConnectB3Resp, W().dword(ncci).word(reject).structure(ncpi))
{}

TConnectB3ActiveResp::TConnectB3ActiveResp(quint32 ncci)
    : TCapiMessage(CapiCommand::ConnectB3ActiveResp, W().dword(ncci))
{}

TDisconnectB3Req::TDisconnectB3Req(quint32 ncci, const TStruct& ncpi)
    : TCapiMessage(CapiCommand::DisconnectB3Req, W().dword(ncci).structure(ncpi))
{}

TDisconnectB3Resp::TDisconnectB3Resp(quint32 ncci) : TCapiMessage(CapiCommand::DisconnectB3Resp, W().dword(ncci)) {}

TDataB3Resp::TDataB3Resp(quint32 ncci, quint16 dataHandle)
    : TCapiMessage(CapiCommand::DataB3Resp, W().dword(ncci).word(dataHandle))
{}
