#pragma once

#include <QByteArray>
#include <deque>
#include <optional>
#include <random>

class Exchange;

// Calls now and then, as the exchange reports them through state events: an outgoing call (handset
// lifted, dial tone, digits, trunk seized, connected, units counted, trunk released, hung up) or an
// incoming one (ringing, answered, hung up). One call at a time; the next begins 15..60 s after the
// last one ended, or a fixed pause after it when one is given. Times are monotonic microseconds.
class DemoCalls
{
public:
    // pauseSeconds: the fixed time before the first call and between two calls; without it the
    // pauses are drawn at random.
    explicit DemoCalls(quint32 seed, std::optional<int> pauseSeconds = std::nullopt);

    // The first call begins 5..15 s (or the fixed pause) after nowUs.
    void start(qint64 nowUs);
    // Runs every step that is due.
    void tick(qint64 nowUs, Exchange& exchange);
    std::optional<qint64> nextDeadlineUs() const;

private:
    struct Step
    {
        qint64 atUs;
        int sub; // state event sub; 0 = no event, only units
        int p1, p2, p3;
        int unitsIndex = -1; // extension index whose counter goes up by one
    };

    void planCall(qint64 nowUs, const Exchange& exchange);
    void planOutgoing(qint64 nowUs, int index, bool spontaneous);
    void planIncoming(qint64 nowUs, int index);
    qint64 randomMs(int lowMs, int highMs);
    qint64 pauseUs(int lowMs, int highMs);
    void add(qint64 atUs, int sub, int p1, int p2, int p3);

    std::mt19937 m_random;
    std::deque<Step> m_steps;
    std::optional<qint64> m_nextCallUs;
    std::optional<int> m_pauseSeconds;
    int m_channel = 0; // trunk channel of the next call: 0 = Amt1, 1 = Amt2
};
