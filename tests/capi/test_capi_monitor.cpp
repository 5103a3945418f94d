#include "CapiSimHarness.h"
#include "MockClock.h"
#include "capi/TCapiAnrufMonitor.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

using State = std::pair<bool, bool>;

quint32 dwordAt(const QByteArray& m, int offset)
{
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<quint8>(m.at(offset + i));
    return value;
}

// The message as hex, its ApplID left out (the controller numbers applications per process).
QByteArray hexWithoutApplId(QByteArray m)
{
    if (m.size() >= 4)
        m.replace(2, 2, QByteArray(2, '\0'));
    return m.toHex();
}

QByteArray hexOfDword(quint32 value)
{
    QByteArray bytes;
    for (int i = 0; i < 4; ++i)
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes.toHex();
}

QByteArray command(const QByteArray& m)
{
    return m.mid(4, 2).toHex();
}

class Monitor : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QObject::connect(monitor.get(), &TCapiAnrufMonitor::incomingCall,
                         [this](const TCapiAnrufNotification& call) { calls.push_back(call); });
        QObject::connect(monitor.get(), &TCapiAnrufMonitor::stateChange,
                         [this](bool canReject, bool canChange) { states.emplace_back(canReject, canChange); });
    }

    // Every request this program sends carries message number 0, every response the number of the
    // indication it answers (the controller numbers them from 1); all carry the ApplID it got.
    void TearDown() override
    {
        monitor.reset();
        const auto puts = sim.puts();
        for (const QByteArray& m : puts) {
            if (static_cast<quint8>(m.at(5)) == 0x83)
                EXPECT_NE(m.mid(6, 2).toHex(), "0000") << m.toHex().constData();
            else
                EXPECT_EQ(m.mid(6, 2).toHex(), "0000") << m.toHex().constData();
            EXPECT_EQ(m.mid(2, 2), puts.front().mid(2, 2)) << m.toHex().constData();
        }
    }

    void listen(int rejectTimeOut)
    {
        ASSERT_TRUE(monitor->StartListen(1, rejectTimeOut));
        EXPECT_EQ(monitor->Error(), 0);
        // One from the sent LISTEN_REQ, one from its confirmation.
        ASSERT_TRUE(waitFor([this] { return states.size() == 2; }));
        EXPECT_EQ(states, (std::vector<State>{{false, true}, {false, true}}));
    }

    bool call(const QStringList& args)
    {
        const size_t before = calls.size();
        EXPECT_EQ(sim.command(QStringList{QStringLiteral("call")} + args), 0);
        return waitFor([this, before] { return calls.size() > before; });
    }

    int count(const char* wordCommand) const
    {
        int n = 0;
        for (const QByteArray& m : sim.puts())
            n += command(m) == wordCommand ? 1 : 0;
        return n;
    }

    bool waitForPut(const char* wordCommand, int times = 1)
    {
        return waitFor([this, wordCommand, times] { return count(wordCommand) >= times; });
    }

    CapiSim sim;
    MockClock clock;
    CapiLibrary library{CapiSim::libraryPath()};
    std::unique_ptr<TCapiAnrufMonitor> monitor = std::make_unique<TCapiAnrufMonitor>(clock, library);
    std::vector<TCapiAnrufNotification> calls;
    std::vector<State> states;
};

} // namespace

TEST_F(Monitor, AnIncomingCallIsAlertedAndLeftRingingUntilTheCallerHangsUp)
{
    listen(32767);
    ASSERT_TRUE(call({QStringLiteral("02214711815"), QStringLiteral("8143210")}));
    EXPECT_EQ(states.back(), State(true, false));
    ASSERT_EQ(sim.command({QStringLiteral("hangup")}), 0);
    ASSERT_TRUE(waitForPut("0483"));
    EXPECT_EQ(states.back(), State(false, true));

    const auto puts = sim.puts();
    ASSERT_EQ(puts.size(), 3u) << sim.commands().constData();
    EXPECT_EQ(puts[0].size(), 29);
    EXPECT_EQ(hexWithoutApplId(puts[0]), "1d00000005800000"
                                         "01000000"
                                         "7f000000"
                                         "fe03ff1f"
                                         "00000000"
                                         "020080"
                                         "0180");
    const QByteArray plci = hexOfDword(dwordAt(puts[1], 8));
    EXPECT_EQ(hexWithoutApplId(puts[1]), "0d00000001800000" + plci + "00");
    EXPECT_EQ(hexWithoutApplId(puts[2]), "0c00000004830200" + plci);
}

