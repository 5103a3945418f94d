#include "capi/CapiCommands.h"
#include "capi/ReceivedMessages.h"
#include "capi/SentMessages.h"
#include "capi/TCapi.h"

// The answers and connection changes for each received indication and confirmation.
struct TCapi::Rules
{
    using State = TConnection::State;

    static void connectInd(TCapi& capi, const TConnectInd& m, TCapiMessageFlags& flags)
    {
        TConnection& c = capi.m_connections.add();
        c.direction = TConnection::Direction::Incoming;
        c.disconnectInitiator = TConnection::Initiator::None;
        c.state = State::SetUpPending;
        c.SetPLCI(m.plci());
        c.connectIndNumber = m.header().messageNumber; // for the CONNECT_RESP, whenever it is sent
        capi.PutMessage(std::make_unique<TAlertReq>(m.plci()));
        // No CONNECT_RESP here: the handler decides whether the call is taken, ignored or rejected.
        capi.raise(&c, m, flags);
    }

    static void connectActiveInd(TCapi& capi, const TConnectActiveInd& m, TCapiMessageFlags& flags)
    {
        TConnection* c = capi.m_connections.findByPlci(m.plci());
        if (c)
            c->state = State::Connected;
        capi.raise(c, m, flags);
        capi.PutMessage(answering(m.header().messageNumber, std::make_unique<TConnectActiveResp>(m.plci())));
        if (c && flags.sendStandardResponse && c->direction == TConnection::Direction::Outgoing)
            capi.PutMessage(std::make_unique<TConnectB3Req>(m.plci()));
    }

    static void disconnectInd(TCapi& capi, const TDisconnectInd& m, TCapiMessageFlags& flags)
    {
        TConnection* c = capi.m_connections.findByPlci(m.plci());
        capi.raise(c, m, flags);
        if (c) {
            c->state = State::Cleared;
            capi.m_connections.remove(c);
        }
        capi.PutMessage(answering(m.header().messageNumber, std::make_unique<TDisconnectResp>(m.plci())));
    }

    static void infoInd(TCapi& capi, const TInfoInd& m, TCapiMessageFlags& flags)
    {
        capi.raise(capi.m_connections.findByPlci(m.plci()), m, flags);
        capi.PutMessage(answering(m.header().messageNumber, std::make_unique<TInfoResp>(m.plci())));
    }

    static void connectB3Ind(TCapi& capi, const TConnectB3Ind& m, TCapiMessageFlags& flags)
    {
        TConnection* c = capi.m_connections.findByPlci(m.ncci() & 0xFFFF);
        if (c) {
            c->state = State::B3SetUpPending;
            c->setNCCI(m.ncci());
        }
        capi.raise(c, m, flags);
        if (flags.sendStandardResponse)
            capi.PutMessage(answering(m.header().messageNumber, std::make_unique<TConnectB3Resp>(m.ncci(), 0)));
    }

    static void connectB3ActiveInd(TCapi& capi, const TConnectB3ActiveInd& m, TCapiMessageFlags& flags)
    {
        TConnection* c = capi.m_connections.findByNcci(m.ncci());
        if (c)
            c->state = State::B3Connected;
        capi.raise(c, m, flags);
        if (flags.sendStandardResponse)
            capi.PutMessage(answering(m.header().messageNumber, std::make_unique<TConnectB3ActiveResp>(m.ncci())));
    }

    static void disconnectB3Ind(TCapi& capi, const TDisconnectB3Ind& m, TCapiMessageFlags& flags)
    {
        TConnection* c = capi.m_connections.findByNcci(m.ncci());
        if (c) {
            c->state = State::B3Cleared;
            if (c->disconnectInitiator == TConnection::Initiator::None)
                c->disconnectInitiator = TConnection::Initiator::Remote;
        }
        capi.raise(c, m, flags);
        capi.PutMessage(answering(m.header().messageNumber, std::make_unique<TDisconnectB3Resp>(m.ncci())));
        if (c && flags.sendStandardResponse && c->disconnectInitiator == TConnection::Initiator::ThisSide)
            capi.PutMessage(std::make_unique<TDisconnectReq>(c->PLCI()));
    }

    static void dataB3Ind(TCapi& capi, const TDataB3Ind& m, TCapiMessageFlags& flags)
    {
        capi.raise(capi.m_connections.findByNcci(m.ncci()), m, flags);
        if (flags.sendStandardResponse)
            capi.PutMessage(
                answering(m.header().messageNumber, std::make_unique<TDataB3Resp>(m.ncci(), m.dataHandle())));
    }

    // A known indication that could not be read whole still gets the answer its PLCI or NCCI allows;
    // a cleared call is forgotten, the rest changes nothing.
    static void malformedInd(TCapi& capi, const TCapiMessage& m)
    {
        std::unique_ptr<TCapiMessage> response = answerToMalformed(m);
        if (!response)
            return;
        if (m.GetWordCommand() == CapiCommand::DisconnectInd) {
            TConnection* c = capi.m_connections.findByPlci(addressOf(m).value_or(0));
            TCapiMessageFlags flags;
            capi.raise(c, m, flags);
            if (c)
                capi.m_connections.remove(c);
        }
        capi.PutMessage(std::move(response));
    }

