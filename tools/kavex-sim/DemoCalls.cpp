#include "DemoCalls.h"

#include "Exchange.h"
#include "image/Firmware.h"
#include "image/ImageLayout.h"

#include <algorithm>
#include <vector>

namespace {

// State event subs and the columns of sub 2.
constexpr int SubLine = 2, SubRing = 3, SubHandset = 4, SubDigit = 5;
constexpr int ColumnDialTone = 5;

// Numbers the demo dials: places all over the country, a mobile, and a speed-dial code.
const char* const Numbers[] = {"0301234567",  "0897654321", "022112345",  "0401122334", "017012345678",
                               "07111234567", "051198765",  "0691234567", "305"};

constexpr qint64 msToUs(qint64 ms)
{
    return ms * 1000;
}

bool canCallOut(const ConfigImage& image, int index)
{
    const int record = ImageLayout::recordOffset(index, Firmware::version(image));
    const int permission = image[record + 1]; // 3 incoming only, 4 none
    const int service = image[record + 2];    // 0 telephone, 5 combined
    return permission < 3 && (service == 0 || service == 5);
}

} // namespace

DemoCalls::DemoCalls(quint32 seed, std::optional<int> pauseSeconds) : m_random(seed), m_pauseSeconds(pauseSeconds) {}

qint64 DemoCalls::randomMs(int lowMs, int highMs)
{
    return std::uniform_int_distribution<int>(lowMs, highMs)(m_random);
}

// A fixed pause draws no random number, so a seed gives the same calls for every fixed pause.
qint64 DemoCalls::pauseUs(int lowMs, int highMs)
{
    return m_pauseSeconds ? msToUs(qint64{*m_pauseSeconds} * 1000) : msToUs(randomMs(lowMs, highMs));
}

void DemoCalls::start(qint64 nowUs)
{
    m_nextCallUs = nowUs + pauseUs(5000, 15000);
}

void DemoCalls::add(qint64 atUs, int sub, int p1, int p2, int p3)
{
    m_steps.push_back({atUs, sub, p1, p2, p3});
}

void DemoCalls::tick(qint64 nowUs, Exchange& exchange)
{
    if (m_steps.empty() && m_nextCallUs && *m_nextCallUs <= nowUs)
        planCall(nowUs, exchange);
    while (!m_steps.empty() && m_steps.front().atUs <= nowUs) {
        const Step step = m_steps.front();
        m_steps.pop_front();
        if (step.unitsIndex >= 0)
            exchange.addUnits(step.unitsIndex, 1);
        if (step.sub != 0)
            exchange.sendEvent(step.sub, step.p1, step.p2, step.p3, nowUs);
        if (m_steps.empty())
            m_nextCallUs = step.atUs + pauseUs(15000, 60000);
    }
}

std::optional<qint64> DemoCalls::nextDeadlineUs() const
{
    if (!m_steps.empty())
        return m_steps.front().atUs;
    return m_nextCallUs;
}

void DemoCalls::planCall(qint64 nowUs, const Exchange& exchange)
{
    const int count = exchange.extensionCount();
    if (count == 0) {
        m_nextCallUs = nowUs + msToUs(60000);
        return;
    }
    std::vector<int> callers;
    for (int i = 0; i < count; ++i) {
        if (canCallOut(exchange.image(), i))
            callers.push_back(i);
    }
    const bool outgoing = !callers.empty() && randomMs(0, 3) != 0;
    if (outgoing) {
        const int index = callers[static_cast<std::size_t>(randomMs(0, static_cast<int>(callers.size()) - 1))];
        planOutgoing(nowUs, index, ImageLayout::spontaneousTrunkAccess(exchange.image(), index));
    } else {
        planIncoming(nowUs, static_cast<int>(randomMs(0, count - 1)));
    }
    m_channel = 1 - m_channel;
}

void DemoCalls::planOutgoing(qint64 nowUs, int index, bool spontaneous)
{
    const QByteArray number(Numbers[randomMs(0, std::size(Numbers) - 1)]);
    qint64 t = nowUs;
    add(t, SubHandset, index, 0, 1);
    add(t += msToUs(300), SubLine, ColumnDialTone, index, 1);
    t += msToUs(randomMs(800, 2000));
    add(t, SubLine, ColumnDialTone, index, 0);
    // Without spontaneous trunk access the caller dials 0 for the trunk first; a speed-dial code
    // (301..360) is dialled as it is and the exchange takes the trunk itself.
    const bool speedDial = number.startsWith('3');
    const QByteArray digits = spontaneous || speedDial ? number : QByteArray("0") + number;
    const auto code = [](char digit) { return digit == '0' ? 10 : digit - '0'; };
    add(t, SubDigit, index, 0, code(digits[0]));
    // The trunk channel: its lamp (column value 0/1) and its owner (value 2/3).
    add(t += msToUs(200), SubLine, m_channel, index, 1);
    add(t, SubLine, m_channel + 2, index, 1);
    for (int i = 1; i < digits.size(); ++i)
        add(t += msToUs(randomMs(250, 600)), SubDigit, index, 0, code(digits[i]));
    // Connected: the dialling is over and the first unit is counted.
    add(t += msToUs(randomMs(2000, 4000)), SubLine, m_channel + 2, index, 0);
    m_steps.back().unitsIndex = index;
    const qint64 talkMs = randomMs(8000, 40000);
    for (qint64 u = 6000; u < talkMs; u += 6000)
        m_steps.push_back({t + msToUs(u), 0, 0, 0, 0, index});
    add(t += msToUs(talkMs), SubLine, m_channel, index, 0);
    add(t += msToUs(800), SubHandset, index, 0, 0);
}

void DemoCalls::planIncoming(qint64 nowUs, int index)
{
    qint64 t = nowUs;
    add(t, SubLine, m_channel, index, 1);
    add(t, SubRing, index, 0, 1);
    add(t += msToUs(randomMs(2000, 6000)), SubRing, index, 0, 0);
    add(t, SubHandset, index, 0, 1);
    add(t += msToUs(randomMs(5000, 20000)), SubLine, m_channel, index, 0);
    add(t += msToUs(500), SubHandset, index, 0, 0);
}
