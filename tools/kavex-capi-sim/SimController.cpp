#include "SimController.h"

#include "SimWire.h"
#include "capi/CapiCommands.h"

#include <algorithm>
#include <sys/time.h>
#include <thread>

namespace {

using namespace CapiCommand;

// CAPI 2.0 result values.
enum : unsigned
{
    IllegalApplication = 0x1101,
    IllegalMessage = 0x1102,
    QueueEmpty = 0x1104,
    NotSupportedInState = 0x2001,
    IllegalIdentifier = 0x2002,
    NoPlci = 0x2003,
    NormalCallClearing = 0x3490,
};

constexpr std::uint8_t CalledTypeOctet = 0x81; // unknown type, ISDN numbering plan
constexpr std::uint8_t PresentationAllowed = 0x80;
constexpr std::uint8_t PresentationRestricted = 0xA0;
constexpr std::size_t MaxMessageLength = 2048 + 128;

std::vector<std::uint8_t> digits(std::uint8_t first, const std::string& text)
{
    std::vector<std::uint8_t> content{first};
    content.insert(content.end(), text.begin(), text.end());
    return content;
}

std::vector<std::uint8_t> callingNumber(const CallOffer& call)
{
    if (call.number.empty())
        return {call.typeOctet(), PresentationRestricted};
    std::vector<std::uint8_t> content{call.typeOctet(), PresentationAllowed};
    content.insert(content.end(), call.number.begin(), call.number.end());
    return content;
}

// Speech and telephony come as speech over 64 kBit/s, A-law; everything else as unrestricted data.
std::vector<std::uint8_t> bearerCapability(int cip)
{
    if (cip == 1 || cip == 4 || cip == 16 || cip == 17 || cip == 26)
        return {0x80, 0x90, 0xA3};
    return {0x88, 0x90};
}

bool listensFor(std::uint32_t cipMask, int cip)
{
    return (cipMask & 1u) != 0 || (cip >= 0 && cip < 32 && (cipMask & (1u << cip)) != 0);
}

} // namespace

struct SimController::Application
{
    unsigned id = 0;
    bool listening = false;
    std::uint32_t cipMask = 0;
    std::deque<std::vector<std::uint8_t>> queue;
    std::vector<std::uint8_t> current; // the block capi20_get_message handed out last
    std::uint16_t nextMessageNumber = 1;
    bool released = false;
    bool hangOnRelease = false;
    bool silentRelease = false;
};

struct SimController::Call
{
    enum class State
    {
        Offered,
        Alerted,
        Connected,
        B3Pending,
        B3Active,
        Clearing,
    };

    unsigned applId = 0;
    std::uint32_t plci = 0;
    State state = State::Offered;
    CallOffer offer;
    std::optional<Clock::time_point> hangUpAt;

    std::uint32_t ncci() const { return plci | 0x10000u; }
};

SimController::SimController() = default;
SimController::~SimController() = default;

void SimController::setPutLog(PutLog log)
{
    std::lock_guard lock(m_mutex);
    m_putLog = std::move(log);
}

unsigned SimController::isInstalled(const Faults& faults) const
{
    return faults.notInstalled;
}

unsigned SimController::registerApplication(const Faults& faults, unsigned* applId)
{
    if (faults.registerError != 0)
        return faults.registerError;
    std::lock_guard lock(m_mutex);
    auto app = std::make_shared<Application>();
    app->id = m_nextApplId++;
    m_applications[app->id] = app;
    *applId = app->id;
    return 0;
}

unsigned SimController::release(const Faults& faults, unsigned applId)
{
    std::lock_guard lock(m_mutex);
    const auto it = m_applications.find(applId);
    if (it == m_applications.end())
        return IllegalApplication;
    if (faults.releaseError != 0)
        return faults.releaseError;
    it->second->released = true;
    it->second->hangOnRelease = faults.hangOnRelease;
    it->second->silentRelease = faults.silentRelease;
    m_applications.erase(it);
    std::erase_if(m_calls, [applId](const Call& c) { return c.applId == applId; });
    if (!faults.silentRelease)
        m_queued.notify_all();
    return 0;
}