TEST_F(Monitor, NoDisturbModeTakesTheCallRefusesItsB3LinkAndClearsIt)
{
    monitor->setNoDisturbMode(true);
    listen(32767);
    ASSERT_TRUE(call({QStringLiteral("08932165487"), QStringLiteral("8143211")}));
    ASSERT_TRUE(waitForPut("0483"));
    EXPECT_EQ(states.back(), State(false, true));
    for (const State& s : states)
        EXPECT_FALSE(s.first);

    const auto puts = sim.puts();
    ASSERT_EQ(sim.commands(), "0580 0180 0283 0383 8283 0480 0483");
    const QByteArray plci = hexOfDword(dwordAt(puts[1], 8));
    const QByteArray ncci = hexOfDword(dwordAt(puts[4], 8));
    EXPECT_EQ(ncci.mid(0, 4), plci.mid(0, 4));
    EXPECT_EQ(hexWithoutApplId(puts[2]), "1c00000002830100" + plci + "0000" + "09010001000000000000" + "00000000");
    EXPECT_EQ(hexWithoutApplId(puts[3]), "0c00000003830200" + plci);
    EXPECT_EQ(hexWithoutApplId(puts[4]), "0f00000082830300" + ncci + "0200" + "00");
    EXPECT_EQ(hexWithoutApplId(puts[5]), "0d00000004800000" + plci + "00");
    EXPECT_EQ(calls.size(), 1u);
}

TEST_F(Monitor, RejectTimeOutZeroIgnoresEachCallAtOnceAndStillReportsIt)
{
    listen(0);
    ASSERT_TRUE(call({QStringLiteral("01715550123"), QStringLiteral("8143210")}));
    ASSERT_TRUE(waitForPut("0483"));
    ASSERT_EQ(sim.commands(), "0580 0180 0283 0483");
    const auto puts = sim.puts();
    const QByteArray plci = hexOfDword(dwordAt(puts[1], 8));
    EXPECT_EQ(hexWithoutApplId(puts[2]), "1300000002830100" + plci + "0100" + "0000000000");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].CallingPartyNumber, QStringLiteral("1715550123"));
    EXPECT_EQ(states.back(), State(false, true));
}

// Call A rings, call B comes 2 s later and becomes the pending call; A's caller hangs up. B is
// ignored 3 s after it came, A never gets an answer.
TEST_F(Monitor, ASecondCallReplacesThePendingCallAndRestartsTheCountDown)
{
    listen(3);
    ASSERT_TRUE(call({QStringLiteral("0301234567"), QStringLiteral("8143210")}));
    clock.advance(2000);
    ASSERT_TRUE(call({QStringLiteral("0897654321"), QStringLiteral("8143211")}));
    const quint32 plciB = dwordAt(sim.puts()[2], 8);
    ASSERT_EQ(sim.command({QStringLiteral("hangup"), QStringLiteral("0301234567")}), 0);
    ASSERT_TRUE(waitForPut("0483"));
    EXPECT_EQ(states.back(), State(true, false)) << "the end of call A must not end B's count-down";

    clock.advance(2000);
    EXPECT_EQ(count("0283"), 0) << sim.commands().constData();
    clock.advance(1000);
    ASSERT_TRUE(waitForPut("0483", 2));
    ASSERT_EQ(sim.commands(), "0580 0180 0180 0483 0283 0483");
    EXPECT_EQ(dwordAt(sim.puts()[4], 8), plciB);
    EXPECT_EQ(sim.puts()[4].mid(12, 2).toHex(), "0100");
    EXPECT_EQ(states.back(), State(false, true));
}

