#include "capi/TCapi.h"

#include "capi/CapiCommands.h"
#include "capi/CapiLibrary.h"
#include "capi/CapiMessageFactory.h"
#include "capi/CapiTexts.h"
#include "capi/SentMessages.h"
#include "capi/TCapiCallBack.h"

#include <chrono>
#include <thread>

namespace {

constexpr int ReleaseWaitSteps = 41;
constexpr auto ReleaseWaitStep = std::chrono::milliseconds(100);

} // namespace

TCapi::TCapi(CapiLibrary& library, int maxLogicalConnections, int maxB3Blocks, int maxB3BlockLength,
             CapiNoticeSink notice)
    : m_notice(std::move(notice))
{
    if (library.load() != CapiLibrary::Installed) {
        m_lastError = LibraryErrorBase + library.state();
        return;
    }
    m_capi = library.entries();
    // The Linux CAPI sizes the message buffer itself (1024 × (1 + connections) elsewhere).
    const unsigned result =
        m_capi->registerApplication(static_cast<unsigned>(maxLogicalConnections), static_cast<unsigned>(maxB3Blocks),
                                    static_cast<unsigned>(maxB3BlockLength), &m_applId);
    if (result != 0) {
        m_lastError = CapiErrorBase + static_cast<int>(result);
        return;
    }
    m_registered = true;
    m_callBack = std::make_unique<TCapiCallBack>(m_capi, m_applId,
                                                 [this](std::span<const quint8> block) { ProcessMessage(block); });
}

TCapi::~TCapi()
{
    if (!m_registered)
        return;
    // Asked before the release, so the thread that the release wakes sees it at once.
    m_callBack->requestTermination();
    const unsigned result = m_capi->release(m_applId);
    if (result != 0 && m_notice)
        m_notice(QStringLiteral("Anwendung konnt nicht ordnungsgemäß abgemeldet werden.") + QStringLiteral(" (") +
                 CapiErrorText(static_cast<quint16>(result)) + QStringLiteral(")"));
    for (int step = 0; step < ReleaseWaitSteps && !m_callBack->finished(); ++step)
        std::this_thread::sleep_for(ReleaseWaitStep);
    m_callBack.reset();
}

QString TCapi::GetLastErrorText() const
{
    if (m_lastError == 0)
        return CapiStateText(CapiLibrary::Installed);
    if (m_lastError >= CapiErrorBase)
        return CapiErrorText(static_cast<quint16>(m_lastError - CapiErrorBase));
    return CapiStateText(m_lastError - LibraryErrorBase);
}

bool TCapi::PutMessage(std::unique_ptr<TCapiMessage> message)
{
    if (!message)
        return false;
    if (!m_registered) {
        FreeCapiMessage(message, m_notice);
        return false;
    }
    message->header().applId = static_cast<quint16>(m_applId & 0xFFFF);
    const unsigned result = m_capi->putMessage(m_applId, message->GetMessagePtr());
    m_lastError = CapiErrorBase + static_cast<int>(result);
    FreeCapiMessage(message, m_notice);
    return result == 0;
}

void TCapi::DisconnectConnection(TConnection* connection)
{
    if (!connection)
        return;
    switch (connection->state) {
    case TConnection::State::Cleared:
        return;
    case TConnection::State::B3Connected:
        PutMessage(std::make_unique<TDisconnectB3Req>(connection->NCCI()));
        break;
    default:
        PutMessage(std::make_unique<TDisconnectReq>(connection->PLCI()));
        break;
    }
    connection->disconnectInitiator = TConnection::Initiator::ThisSide;
}

void TCapi::ProcessMessage(std::span<const quint8> block)
{
    std::unique_ptr<TCapiMessage> message = CreateCapiMessage(block);
    switch (message->header().subcommand) {
    case CapiSubcommand::Confirmation:
        HandleConfirmation(*message);
        break;
    case CapiSubcommand::Indication:
        HandleIndication(*message);
        break;
    default:
        break;
    }
    FreeCapiMessage(message, m_notice);
}

void TCapi::raise(TConnection* connection, const TCapiMessage& message, TCapiMessageFlags& flags)
{
    if (m_onCapiMessage)
        m_onCapiMessage(connection, message, flags);
}
