#include "ExchangeReply.h"
#include "FakeTransport.h"
#include "MockClock.h"
#include "TestImages.h"

#include "common/MessageTable.h"
#include "config/SpeedDialTransfer.h"
#include "link/PbxLink.h"
#include "shell/AppCore.h"
#include "shell/Printout.h"
#include "shell/StatusLine.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Entry n with the two digits of n, baby call at 22 and the speed-dial permission of 21.
QByteArray entryReply(int n)
{
    return ExchangeReply::speedDialEntry(n, QByteArray::fromHex("82020100"));
}

// The program's core over a fake transport in virtual time, with a sink that records each job.
class PrintoutTest : public testing::Test
{
protected:
    void start(const ConfigImage& image)
    {
        auto transport = std::make_unique<FakeTransport>(m_clock);
        m_transport = transport.get();
        AppCore::Options options;
        options.programDir = m_dir.path();
        options.configHome = m_dir.path() + QStringLiteral("/config");
        options.clock = &m_clock;
        options.transport = std::move(transport);
        m_core = std::make_unique<AppCore>(std::move(options), CommandLine{});
        m_core->image() = image;
        m_core->decodeConfiguration();
        m_core->openPort(QStringLiteral("COM1"));
        m_core->setCommitHook([this] { ++m_commits; });
        m_core->setPrintSink([this](const PrintContent& content, const QString& pdfPath) {
            m_jobs.push_back(content);
            m_paths << pdfPath;
            m_lockedWhilePrinting = m_core->isTransferLocked();
            return m_result;
        });
    }

    void answerSpeedDialRead()
    {
        m_transport->inject(QByteArray::fromHex("81120000"));
        for (int n = 1; n <= 60; ++n) {
            m_clock.advance(40); // the two blocks of each request
            m_transport->inject(entryReply(n));
        }
    }

    int speedDialReadsSent() const
    {
        int reads = 0;
        for (const FakeTransport::Sent& s : m_transport->sent())
            reads += s.block == QByteArray::fromHex("83020200");
        return reads;
    }

    QTemporaryDir m_dir;
    MockClock m_clock;
    FakeTransport* m_transport = nullptr;
    std::unique_ptr<AppCore> m_core;
    std::vector<PrintContent> m_jobs;
    QStringList m_paths;
    Printout::Result m_result = Printout::Result::Printed;
    bool m_lockedWhilePrinting = false;
    int m_commits = 0;
};

// The speed dials are read from the exchange for the first printout that lists them, with the
// controls locked until the job has printed; later printouts use the list in memory.
TEST_F(PrintoutTest, SpeedDialsAreReadOnceThenPrinted)
{
    start(TestImages::firmware200());
    QSignalSpy lock(m_core.get(), &AppCore::transferLockChanged);
    m_core->print(PrintMode::Both, QStringLiteral("/tmp/a.pdf"));
    EXPECT_EQ(m_commits, 1);
    EXPECT_EQ(speedDialReadsSent(), 1);
    EXPECT_TRUE(m_jobs.empty());
    EXPECT_TRUE(m_core->isTransferLocked());

    answerSpeedDialRead();
    ASSERT_EQ(m_jobs.size(), 1u);
    EXPECT_TRUE(m_lockedWhilePrinting);
    EXPECT_FALSE(m_core->isTransferLocked());
    ASSERT_GE(lock.count(), 2);
    for (int i = 0; i + 1 < lock.count(); ++i)
        EXPECT_TRUE(lock.at(i).at(0).toBool()) << i; // never unlocked between the read and the job
    EXPECT_FALSE(lock.last().at(0).toBool());
    EXPECT_EQ(m_paths.value(0), QStringLiteral("/tmp/a.pdf"));
    const PrintContent& job = m_jobs[0];
    ASSERT_TRUE(job.configuration && job.speedDials);
    EXPECT_EQ(job.configuration->extensions.size(), 8u);
    EXPECT_EQ(job.speedDials->at(11).number, QStringLiteral("<12>"));
    EXPECT_EQ(job.speedDials->at(11).attributes, QStringLiteral("Baby 22 KW 21, "));

    m_core->print(PrintMode::SpeedDials);
    ASSERT_EQ(m_jobs.size(), 2u);
    EXPECT_EQ(speedDialReadsSent(), 1);
    EXPECT_FALSE(m_jobs[1].configuration);
    EXPECT_TRUE(m_jobs[1].speedDials);

    m_core->print(PrintMode::Configuration);
    ASSERT_EQ(m_jobs.size(), 3u);
    EXPECT_FALSE(m_jobs[2].speedDials);
    EXPECT_FALSE(m_core->isTransferLocked());
}