TEST_F(Monitor, TheCallerIsReportedAsTheNetworkDeliversIt)
{
    struct Case
    {
        QStringList args;
        const char* caller;
        const char* msn;
        quint16 cip;
        const char* service;
        quint8 typeOfNumber;
    };
    const Case cases[] = {
        {{"02214711815", "8143210"}, "2214711815", "8143210", 1, "speech", 0x21},
        {{"+33142685300", "8143212", "--cip", "17"}, "33142685300", "8143212", 17, "fax group 2/3", 0x11},
        {{"-", "8143213"}, "", "8143213", 1, "speech", 0x01},
        {{"4711", "8143219", "--type", "unknown", "--cip", "16"}, "4711", "8143219", 16, "telephony", 0x01},
        {{"0049221555", "8143210", "--type", "international", "--cip", "4"},
         "49221555",
         "8143210",
         4,
         "3.1 kHz audio",
         0x11},
    };
    listen(0);
    for (const Case& c : cases) {
        ASSERT_TRUE(call(c.args)) << c.args.join(' ').toStdString();
        const TCapiAnrufNotification& n = calls.back();
        EXPECT_EQ(n.CallingPartyNumber, QString::fromLatin1(c.caller)) << c.caller;
        EXPECT_EQ(n.CalledPartyNumber, QString::fromLatin1(c.msn)) << c.caller;
        EXPECT_EQ(n.CipValue, c.cip) << c.caller;
        EXPECT_EQ(n.CipValueString, QString::fromLatin1(c.service)) << c.caller;
        EXPECT_EQ(n.CallingTypeOfNumber, c.typeOfNumber) << c.caller;
    }
}

TEST_F(Monitor, AnsweringWithoutAPendingCallSendsNothing)
{
    listen(32767);
    monitor->AnswerCall(1);
    ASSERT_TRUE(call({QStringLiteral("02214711815"), QStringLiteral("8143210")}));
    monitor->AnswerCall(3);
    ASSERT_TRUE(waitForPut("0483"));
    monitor->AnswerCall(1);
    ASSERT_EQ(sim.commands(), "0580 0180 0283 0483");
    EXPECT_EQ(sim.puts()[2].mid(12, 2).toHex(), "0300");
}

// The block rule takes one caller off as no-disturb mode would, byte for byte; the next caller
// rings on and is only alerted.
TEST_F(Monitor, ABlockedCallerIsTakenOffAndTheNextCallerRingsOn)
{
    monitor->setBlockRule([](const TCapiAnrufNotification& call) -> std::optional<QString> {
        if (call.CallingPartyNumber == QLatin1String("8932165487"))
            return QStringLiteral("Werbung");
        return std::nullopt;
    });
    listen(32767);
    ASSERT_TRUE(call({QStringLiteral("08932165487"), QStringLiteral("8143211")}));
    ASSERT_TRUE(waitForPut("0483"));
    for (const State& s : states)
        EXPECT_FALSE(s.first);
    ASSERT_EQ(sim.commands(), "0580 0180 0283 0383 8283 0480 0483");
    const auto puts = sim.puts();
    const QByteArray plci = hexOfDword(dwordAt(puts[1], 8));
    const QByteArray ncci = hexOfDword(dwordAt(puts[4], 8));
    EXPECT_EQ(hexWithoutApplId(puts[2]), "1c00000002830100" + plci + "0000" + "09010001000000000000" + "00000000");
    EXPECT_EQ(hexWithoutApplId(puts[3]), "0c00000003830200" + plci);
    EXPECT_EQ(hexWithoutApplId(puts[4]), "0f00000082830300" + ncci + "0200" + "00");
    EXPECT_EQ(hexWithoutApplId(puts[5]), "0d00000004800000" + plci + "00");

    ASSERT_TRUE(call({QStringLiteral("02214711815"), QStringLiteral("8143210")}));
    EXPECT_EQ(states.back(), State(true, false));
    ASSERT_EQ(sim.command({QStringLiteral("hangup")}), 0);
    ASSERT_TRUE(waitForPut("0483", 2));
    EXPECT_EQ(sim.commands(), "0580 0180 0283 0383 8283 0480 0483 0180 0483");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_TRUE(calls[0].Blocked);
    EXPECT_EQ(calls[0].BlockedName, QStringLiteral("Werbung"));
    EXPECT_FALSE(calls[1].Blocked);
}
