#include "capi/TCapiCallBack.h"

#include "capi/CapiLibrary.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <sys/time.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

struct TCapiCallBack::Shared
{
    std::shared_ptr<const CapiEntries> capi;
    unsigned applId = 0;
    std::atomic<bool> terminate{false};
    std::atomic<bool> finished{false};
    Deliver deliver; // touched in the main thread only
    std::thread thread;
    std::mutex mutex;
    std::condition_variable taken;
    const unsigned char* pending = nullptr; // the message being handed over
};

namespace {

// A failing wait returns at once; the pause keeps a broken library from spinning the thread.
constexpr auto WaitFailurePause = std::chrono::milliseconds(10);
// The wait ends this often to look at the termination request: the system's library waits in
// select() on the application's descriptor, and its release closes that descriptor without
// waking the wait.
constexpr long WaitSliceUs = 100000;

std::span<const quint8> messageAt(const unsigned char* message)
{
    const size_t length = message[0] | size_t(message[1]) << 8;
    return std::span<const quint8>(message, length);
}

} // namespace

void TCapiCallBack::receiveLoop(std::shared_ptr<Shared> shared)
{
    const CapiEntries& capi = *shared->capi;
    while (!shared->terminate) {
        timeval slice{0, WaitSliceUs};
        const auto began = std::chrono::steady_clock::now();
        const unsigned waited = capi.waitForMessage(shared->applId, &slice);
        if (shared->terminate)
            break;
        if (waited != 0) {
            // A slice that ran out is no failure; a wait that returned early with an error is.
            if (std::chrono::steady_clock::now() - began < std::chrono::microseconds(WaitSliceUs / 2))
                std::this_thread::sleep_for(WaitFailurePause);
            continue;
        }
        unsigned char* message = nullptr;
        if (capi.getMessage(shared->applId, &message) == 0 && message)
            handToMainThread(shared, message);
    }
    shared->finished = true;
}

void TCapiCallBack::handToMainThread(const std::shared_ptr<Shared>& shared, const unsigned char* message)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return;
    std::unique_lock lock(shared->mutex);
    shared->pending = message;
    QMetaObject::invokeMethod(
        app, [shared] { takePending(*shared, true); }, Qt::QueuedConnection);
    shared->taken.wait(lock, [&shared] { return shared->pending == nullptr; });
}

void TCapiCallBack::takePending(Shared& shared, bool deliver)
{
    std::unique_lock lock(shared.mutex);
    const unsigned char* message = shared.pending;
    if (!message)
        return;
    // Unlocked while delivering: the handler may end the application, which takes the slot too.
    lock.unlock();
    if (deliver && shared.deliver)
        shared.deliver(messageAt(message));
    lock.lock();
    shared.pending = nullptr;
    shared.taken.notify_all();
}

TCapiCallBack::TCapiCallBack(std::shared_ptr<const CapiEntries> capi, unsigned applId, Deliver deliver)
    : m_shared(std::make_shared<Shared>())
{
    m_shared->capi = std::move(capi);
    m_shared->applId = applId;
    m_shared->deliver = std::move(deliver);
    m_shared->thread = std::thread(receiveLoop, m_shared);
}

TCapiCallBack::~TCapiCallBack()
{
    m_shared->deliver = nullptr;
    requestTermination();
    if (m_shared->finished)
        m_shared->thread.join();
    else
        m_shared->thread.detach();
}

void TCapiCallBack::requestTermination()
{
    m_shared->terminate = true;
    takePending(*m_shared, false);
}

bool TCapiCallBack::finished() const
{
    return m_shared->finished;
}
