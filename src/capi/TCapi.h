#pragma once

#include "capi/CapiNotice.h"
#include "capi/TConnections.h"

#include <QString>

#include <functional>
#include <memory>
#include <span>

class CapiLibrary;
class TCapiCallBack;
class TCapiMessage;
struct CapiEntries;

// What a handler of a CAPI message may change. For an indication: whether the standard response
// is still sent after the handler. For a confirmation: whether the confirmed data block is
// released, and whether the Info reports an error (above 0xFF).
struct TCapiMessageFlags
{
    bool sendStandardResponse = true;
    bool releaseDataBlock = true;
    bool confirmationError = false;
};

// One registered CAPI application with its receive thread and its logical connections. Lives in
// the main thread; every message, connection change, response and event runs there.
class TCapi
{
public:
    // The connection concerned (null when none matches, and for LISTEN_CONF), the message, the flags.
    using MessageHandler = std::function<void(TConnection*, const TCapiMessage&, TCapiMessageFlags&)>;

    // LastError values below 200: 100 + the library state when the library is unusable.
    static constexpr int LibraryErrorBase = 100;
    // From 200: 200 + the CAPI result or Info of the last register, put or confirmation.
    static constexpr int CapiErrorBase = 200;

    // Loads the library if that has not been tried yet, registers and starts the receive thread.
    // notice receives the text of a failed release at the end.
    TCapi(CapiLibrary& library, int maxLogicalConnections, int maxB3Blocks, int maxB3BlockLength,
          CapiNoticeSink notice = {});
    // Releases the application and waits at most 41 × 100 ms for the receive thread to end.
    ~TCapi();
    TCapi(const TCapi&) = delete;
    TCapi& operator=(const TCapi&) = delete;

    bool registered() const { return m_registered; }
    unsigned ApplID() const { return m_applId; }
    int LastError() const { return m_lastError; }
    QString GetLastErrorText() const;
    TConnections& connections() { return m_connections; }

    void setOnCapiMessage(MessageHandler handler) { m_onCapiMessage = std::move(handler); }
    // Puts the message with this application's ID; LastError := 200 + the result. Frees the message.
    bool PutMessage(std::unique_ptr<TCapiMessage> message);
    // Clears a connection by its state: DISCONNECT_B3_REQ when B3 is connected, else DISCONNECT_REQ.
    void DisconnectConnection(TConnection* connection);

private:
    struct Rules; // the indication and confirmation rules, in TCapiRules.cpp

    void ProcessMessage(std::span<const quint8> block);
    void HandleIndication(const TCapiMessage& message);
    void HandleConfirmation(const TCapiMessage& message);
    void raise(TConnection* connection, const TCapiMessage& message, TCapiMessageFlags& flags);

    std::shared_ptr<const CapiEntries> m_capi;
    CapiNoticeSink m_notice;
    unsigned m_applId = 0;
    bool m_registered = false;
    int m_lastError = 0;
    TConnections m_connections;
    MessageHandler m_onCapiMessage;
    std::unique_ptr<TCapiCallBack> m_callBack;
};
