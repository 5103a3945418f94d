#include "MockClock.h"
#include "shell/CallerNames.h"
#include "shell/Settings.h"
#include "shell/StatusLine.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void writeCard(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

} // namespace

// A folder of cards as a sync tool keeps it: three cards (one broken, one vCard 2.1 with
// quoted-printable values), then one rewritten in place and one added while the program runs.
// The new names hold for the next call after the changes have settled, without a new start.
TEST(CallerNames, AFolderOfCardsIsFollowedAsItChanges)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("kontakte"));
    ASSERT_TRUE(QDir().mkpath(folder));
    writeCard(folder + QStringLiteral("/a.vcf"), "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Erika Mustermann\r\n"
                                                 "TEL:+49 221 445566\r\nEND:VCARD\r\n");
    writeCard(folder + QStringLiteral("/b.vcf"),
              "BEGIN:VCARD\r\nVERSION:2.1\r\nN;ENCODING=QUOTED-PRINTABLE;CHARSET=UTF-8:M=C3=BCller;J=C3=BCrgen\r\n"
              "FN;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:J=FCrgen M=FCller, Gro=DFhandel f=FCr B=FCro=\r\n"
              "bedarf\r\nTEL;WORK;VOICE:089 987654\r\nEND:VCARD\r\n");
    writeCard(folder + QStringLiteral("/kaputt.vcf"), "BEGIN:VCARD\r\nVERSION:3.0\r\nTEL:0301111111\r\nEND:VCARD\r\n");
    writeCard(folder + QStringLiteral("/notiz.txt"), "BEGIN:VCARD\r\nFN:Keine Karte\r\nTEL:0302222\r\nEND:VCARD\r\n");

    MockClock clock;
    Settings settings(dir.filePath(QStringLiteral("WinKavex.INI")));
    StatusLine status;
    CallerNames names(clock, settings, status);
    names.setFile(folder);
    EXPECT_EQ(status.text(), QStringLiteral("Telefonbuch: 2 Karten mit 2 Nummern gelesen, 1 fehlerhafte Karten übersprungen"));
    EXPECT_EQ(names.nameFor(QStringLiteral("0221445566")), QStringLiteral("Erika Mustermann"));
    EXPECT_EQ(names.nameFor(QStringLiteral("089987654")), QStringLiteral("Jürgen Müller, Großhandel für Bürobedarf"));
    EXPECT_EQ(names.nameFor(QStringLiteral("0302222")), QString()) << "only .vcf files are cards";

    writeCard(folder + QStringLiteral("/a.vcf"), "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Erika Musterfrau\r\n"
                                                 "TEL:+49 221 445566\r\nEND:VCARD\r\n");
    writeCard(folder + QStringLiteral("/c.vcf"), "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Neu\r\nTEL:0401234\r\nEND:VCARD\r\n");
    // The watcher reports from the event loop; the reload waits for a quiet second of virtual time.
    QDeadlineTimer deadline(10000);
    while (names.nameFor(QStringLiteral("0401234")).isEmpty() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        clock.advance(CallerNames::SettleMs / 2);
    }
    EXPECT_EQ(names.nameFor(QStringLiteral("0401234")), QStringLiteral("Neu"));
    EXPECT_EQ(names.nameFor(QStringLiteral("0221445566")), QStringLiteral("Erika Musterfrau"));
    EXPECT_EQ(status.text(), QStringLiteral("Telefonbuch: 3 Karten mit 3 Nummern gelesen, 1 fehlerhafte Karten übersprungen"));

    // Gone while the program runs: a clear account, no old names.
    ASSERT_TRUE(QDir(folder).removeRecursively());
    deadline.setRemainingTime(10000);
    while (!names.nameFor(QStringLiteral("0401234")).isEmpty() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        clock.advance(CallerNames::SettleMs / 2);
    }
    EXPECT_EQ(names.nameFor(QStringLiteral("0401234")), QString());
    EXPECT_TRUE(status.text().startsWith(QStringLiteral("Telefonbuch ") + folder + QStringLiteral(" nicht lesbar")))
        << status.text().toStdString();
}