std::shared_ptr<SimController::Application> SimController::application(unsigned applId) const
{
    const auto it = m_applications.find(applId);
    return it == m_applications.end() ? nullptr : it->second;
}

unsigned SimController::putMessage(unsigned applId, const unsigned char* message)
{
    if (!message)
        return IllegalMessage;
    const std::size_t length = message[0] | std::size_t(message[1]) << 8;
    if (length < 8 || length > MaxMessageLength)
        return IllegalMessage;
    const std::vector<std::uint8_t> bytes(message, message + length);
    std::lock_guard lock(m_mutex);
    if (m_putLog)
        m_putLog(bytes);
    const auto app = application(applId);
    if (!app)
        return IllegalApplication;
    const std::uint8_t subcommand = bytes[5];
    if (subcommand != 0x80 && subcommand != 0x83)
        return IllegalMessage;
    handle(*app, bytes);
    return 0;
}

unsigned SimController::getMessage(unsigned applId, unsigned char** message)
{
    std::lock_guard lock(m_mutex);
    const auto app = application(applId);
    if (!app)
        return IllegalApplication;
    if (app->queue.empty())
        return QueueEmpty;
    app->current = std::move(app->queue.front());
    app->queue.pop_front();
    *message = app->current.data();
    return 0;
}

unsigned SimController::waitForMessage(unsigned applId, const timeval* timeOut)
{
    std::unique_lock lock(m_mutex);
    const auto app = application(applId);
    if (!app)
        return IllegalApplication;
    const auto ready = [&app] { return (app->released && !app->silentRelease) || !app->queue.empty(); };
    if (timeOut) {
        const auto span = std::chrono::seconds(timeOut->tv_sec) + std::chrono::microseconds(timeOut->tv_usec);
        if (!m_queued.wait_for(lock, span, ready))
            return QueueEmpty;
    } else {
        m_queued.wait(lock, ready);
    }
    if (!app->released)
        return 0;
    if (app->hangOnRelease) {
        // A driver that never wakes its waiter: the application has to give up on the thread.
        lock.unlock();
        for (;;)
            std::this_thread::sleep_for(std::chrono::hours(1));
    }
    return IllegalApplication;
}

void SimController::queue(Application& app, std::vector<std::uint8_t> message)
{
    app.queue.push_back(std::move(message));
    m_queued.notify_all();
}

void SimController::confirm(Application& app, const std::vector<std::uint8_t>& request, std::uint32_t address,
                            std::uint16_t info)
{
    const std::uint16_t command = static_cast<std::uint16_t>((wordCommandOf(request) & 0xFF00) | 0x81);
    queue(app, MessageBuilder(command, static_cast<std::uint16_t>(app.id), wordAt(request, 6))
                   .dword(address)
                   .word(info)
                   .finish());
}

SimController::Call* SimController::callByPlci(unsigned applId, std::uint32_t plci)
{
    const auto it = std::find_if(m_calls.begin(), m_calls.end(),
                                 [&](const Call& c) { return c.applId == applId && c.plci == plci; });
    return it == m_calls.end() ? nullptr : &*it;
}

SimController::Call* SimController::callByNcci(unsigned applId, std::uint32_t ncci)
{
    return (ncci & 0xFFFF0000u) == 0x10000u ? callByPlci(applId, ncci & 0xFFFF) : nullptr;
}

void SimController::handle(Application& app, const std::vector<std::uint8_t>& m)
{
    switch (wordCommandOf(m)) {
    case ListenReq:
        return listen(app, m);
    case AlertReq:
        return alert(app, m);
    case ConnectResp:
        return connectResp(app, m);
    case ConnectActiveResp:
        return connectActiveResp(app, m);
    case ConnectB3Resp:
        return connectB3Resp(app, m);
    case DisconnectReq:
        return disconnectReq(app, m);
    case DisconnectB3Req:
        return disconnectB3Req(app, m);
    case DisconnectResp:
        return disconnectResp(app, m);
    case ConnectReq:
        return confirm(app, m, 0, NoPlci); // this controller takes calls, it makes none
    case ConnectB3Req:
        return confirm(app, m, dwordAt(m, 8), NotSupportedInState);
    case DataB3Req:
        queue(app, MessageBuilder(DataB3Conf, static_cast<std::uint16_t>(app.id), wordAt(m, 6))
                       .dword(dwordAt(m, 8))
                       .word(wordAt(m, 18))
                       .word(NotSupportedInState)
                       .finish());
        return;
    default:
        if ((wordCommandOf(m) & 0xFF) == 0x80)
            confirm(app, m, dwordAt(m, 8), NotSupportedInState);
        return; // other responses need nothing
    }
}

