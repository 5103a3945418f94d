#include "E2eHarness.h"

#include "config/BaseConfig.h"
#include "config/ConfigFile.h"
#include "config/ExtensionConfig.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// An edited configuration file written with `kavexctl write` into kavex-sim, read back with
// `kavexctl read --json`, and the write's cells checked byte for byte in the simulator's log.
namespace {

// The cells of a payload: header 3 while more than three bytes remain, else 0x80 + n; the
// padding of the last cell carries the bytes that follow the payload in the image.
QList<QByteArray> cellsOf(const QByteArray& payload, const QByteArray& following)
{
    const QByteArray buffer = payload + following + QByteArray(3, '\0');
    QList<QByteArray> cells;
    const int n = static_cast<int>(payload.size());
    for (int i = 0; i < n; i += 3) {
        const char header = static_cast<char>(i < n - 3 ? 0x03 : 0x80 + (n - i));
        cells.append(header + buffer.mid(i, 3));
    }
    return cells;
}

QByteArray imageBytes(const ConfigImage& image, int from, int length)
{
    return image.toByteArray().mid(from, length);
}

// Base bytes 0..111 with kind 9, kind 7 and each record's first 26 (below 2.00: 21) bytes, the
// end payload 12, and with units kind 5 and 16 (below 2.00: 128) charge bytes.
QList<QByteArray> expectedWrite(const ConfigImage& image, bool units)
{
    const bool fast = image[4] * 100 + image[5] >= 200;
    const int stride = fast ? 27 : 24, sent = fast ? 26 : 21;
    QList<QByteArray> cells = cellsOf('\x09' + imageBytes(image, 1, 111), imageBytes(image, 112, 2));
    for (int g = 0; g < image[2]; ++g) {
        const int at = 301 + stride * g;
        cells += cellsOf('\x07' + imageBytes(image, at, sent), imageBytes(image, at + sent, 2));
    }
    cells += cellsOf(QByteArray(1, '\x0C'), {});
    if (units) {
        const int length = fast ? 17 : 129;
        cells += cellsOf('\x05' + imageBytes(image, 801, length - 1), imageBytes(image, 800 + length, 2));
    }
    return cells;
}

struct Exchange
{
    SimulatedExchange sim;
    QString dir() const { return sim.dir(); }
    CtlRun ctl(const QStringList& args, int timeoutMs = 120000)
    {
        return runKavexctl(
            QStringList{QStringLiteral("--port"), sim.device(), QStringLiteral("--timeout"), QStringLiteral("10")} +
                args,
            sim.dir(), timeoutMs);
    }
    QList<QByteArray> cellBytes() const
    {
        QList<QByteArray> bytes;
        for (const SimulatedExchange::Cell& cell : sim.cells())
            bytes.append(cell.bytes);
        return bytes;
    }
};

// Reads the exchange into a file and returns its image.
ConfigImage readImage(Exchange& exchange)
{
    const QString path = exchange.sim.path(QStringLiteral("read.kvx"));
    const CtlRun run = exchange.ctl({QStringLiteral("read"), QStringLiteral("--save"), path});
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    return ConfigFile::read(path).value_or(ConfigImage());
}

// Writes an image as a file with kavexctl write, then reads it back as JSON. Checks the cells.
QJsonObject writeAndReadBack(Exchange& exchange, const ConfigImage& edited, bool units)
{
    const QString path = exchange.sim.path(QStringLiteral("edited.KVX"));
    EXPECT_EQ(ConfigFile::save(path, edited), std::nullopt);
    const qsizetype before = exchange.cellBytes().size();
    QStringList args{QStringLiteral("write"), path};
    if (units)
        args << QStringLiteral("--units");
    const CtlRun write = exchange.ctl(args);
    EXPECT_EQ(write.exitCode, 0) << write.err.constData();
    const QList<QByteArray> expected = expectedWrite(edited, units);
    const QList<QByteArray> written = exchange.cellBytes().mid(before, expected.size());
    EXPECT_EQ(written.size(), expected.size());
    for (qsizetype i = 0; i < std::min(written.size(), expected.size()); ++i)
        EXPECT_EQ(written[i].toHex(' '), expected[i].toHex(' ')) << "cell " << i;

    const CtlRun read = exchange.ctl({QStringLiteral("read"), QStringLiteral("--json")});
    EXPECT_EQ(read.exitCode, 0) << read.err.constData();
    return QJsonDocument::fromJson(read.out).object();
}

QJsonArray numbers(std::initializer_list<int> list)
{
    QJsonArray array;
    for (const int n : list)
        array.append(n);
    return array;
}

TEST(EndToEndConfig, EditedFileWrittenAndReadBack)
{
    Exchange exchange;
    ASSERT_TRUE(exchange.sim.start());
    ConfigImage image = readImage(exchange);
    ASSERT_EQ(image[4] * 100 + image[5], 200);

    BaseConfig base(image);
    ExtensionConfig extensions(image, base);
    MsnPageFields msn = base.select(5, base.showSelected());
    msn.number = QStringLiteral("12345");
    msn.assigned = {true, false, true, false, false, false, false, false};
    msn.rhythmChoice = 3; // "Rhytmus 2"
    msn.holdChoice = 4;   // "Nebenstelle 23"
    base.storeSelected(msn);
    ExtensionPageFields ext = extensions.select(3, extensions.showSelected());
    ext.target = QStringLiteral("23");
    ext.mode = 4;       // "nach fünf Rufen"
    ext.permission = 1; // "Inland"
    ext.pin = QStringLiteral("7");
    ext.units = QStringLiteral("500");
    extensions.storeSelected(ext);

    const QJsonObject json = writeAndReadBack(exchange, image, true);
    const QJsonObject sixth = json[QStringLiteral("msn")].toArray().at(5).toObject();
    EXPECT_EQ(sixth[QStringLiteral("number")].toString(), QStringLiteral("12345"));
    EXPECT_EQ(sixth[QStringLiteral("rhythm")].toString(), QStringLiteral("Rhythmus 2"));
    EXPECT_EQ(sixth[QStringLiteral("ring")].toArray(), numbers({21, 23}));
    EXPECT_EQ(json[QStringLiteral("music_on_hold")].toString(), QStringLiteral("Nein"));
    EXPECT_EQ(json[QStringLiteral("message_on_hold")].toString(), QStringLiteral("Anschluß 23"));
    const QJsonObject fourth = json[QStringLiteral("extension")].toArray().at(3).toObject();
    EXPECT_EQ(fourth[QStringLiteral("number")].toInt(), 24);
    EXPECT_EQ(fourth[QStringLiteral("forwarding")].toString(), QStringLiteral("23"));
    EXPECT_EQ(fourth[QStringLiteral("forwarding_mode")].toString(), QStringLiteral("(5 Rufe)"));
    EXPECT_EQ(fourth[QStringLiteral("permission")].toString(), QStringLiteral("Inland"));
    EXPECT_EQ(fourth[QStringLiteral("pin")].toString(), QStringLiteral("0007"));
    EXPECT_EQ(json[QStringLiteral("units")].toArray().at(3).toInt(), 500);
    EXPECT_EQ(json[QStringLiteral("units")].toArray().size(), 8);

    // Everything else came back as it was.
    EXPECT_EQ(readImage(exchange).toByteArray().left(800), image.toByteArray().left(800));
}

// kavexctl with its own configuration folder (the password store) and `input` on standard input.
CtlRun ctlWithInput(Exchange& exchange, const QString& configHome, const QStringList& args, const QByteArray& input)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    process.setProcessEnvironment(env);
    process.start(binary(QStringLiteral("kavexctl")), QStringList{QStringLiteral("--dir"), exchange.sim.dir(),
                                                                  QStringLiteral("--port"), exchange.sim.device()} +
                                                          args);
    process.write(input);
    process.closeWriteChannel();
    CtlRun run;
    run.finished = process.waitForFinished(60000);
    run.exitCode = process.exitCode();
    run.err = process.readAllStandardError();
    return run;
}

