#pragma once

#include <array>
#include <functional>

// The one-second timer's work, always in this order, whoever registers a duty and when.
class SecondTick
{
public:
    enum class Duty
    {
        AutoClose,    // the "AUTOENDE" countdown
        ReplyTimeout, // the link's time-out and its repeat
        Clock,        // the clock in the status bar
        TimeControl,  // stored configurations at set times
        WakeUp,       // wake-up calls
        CallDuration, // the running duration of the pending outgoing call
        Count
    };

    void set(Duty duty, std::function<void()> work);
    bool has(Duty duty) const;
    void run() const;

private:
    std::array<std::function<void()>, static_cast<std::size_t>(Duty::Count)> m_duties;
};