void SimController::listen(Application& app, const std::vector<std::uint8_t>& m)
{
    const std::uint32_t controller = dwordAt(m, 8);
    if ((controller & 0x7F) != ControllerNumber)
        return confirm(app, m, controller, IllegalIdentifier);
    app.cipMask = dwordAt(m, 16);
    app.listening = app.cipMask != 0;
    confirm(app, m, controller, 0);
}

void SimController::alert(Application& app, const std::vector<std::uint8_t>& m)
{
    const std::uint32_t plci = dwordAt(m, 8);
    Call* call = callByPlci(app.id, plci);
    if (!call || (call->state != Call::State::Offered && call->state != Call::State::Alerted))
        return confirm(app, m, plci, IllegalIdentifier);
    call->state = Call::State::Alerted;
    confirm(app, m, plci, 0);
}

void SimController::connectResp(Application& app, const std::vector<std::uint8_t>& m)
{
    Call* call = callByPlci(app.id, dwordAt(m, 8));
    if (!call || (call->state != Call::State::Offered && call->state != Call::State::Alerted))
        return;
    if (wordAt(m, 12) != 0)
        return clearCall(app, *call, 0); // ignored or rejected: the call is gone for this application
    call->state = Call::State::Connected;
    call->hangUpAt.reset();
    queue(app, MessageBuilder(ConnectActiveInd, static_cast<std::uint16_t>(app.id), app.nextMessageNumber++)
                   .dword(call->plci)
                   .emptyStruct()
                   .emptyStruct()
                   .emptyStruct()
                   .finish());
}

void SimController::connectActiveResp(Application& app, const std::vector<std::uint8_t>& m)
{
    Call* call = callByPlci(app.id, dwordAt(m, 8));
    if (!call || call->state != Call::State::Connected)
        return;
    // The caller's side sets up the B channel link once the call is connected.
    call->state = Call::State::B3Pending;
    queue(app, MessageBuilder(ConnectB3Ind, static_cast<std::uint16_t>(app.id), app.nextMessageNumber++)
                   .dword(call->ncci())
                   .emptyStruct()
                   .finish());
}

void SimController::connectB3Resp(Application& app, const std::vector<std::uint8_t>& m)
{
    Call* call = callByNcci(app.id, dwordAt(m, 8));
    if (!call || call->state != Call::State::B3Pending)
        return;
    if (wordAt(m, 12) != 0) {
        call->state = Call::State::Connected;
        return;
    }
    call->state = Call::State::B3Active;
    queue(app, MessageBuilder(ConnectB3ActiveInd, static_cast<std::uint16_t>(app.id), app.nextMessageNumber++)
                   .dword(call->ncci())
                   .emptyStruct()
                   .finish());
}

void SimController::disconnectReq(Application& app, const std::vector<std::uint8_t>& m)
{
    const std::uint32_t plci = dwordAt(m, 8);
    Call* call = callByPlci(app.id, plci);
    if (!call || call->state == Call::State::Clearing)
        return confirm(app, m, plci, IllegalIdentifier);
    confirm(app, m, plci, 0);
    clearCall(app, *call, 0);
}

void SimController::disconnectB3Req(Application& app, const std::vector<std::uint8_t>& m)
{
    const std::uint32_t ncci = dwordAt(m, 8);
    Call* call = callByNcci(app.id, ncci);
    if (!call || call->state != Call::State::B3Active)
        return confirm(app, m, ncci, IllegalIdentifier);
    confirm(app, m, ncci, 0);
    call->state = Call::State::Connected;
    queue(app, MessageBuilder(DisconnectB3Ind, static_cast<std::uint16_t>(app.id), app.nextMessageNumber++)
                   .dword(ncci)
                   .word(0)
                   .emptyStruct()
                   .finish());
}

