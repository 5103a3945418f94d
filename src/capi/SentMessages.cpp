#include "capi/SentMessages.h"

#include "capi/CapiCommands.h"

#include <algorithm>
#include <optional>

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

std::unique_ptr<TCapiMessage> answering(quint16 indicationNumber, std::unique_ptr<TCapiMessage> response)
{
    response->header().messageNumber = indicationNumber;
    return response;
}

namespace {

constexpr size_t AddressOffset = 8;
constexpr size_t DataHandleOffset = 18; // after the NCCI, the data pointer and the data length
constexpr quint16 RejectIgnore = 1;
constexpr quint16 RejectB3 = 2;

std::optional<quint32> dwordAt(const std::vector<quint8>& m, size_t at)
{
    if (m.size() < at + 4)
        return std::nullopt;
    return quint32(m[at]) | quint32(m[at + 1]) << 8 | quint32(m[at + 2]) << 16 | quint32(m[at + 3]) << 24;
}

std::unique_ptr<TCapiMessage> responseFor(quint16 wordCommand, quint32 address, const std::vector<quint8>& m)
{
    switch (wordCommand) {
    case CapiCommand::ConnectInd:
        return std::make_unique<TConnectResp>(address, RejectIgnore);
    case CapiCommand::ConnectActiveInd:
        return std::make_unique<TConnectActiveResp>(address);
    case CapiCommand::DisconnectInd:
        return std::make_unique<TDisconnectResp>(address);
    case CapiCommand::InfoInd:
        return std::make_unique<TInfoResp>(address);
    case CapiCommand::ConnectB3Ind:
        return std::make_unique<TConnectB3Resp>(address, RejectB3);
    case CapiCommand::ConnectB3ActiveInd:
        return std::make_unique<TConnectB3ActiveResp>(address);
    case CapiCommand::DisconnectB3Ind:
        return std::make_unique<TDisconnectB3Resp>(address);
    case CapiCommand::DataB3Ind:
        if (m.size() < DataHandleOffset + 2)
            return nullptr;
        return std::make_unique<TDataB3Resp>(address, quint16(m[DataHandleOffset] | m[DataHandleOffset + 1] << 8));
    default:
        return nullptr;
    }
}

// Only what the message's own length covers counts.
std::vector<quint8> coveredBytes(const TCapiMessage& message)
{
    std::vector<quint8> m = message.bytes();
    m.resize(std::min<size_t>(m.size(), message.header().length));
    return m;
}

} // namespace

std::optional<quint32> addressOf(const TCapiMessage& message)
{
    return dwordAt(coveredBytes(message), AddressOffset);
}

std::unique_ptr<TCapiMessage> answerToMalformed(const TCapiMessage& indication)
{
    const std::vector<quint8> m = coveredBytes(indication);
    const std::optional<quint32> address = dwordAt(m, AddressOffset);
    if (!address)
        return nullptr;
    std::unique_ptr<TCapiMessage> response = responseFor(indication.GetWordCommand(), *address, m);
    return response ? answering(indication.header().messageNumber, std::move(response)) : nullptr;
}