    static void connectConf(TCapi& capi, const TConnectConf& m, TCapiMessageFlags& flags)
    {
        TConnection* c = capi.m_connections.GetItem(m.header().messageNumber);
        if (c && flags.confirmationError) {
            capi.m_connections.remove(c);
            c = nullptr;
        } else if (c) {
            c->state = State::SetUpPending;
            c->SetPLCI(m.plci());
        }
        capi.raise(c, m, flags);
    }

    static void connectB3Conf(TCapi& capi, const TConnectB3Conf& m, TCapiMessageFlags& flags)
    {
        TConnection* c = capi.m_connections.findByPlci(m.ncci() & 0xFFFF);
        if (c && flags.confirmationError) {
            capi.PutMessage(std::make_unique<TDisconnectReq>(c->PLCI()));
            capi.m_connections.remove(c);
            c = nullptr;
        } else if (c) {
            c->state = State::B3SetUpPending;
            c->setNCCI(m.ncci());
        }
        capi.raise(c, m, flags);
    }

    static void disconnectB3Conf(TCapi& capi, const TDisconnectB3Conf& m, TCapiMessageFlags& flags)
    {
        TConnection* c = capi.m_connections.findByNcci(m.ncci());
        if (c)
            c->state = State::B3ClearingRequested;
        capi.raise(c, m, flags);
    }

    static void dataB3Conf(TCapi& capi, const TDataB3Conf& m, TCapiMessageFlags& flags)
    {
        TConnection* c = capi.m_connections.findByNcci(m.ncci());
        capi.raise(c, m, flags);
        if (c && flags.releaseDataBlock)
            c->b3DataQueue.removeByHandle(m.dataHandle());
    }
};

namespace {

template <class M, class Rule>
bool dispatch(TCapi& capi, const TCapiMessage& message, TCapiMessageFlags& flags, Rule rule)
{
    const auto* typed = dynamic_cast<const M*>(&message);
    if (typed)
        rule(capi, *typed, flags);
    return typed != nullptr;
}

} // namespace

void TCapi::HandleIndication(const TCapiMessage& message)
{
    TCapiMessageFlags flags;
    bool read = true;
    switch (message.GetWordCommand()) {
    case CapiCommand::ConnectInd:
        read = dispatch<TConnectInd>(*this, message, flags, &Rules::connectInd);
        break;
    case CapiCommand::ConnectActiveInd:
        read = dispatch<TConnectActiveInd>(*this, message, flags, &Rules::connectActiveInd);
        break;
    case CapiCommand::DisconnectInd:
        read = dispatch<TDisconnectInd>(*this, message, flags, &Rules::disconnectInd);
        break;
    case CapiCommand::InfoInd:
        read = dispatch<TInfoInd>(*this, message, flags, &Rules::infoInd);
        break;
    case CapiCommand::ConnectB3Ind:
        read = dispatch<TConnectB3Ind>(*this, message, flags, &Rules::connectB3Ind);
        break;
    case CapiCommand::ConnectB3ActiveInd:
        read = dispatch<TConnectB3ActiveInd>(*this, message, flags, &Rules::connectB3ActiveInd);
        break;
    case CapiCommand::DisconnectB3Ind:
        read = dispatch<TDisconnectB3Ind>(*this, message, flags, &Rules::disconnectB3Ind);
        break;
    case CapiCommand::DataB3Ind:
        read = dispatch<TDataB3Ind>(*this, message, flags, &Rules::dataB3Ind);
        break;
    default:
        return; // freed unanswered
    }
    if (!read)
        Rules::malformedInd(*this, message);
}

void TCapi::HandleConfirmation(const TCapiMessage& message)
{
    const auto* confirmation = dynamic_cast<const TCapiConfirmation*>(&message);
    if (!confirmation)
        return;
    TCapiMessageFlags flags;
    flags.confirmationError = confirmation->info() > 0xFF;
    m_lastError = CapiErrorBase + confirmation->info();
    switch (message.GetWordCommand()) {
    case CapiCommand::AlertConf:
    case CapiCommand::DisconnectConf:
        raise(m_connections.findByPlci(confirmation->address()), message, flags);
        break;
    case CapiCommand::ListenConf:
        raise(nullptr, message, flags);
        break;
    case CapiCommand::ConnectConf:
        dispatch<TConnectConf>(*this, message, flags, &Rules::connectConf);
        break;
    case CapiCommand::ConnectB3Conf:
        dispatch<TConnectB3Conf>(*this, message, flags, &Rules::connectB3Conf);
        break;
    case CapiCommand::DisconnectB3Conf:
        dispatch<TDisconnectB3Conf>(*this, message, flags, &Rules::disconnectB3Conf);
        break;
    case CapiCommand::DataB3Conf:
        dispatch<TDataB3Conf>(*this, message, flags, &Rules::dataB3Conf);
        break;
    default:
        break;
    }
}