// With a password set, kavexctl sends nothing without it: not asked (no terminal), wrong, then right.
TEST(EndToEndConfig, WriteAsksForTheConfigurationPassword)
{
    Exchange exchange;
    ASSERT_TRUE(exchange.sim.start());
    QTemporaryDir config;
    const QString path = exchange.sim.path(QStringLiteral("file.KVX"));
    ASSERT_EQ(ConfigFile::save(path, sampleImage(2, 0, 8)), std::nullopt);
    const QString mismatch = QString::fromUtf8(
        ctlWithInput(exchange, config.path(), {QStringLiteral("password"), QStringLiteral("--password-stdin")},
                     "\nKavex\nkavex\n")
            .err);
    EXPECT_TRUE(mismatch.contains(QStringLiteral("Paßwort-Wiederholung stimmt nicht"))) << mismatch.toStdString();
    ASSERT_EQ(ctlWithInput(exchange, config.path(), {QStringLiteral("password"), QStringLiteral("--password-stdin")},
                           "\nKavex\nKavex\n")
                  .exitCode,
              0);
    struct Case
    {
        QStringList args;
        QByteArray input;
        int exitCode;
    };
    const QStringList write{QStringLiteral("write"), path};
    for (const Case& c :
         {Case{write, "Kavex\n", 1}, Case{write + QStringList{QStringLiteral("--password-stdin")}, "kavex\n", 1},
          Case{write + QStringList{QStringLiteral("--password-stdin")}, "Kavex\n", 0}}) {
        const qsizetype before = exchange.cellBytes().size();
        const CtlRun run = ctlWithInput(exchange, config.path(), c.args, c.input);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.constData();
        if (c.exitCode != 0) {
            EXPECT_TRUE(QString::fromUtf8(run.err).contains(QStringLiteral("Falsches Paßwort"))) << run.err.constData();
        }
        EXPECT_EQ(exchange.cellBytes().size() > before, c.exitCode == 0) << c.input.constData();
    }
}

