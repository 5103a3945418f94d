#include "capi/CapiMessageFactory.h"

#include "capi/CapiCommands.h"
#include "capi/ReceivedMessages.h"

#include <algorithm>
#include <array>

namespace {

using Creator = std::unique_ptr<TCapiMessage> (*)(std::span<const quint8>);

template <class T> std::unique_ptr<TCapiMessage> parseAs(std::span<const quint8> received)
{
    auto message = std::make_unique<T>(received);
    if (message->complete())
        return message;
    return std::make_unique<TCapiMessage>(received);
}

struct Parser
{
    quint16 wordCommand;
    Creator create;
};

constexpr std::array<Parser, 15> Parsers = {{
    {CapiCommand::AlertConf, &parseAs<TAlertConf>},
    {CapiCommand::ConnectConf, &parseAs<TConnectConf>},
    {CapiCommand::ConnectInd, &parseAs<TConnectInd>},
    {CapiCommand::ConnectActiveInd, &parseAs<TConnectActiveInd>},
    {CapiCommand::DisconnectConf, &parseAs<TDisconnectConf>},
    {CapiCommand::DisconnectInd, &parseAs<TDisconnectInd>},
    {CapiCommand::ListenConf, &parseAs<TListenConf>},
    {CapiCommand::InfoInd, &parseAs<TInfoInd>},
    {CapiCommand::ConnectB3Conf, &parseAs<TConnectB3Conf>},
    {CapiCommand::ConnectB3Ind, &parseAs<TConnectB3Ind>},
    {CapiCommand::ConnectB3ActiveInd, &parseAs<TConnectB3ActiveInd>},
    {CapiCommand::DisconnectB3Conf, &parseAs<TDisconnectB3Conf>},
    {CapiCommand::DisconnectB3Ind, &parseAs<TDisconnectB3Ind>},
    {CapiCommand::DataB3Conf, &parseAs<TDataB3Conf>},
    {CapiCommand::DataB3Ind, &parseAs<TDataB3Ind>},
}};

constexpr std::array<quint16, 15> OtherKnownCommands = {
    CapiCommand::ListenReq,       CapiCommand::AlertReq,
    CapiCommand::ConnectResp,     CapiCommand::ConnectActiveResp,
    CapiCommand::DisconnectReq,   CapiCommand::DisconnectResp,
    CapiCommand::InfoResp,        CapiCommand::ConnectB3Req,
    CapiCommand::ConnectB3Resp,   CapiCommand::ConnectB3ActiveResp,
    CapiCommand::DisconnectB3Req, CapiCommand::DisconnectB3Resp,
    CapiCommand::DataB3Resp,      CapiCommand::ConnectReq,
    CapiCommand::DataB3Req,
};

const Parser* parserFor(quint16 wordCommand)
{
    const auto it = std::find_if(Parsers.begin(), Parsers.end(),
                                 [wordCommand](const Parser& p) { return p.wordCommand == wordCommand; });
    return it == Parsers.end() ? nullptr : &*it;
}

} // namespace

std::unique_ptr<TCapiMessage> CreateCapiMessage(std::span<const quint8> received)
{
    const TCapiMessageHeader header = TCapiMessageHeader::fromBytes(received);
    if (const Parser* parser = parserFor(header.GetWordCommand()))
        return parser->create(received);
    return std::make_unique<TCapiMessage>(received);
}

bool isKnownWordCommand(quint16 wordCommand)
{
    return parserFor(wordCommand) != nullptr ||
           std::find(OtherKnownCommands.begin(), OtherKnownCommands.end(), wordCommand) != OtherKnownCommands.end();
}

void FreeCapiMessage(std::unique_ptr<TCapiMessage>& message, const CapiNoticeSink& notice)
{
    if (message && !isKnownWordCommand(message->GetWordCommand()) && notice)
        notice(QStringLiteral("Unbekannte Message. ") + QString::number(message->GetWordCommand()));
    message.reset();
}
