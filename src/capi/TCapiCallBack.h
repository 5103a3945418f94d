#pragma once

#include <QtGlobal>

#include <functional>
#include <memory>
#include <span>

struct CapiEntries;

// The receive thread of one CAPI application: waits for a message, fetches it and hands it to the
// main thread, blocking until the main thread has dealt with it, so the library's message block
// stays valid while it is copied. A thread that does not end is left to end by itself; it holds
// the library and its own state, never its owner.
//
// The hand-over is a slot the main thread empties from its event loop. Termination empties it
// too, undelivered, so a thread that is handing over a message when the application ends does not
// wait for an event loop that the ending main thread is not running.
class TCapiCallBack
{
public:
    using Deliver = std::function<void(std::span<const quint8> message)>;

    // Starts the thread. deliver runs in the thread of the application object (the main thread).
    TCapiCallBack(std::shared_ptr<const CapiEntries> capi, unsigned applId, Deliver deliver);
    // Stops delivering; joins the thread when it has finished, else leaves it.
    ~TCapiCallBack();
    TCapiCallBack(const TCapiCallBack&) = delete;
    TCapiCallBack& operator=(const TCapiCallBack&) = delete;

    // Also drops a message that waits to be handed over. Main thread only.
    void requestTermination();
    bool finished() const;

private:
    struct Shared;
    static void receiveLoop(std::shared_ptr<Shared> shared);
    static void handToMainThread(const std::shared_ptr<Shared>& shared, const unsigned char* message);
    static void takePending(Shared& shared, bool deliver);

    std::shared_ptr<Shared> m_shared;
};
