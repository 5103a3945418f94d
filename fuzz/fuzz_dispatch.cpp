#include "FakeTransport.h"
#include "FuzzSupport.h"
#include "MockClock.h"
#include "config/BaseCodec.h"
#include "config/ExtensionCodec.h"
#include "config/SpeedDialCodec.h"
#include "image/Extensions.h"
#include "image/ImageLayout.h"
#include "link/PbxLink.h"

namespace {

using FuzzSupport::check;

// Reads the fuzz input front to back; nothing past its end.
class Input
{
public:
    Input(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    bool atEnd() const { return m_at >= m_size; }
    int byte() { return atEnd() ? 0 : m_data[m_at++]; }
    QByteArray bytes(std::size_t n)
    {
        n = std::min(n, m_size - m_at);
        const QByteArray out(reinterpret_cast<const char*>(m_data + m_at), static_cast<qsizetype>(n));
        m_at += n;
        return out;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

// The decoders the program connects to the link, run on whatever the image holds after a reply.
void decodeBase(const ConfigImage& image)
{
    const BaseSettings base = BaseCodec::decode(image);
    check(base.extensionCount >= 0 && base.extensionCount <= Extensions::Max);
    for (int g = 0; g < base.extensionCount; ++g) {
        (void)ExtensionCodec::decode(image, base, g);
        (void)ImageLayout::units(image, g);
    }
}

void checkEffect(const StateEvents& events, const StateEvents::Effect& effect)
{
    check(effect.extension >= -1 && effect.extension < Extensions::Max);
    check(effect.column >= -1 && effect.column < StateEvents::Columns);
    for (int g = 0; g < Extensions::Max; ++g)
        (void)events.display(g);
    check(events.trunkOwner(0) >= 0 && events.trunkOwner(0) <= Extensions::Max);
    check(events.trunkOwner(1) >= 0 && events.trunkOwner(1) <= Extensions::Max);
}

void checkSpeedDial(int n, const QByteArray& chunk)
{
    check(n >= 1 && n <= SpeedDialCodec::EntryCount);
    if (const auto entry = SpeedDialCodec::decodeReply(chunk))
        check(entry->number.size() <= SpeedDialCodec::MaxDigits);
}

struct Rig
{
    MockClock clock;
    FakeTransport transport{clock};
    ConfigImage image;
    PbxLink link{transport, clock, image};

    Rig()
    {
        QObject::connect(&link, &PbxLink::baseReceived, [this] { decodeBase(image); });
        QObject::connect(&link, &PbxLink::extensionsReceived, [this] { decodeBase(image); });
        QObject::connect(&link, &PbxLink::chargesReceived, [this] { decodeBase(image); });
        QObject::connect(&link, &PbxLink::imageRestored, [this] { decodeBase(image); });
        QObject::connect(&link, &PbxLink::stateEventRecord,
                         [this](const EventRecord&, const StateEvents::Effect& e) { checkEffect(link.stateEvents(), e); });
        QObject::connect(&link, &PbxLink::speedDialEntry, &checkSpeedDial);
        link.openPort(QStringLiteral("/dev/null"), QStringLiteral("COM2"));
    }

    void tick()
    {
        clock.advance(1000);
        link.onSecond();
    }

    // One step of the input: a transaction asked for, a second passing, the device going away,
    // or a chunk of up to 2048 bytes as the receive thread cuts them.
    void step(Input& in)
    {
        const int op = in.byte();
        switch (op % 8) {
        case 0:
            link.startRead();
            break;
        case 1:
            link.requestCharges();
            break;
        case 2:
            link.write((op & 8) != 0);
            break;
        case 3:
            link.readSpeedDials();
            break;
        case 4:
            if (op & 8)
                link.startUp();
            else
                link.ring({(op >> 4) & 7}, 1);
            break;
        case 5:
            tick();
            break;
        case 6:
            transport.injectHangup();
            break;
        default: {
            const int length = (in.byte() << 8 | in.byte()) % 2049;
            transport.inject(in.bytes(static_cast<std::size_t>(length)));
        }
        }
        transport.clearSent();
        check(link.progressValue() >= 0 && link.progressValue() <= link.progressMaximum());
        check(link.extensionCount() >= 0 && link.extensionCount() <= Extensions::Max);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzSupport::app();
    Rig rig;
    Input in(data, size);
    while (!in.atEnd())
        rig.step(in);
    // Whatever the exchange sent, a job waiting for it ends by the time-out.
    for (int i = 0; i < 40 && rig.link.isBusy(); ++i)
        rig.tick();
    return 0;
}