TEST(EndToEndConfig, OldFirmwareFileUsesShortRecords)
{
    Exchange exchange;
    ASSERT_TRUE(exchange.sim.start({QStringLiteral("--firmware"), QStringLiteral("1.98")}));
    ConfigImage image = readImage(exchange);
    ASSERT_EQ(image[4] * 100 + image[5], 198);

    BaseConfig base(image);
    ExtensionConfig extensions(image, base);
    MsnPageFields msn = base.select(6, base.showSelected());
    msn.number = QStringLiteral("4711");
    msn.assigned = {false, true, false, false, false, false, false, false};
    base.storeSelected(msn);
    ExtensionPageFields ext = extensions.select(7, extensions.showSelected());
    ext.target = QStringLiteral("0301234");
    ext.mode = -1;
    extensions.storeSelected(ext);

    const QJsonObject json = writeAndReadBack(exchange, image, false);
    const QJsonObject seventh = json[QStringLiteral("msn")].toArray().at(6).toObject();
    EXPECT_EQ(seventh[QStringLiteral("number")].toString(), QStringLiteral("4711"));
    EXPECT_EQ(seventh[QStringLiteral("rhythm")].toString(), QStringLiteral("n.v."));
    EXPECT_EQ(seventh[QStringLiteral("ring")].toArray(), numbers({22}));
    const QJsonObject last = json[QStringLiteral("extension")].toArray().at(7).toObject();
    EXPECT_EQ(last[QStringLiteral("forwarding")].toString(), QStringLiteral("0301234"));
    EXPECT_EQ(last[QStringLiteral("forwarding_mode")].toString(), QStringLiteral("(sofort)"));
}

TEST(EndToEndConfig, ShortFilesAreRefused)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("short.kvx")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(QByteArray(1000, '\x11')), 1000);
    file.close();
    for (const QString& command : {QStringLiteral("write"), QStringLiteral("decode")}) {
        // No exchange is needed: the file is refused before any port is opened.
        const CtlRun run =
            runKavexctl({QStringLiteral("--port"), dir.filePath(QStringLiteral("none")), command, file.fileName()},
                        dir.path(), 20000);
        EXPECT_EQ(run.exitCode, 1) << command.toStdString();
        EXPECT_EQ(run.err, QStringLiteral("Datei %1 konnte nicht geöffnet werden\n").arg(file.fileName()).toUtf8());
        EXPECT_TRUE(run.out.isEmpty());
    }
}

} // namespace