void SimController::disconnectResp(Application& app, const std::vector<std::uint8_t>& m)
{
    const std::uint32_t plci = dwordAt(m, 8);
    std::erase_if(m_calls, [&](const Call& c) {
        return c.applId == app.id && c.plci == plci && c.state == Call::State::Clearing;
    });
}

void SimController::clearCall(Application& app, Call& call, std::uint16_t reason)
{
    if (call.state == Call::State::B3Active || call.state == Call::State::B3Pending) {
        queue(app, MessageBuilder(DisconnectB3Ind, static_cast<std::uint16_t>(app.id), app.nextMessageNumber++)
                       .dword(call.ncci())
                       .word(0)
                       .emptyStruct()
                       .finish());
    }
    call.state = Call::State::Clearing;
    call.hangUpAt.reset();
    queue(app, MessageBuilder(DisconnectInd, static_cast<std::uint16_t>(app.id), app.nextMessageNumber++)
                   .dword(call.plci)
                   .word(reason)
                   .finish());
}

std::uint32_t SimController::nextPlci()
{
    for (int tries = 0; tries < 255; ++tries) {
        const std::uint32_t plci = (m_nextPlciNumber << 8) | ControllerNumber;
        m_nextPlciNumber = m_nextPlciNumber % 255 + 1;
        const bool used = std::any_of(m_calls.begin(), m_calls.end(), [plci](const Call& c) { return c.plci == plci; });
        if (!used)
            return plci;
    }
    return 0;
}

int SimController::offerCall(const CallOffer& offer)
{
    std::lock_guard lock(m_mutex);
    int offered = 0;
    for (auto& [id, app] : m_applications) {
        if (!app->listening || !listensFor(app->cipMask, offer.cip))
            continue;
        const std::uint32_t plci = nextPlci();
        if (plci == 0)
            break;
        Call call;
        call.applId = id;
        call.plci = plci;
        call.offer = offer;
        if (offer.ringSeconds > 0)
            call.hangUpAt = Clock::now() + std::chrono::seconds(offer.ringSeconds);
        m_calls.push_back(call);
        queue(*app, MessageBuilder(ConnectInd, static_cast<std::uint16_t>(id), app->nextMessageNumber++)
                        .dword(plci)
                        .word(static_cast<std::uint16_t>(offer.cip))
                        .structure(digits(CalledTypeOctet, offer.msn))
                        .structure(callingNumber(offer))
                        .emptyStruct()
                        .emptyStruct()
                        .structure(bearerCapability(offer.cip))
                        .emptyStruct()
                        .emptyStruct()
                        .emptyStruct()
                        .finish());
        ++offered;
    }
    return offered;
}

int SimController::hangUp(const std::optional<std::string>& number)
{
    std::lock_guard lock(m_mutex);
    int count = 0;
    for (Call& call : m_calls) {
        if (call.state == Call::State::Clearing || (number && call.offer.number != *number))
            continue;
        if (const auto app = application(call.applId)) {
            clearCall(*app, call, NormalCallClearing);
            ++count;
        }
    }
    return count;
}

std::optional<SimController::Clock::time_point> SimController::hangUpExpired(Clock::time_point now)
{
    std::lock_guard lock(m_mutex);
    std::optional<Clock::time_point> next;
    for (Call& call : m_calls) {
        if (!call.hangUpAt)
            continue;
        if (*call.hangUpAt <= now) {
            if (const auto app = application(call.applId))
                clearCall(*app, call, NormalCallClearing);
        } else if (!next || *call.hangUpAt < *next) {
            next = call.hangUpAt;
        }
    }
    return next;
}

int SimController::activeCalls() const
{
    std::lock_guard lock(m_mutex);
    return static_cast<int>(
        std::count_if(m_calls.begin(), m_calls.end(), [](const Call& c) { return c.state != Call::State::Clearing; }));
}