// Below firmware 2.00 nothing is read: the speed-dial page is left out, and a printout of the
// speed dials alone prints nothing and says why.
TEST_F(PrintoutTest, OldFirmwarePrintsNoSpeedDialPage)
{
    start(TestImages::firmware198());
    m_core->print(PrintMode::Both);
    ASSERT_EQ(m_jobs.size(), 1u);
    EXPECT_TRUE(m_jobs[0].configuration);
    EXPECT_FALSE(m_jobs[0].speedDials);

    m_core->print(PrintMode::SpeedDials);
    EXPECT_EQ(m_jobs.size(), 1u);
    EXPECT_EQ(m_core->statusLine().text(), MessageTable::text(Msg::NoSpeedDials));
    EXPECT_EQ(m_core->statusLine().colourLevel(), 2);
    EXPECT_EQ(speedDialReadsSent(), 0);
    EXPECT_FALSE(m_core->isTransferLocked());
}

// A failed job is reported in red and leaves the controls unlocked.
TEST_F(PrintoutTest, FailedJobsAreReported)
{
    struct Case
    {
        Printout::Result result;
        QString pdf;
        QString text;
    };
    const std::vector<Case> table = {
        {Printout::Result::NoPrinter, {}, QStringLiteral("Kein Drucker eingerichtet")},
        {Printout::Result::PrinterError, {}, QStringLiteral("Fehler beim Drucken")},
        {Printout::Result::FileError, QStringLiteral("/nirgends/k.pdf"),
         QStringLiteral("Datei /nirgends/k.pdf konnte nicht geöffnet werden")},
    };
    start(TestImages::firmware200());
    for (const Case& c : table) {
        m_result = c.result;
        m_core->print(PrintMode::Configuration, c.pdf);
        EXPECT_EQ(m_core->statusLine().text(), c.text);
        EXPECT_EQ(m_core->statusLine().colourLevel(), 2);
        EXPECT_FALSE(m_core->isTransferLocked());
    }
    EXPECT_EQ(m_jobs.size(), table.size());
}

// A time-out during the read ends it as any read; nothing is printed and the controls come back.
TEST_F(PrintoutTest, TimeOutDuringTheReadPrintsNothing)
{
    start(TestImages::firmware200());
    m_core->print(PrintMode::SpeedDials);
    m_transport->inject(QByteArray::fromHex("81120000"));
    for (int i = 0; i < 12; ++i) {
        m_clock.advance(1000);
        m_core->onSecond();
    }
    EXPECT_TRUE(m_jobs.empty());
    EXPECT_EQ(m_core->statusLine().text(), MessageTable::text(Msg::CommError, QStringLiteral("COM1")));
    EXPECT_FALSE(m_core->isTransferLocked());
    EXPECT_FALSE(m_core->isPrinting());
}

// A printout asked for while a charge reading runs waits for it: the end of that reading must not
// end the speed-dial read queued behind it.
TEST_F(PrintoutTest, PrintoutWaitsBehindAChargeReading)
{
    start(TestImages::firmware200());
    m_core->link().requestCharges();
    m_core->print(PrintMode::SpeedDials);
    EXPECT_EQ(speedDialReadsSent(), 0);
    QByteArray charges(168, '\0');
    m_transport->inject(ExchangeReply::region(21, 224, charges));
    m_clock.advance(110);
    ASSERT_EQ(speedDialReadsSent(), 1);
    answerSpeedDialRead();
    ASSERT_EQ(m_jobs.size(), 1u);
    EXPECT_EQ(m_jobs[0].speedDials->at(59).number, QStringLiteral("<60>"));
}

} // namespace

namespace {

// The speed-dial page opened first: its read is waited for, not printed half-way or sent twice.
TEST_F(PrintoutTest, ARunningReadIsWaitedFor)
{
    start(TestImages::firmware200());
    ASSERT_EQ(m_core->speedDialTransfer().start(), SpeedDialTransfer::Start::Begun);
    m_core->print(PrintMode::SpeedDials);
    EXPECT_TRUE(m_jobs.empty());
    answerSpeedDialRead();
    EXPECT_EQ(speedDialReadsSent(), 1);
    ASSERT_EQ(m_jobs.size(), 1u);
    EXPECT_EQ(m_jobs[0].speedDials->at(0).number, QStringLiteral("<01>"));
}

} // namespace
