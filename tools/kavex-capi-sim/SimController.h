#pragma once

#include "CallOffer.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct timeval;

// The simulated ISDN controller 1 behind the CAPI functions: registered applications with their
// message queues, LISTEN, and incoming calls that alert, are taken, ignored or rejected and are
// cleared as a real controller does. Thread-safe: the application's threads call in, and so does
// the control socket.
class SimController
{
public:
    using Clock = std::chrono::steady_clock;

    struct Faults
    {
        unsigned notInstalled = 0;  // result of capi20_isinstalled when non-zero
        unsigned registerError = 0; // result of capi20_register when non-zero
        unsigned releaseError = 0;  // result of capi20_release when non-zero; the application stays
        bool hangOnRelease = false; // a waiter of a released application never returns
        // As the system's library: the release wakes no waiter; one with a time-out returns when
        // it runs out, one without never.
        bool silentRelease = false;
    };

    // Every message the application puts, with the time it was put.
    using PutLog = std::function<void(const std::vector<std::uint8_t>& message)>;

    SimController();
    ~SimController();
    void setPutLog(PutLog log);

    unsigned isInstalled(const Faults& faults) const;
    unsigned registerApplication(const Faults& faults, unsigned* applId);
    unsigned release(const Faults& faults, unsigned applId);
    unsigned putMessage(unsigned applId, const unsigned char* message);
    unsigned getMessage(unsigned applId, unsigned char** message);
    unsigned waitForMessage(unsigned applId, const timeval* timeOut);

    // Offers a call to every application listening for its service; returns how many.
    int offerCall(const CallOffer& call);
    // The callers of every call still up hang up, or only those calling from number (as
    // CallOffer holds it) when one is given; returns how many.
    int hangUp(const std::optional<std::string>& number = std::nullopt);
    // Callers whose ring time has run out hang up; returns the time of the next such, if any.
    std::optional<Clock::time_point> hangUpExpired(Clock::time_point now);
    int activeCalls() const;

    static constexpr unsigned ControllerNumber = 1;

private:
    struct Application;
    struct Call;

    std::shared_ptr<Application> application(unsigned applId) const;
    Call* callByPlci(unsigned applId, std::uint32_t plci);
    Call* callByNcci(unsigned applId, std::uint32_t ncci);
    void queue(Application& app, std::vector<std::uint8_t> message);
    void confirm(Application& app, const std::vector<std::uint8_t>& request, std::uint32_t address, std::uint16_t info);
    void handle(Application& app, const std::vector<std::uint8_t>& message);
    void listen(Application& app, const std::vector<std::uint8_t>& message);
    void alert(Application& app, const std::vector<std::uint8_t>& message);
    void connectResp(Application& app, const std::vector<std::uint8_t>& message);
    void connectActiveResp(Application& app, const std::vector<std::uint8_t>& message);
    void connectB3Resp(Application& app, const std::vector<std::uint8_t>& message);
    void disconnectReq(Application& app, const std::vector<std::uint8_t>& message);
    void disconnectB3Req(Application& app, const std::vector<std::uint8_t>& message);
    void disconnectResp(Application& app, const std::vector<std::uint8_t>& message);
    void clearCall(Application& app, Call& call, std::uint16_t reason);
    std::uint32_t nextPlci();

    mutable std::mutex m_mutex;
    std::condition_variable m_queued;
    std::map<unsigned, std::shared_ptr<Application>> m_applications;
    std::vector<Call> m_calls;
    unsigned m_nextApplId = 1;
    unsigned m_nextPlciNumber = 1;
    PutLog m_putLog;
};
