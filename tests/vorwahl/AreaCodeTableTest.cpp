#include "common/Cp1252.h"
#include "vorwahl/Vorwahl.h"

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <array>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace {

struct Row
{
    QString key;
    QString name;
};

std::vector<Row> dataFileRows()
{
    QFile file(qEnvironmentVariable("KAVEX_SOURCE_DIR") + QStringLiteral("/src/vorwahl/data/areacodes-de.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    std::vector<Row> rows;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QString text = QString::fromUtf8(line);
        const qsizetype bar = text.indexOf(QLatin1Char('|'));
        rows.push_back({text.left(bar), text.mid(bar + 1)});
    }
    return rows;
}

QString lookupPlace(const QString& number, QString* formatted)
{
    const QByteArray bytes = Cp1252::fromUnicode(number);
    std::array<unsigned char, 256> input{};
    input[0] = static_cast<unsigned char>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), input.begin() + 1);
    std::array<unsigned char, 256> formattedBuffer{};
    std::array<unsigned char, 256> placeBuffer{};
    GetVorwahl(input.data(), formattedBuffer.data(), 255, placeBuffer.data(), 255);
    *formatted = Cp1252::toUnicode(QByteArrayView(formattedBuffer.data() + 1, formattedBuffer[0]));
    return Cp1252::toUnicode(QByteArrayView(placeBuffer.data() + 1, placeBuffer[0]));
}

// The library's answer in its own bytes.
std::pair<std::string, std::string> rawLookup(const std::string& number)
{
    std::array<unsigned char, 256> input{static_cast<unsigned char>(number.size())};
    std::copy(number.begin(), number.end(), input.begin() + 1);
    std::array<unsigned char, 256> formatted{};
    std::array<unsigned char, 256> place{};
    GetVorwahl(input.data(), formatted.data(), 255, place.data(), 255);
    return {std::string(formatted.begin() + 1, formatted.begin() + 1 + formatted[0]),
            std::string(place.begin() + 1, place.begin() + 1 + place[0])};
}

struct Generated
{
    int exitCode = -1;
    QByteArray output;
    QByteArray errors;
};

Generated generate(const QByteArray& input)
{
    QTemporaryDir dir;
    QFile in(dir.filePath(QStringLiteral("codes.txt")));
    if (!in.open(QIODevice::WriteOnly) || in.write(input) != input.size())
        return {};
    in.close();
    const QString outPath = dir.filePath(QStringLiteral("rows.inc"));
    QProcess process;
    process.start(QStringLiteral(VORWAHL_TABLE_GENERATOR), {in.fileName(), outPath});
    if (!process.waitForFinished(30000))
        return {};
    Generated result;
    result.exitCode = process.exitCode();
    result.errors = process.readAllStandardError();
    QFile out(outPath);
    if (out.open(QIODevice::ReadOnly))
        result.output = out.readAll();
    return result;
}

} // namespace

// The whole data file reaches the library: each key, dialled alone, finds its own name in Windows-1252.
TEST(AreaCodeTable, HoldsEveryRowOfTheDataFile)
{
    const std::vector<Row> rows = dataFileRows();
    ASSERT_GT(rows.size(), 5000u);
    int twoDigitKeys = 0;
    for (const Row& row : rows) {
        QString formatted;
        const QString place = lookupPlace(QLatin1Char('0') + row.key, &formatted);
        EXPECT_EQ(formatted, QStringLiteral("(0%1) ").arg(row.key)) << row.key.toStdString();
        EXPECT_EQ(place, QLatin1Char('[') + row.name + QLatin1Char(']')) << row.key.toStdString();
        twoDigitKeys += row.key.size() == 2 ? 1 : 0;
    }
    EXPECT_EQ(twoDigitKeys, 4);
}

// Every beginning of every code, followed by each digit and more: the longest code of the data file
// that the number starts with, found here by trying every length, with the place that code alone
// has (the test above holds those to the data file).
TEST(AreaCodeTable, FindsTheLongestCodeThatANumberStartsWith)
{
    std::set<std::string> codes;
    for (const Row& row : dataFileRows())
        codes.insert(row.key.toStdString());
    ASSERT_GT(codes.size(), 5000u);
    std::set<std::string> numbers;
    for (const std::string& code : codes) {
        for (std::size_t n = 2; n <= code.size(); ++n) {
            for (char digit = '0'; digit <= '9'; ++digit)
                numbers.insert(code.substr(0, n) + digit + "4567");
        }
    }
    int unknown = 0;
    for (const std::string& national : numbers) {
        std::size_t longest = 0;
        for (std::size_t n = 2; n <= national.size(); ++n)
            longest = codes.contains(national.substr(0, n)) ? n : longest;
        const auto [formatted, place] = rawLookup("0" + national);
        if (longest == 0) {
            ++unknown;
            EXPECT_EQ(formatted, "0" + national);
            EXPECT_EQ(place, "") << national;
            continue;
        }
        EXPECT_EQ(formatted, "(0" + national.substr(0, longest) + ") " + national.substr(longest));
        EXPECT_EQ(place, rawLookup("0" + national.substr(0, longest)).second) << national;
    }
    EXPECT_GT(unknown, 100); // below a five-digit code's first four digits, where no shorter code is
}

TEST(AreaCodeTableGenerator, WritesWindows1252RowsAndSkipsComments)
{
    const Generated g = generate("# comment\r\n"
                                 "\r\n"
                                 "221|K\xc3\xb6ln\r\n"
                                 "441|Oldenburg \n"
                                 "1801|City \"\\Tarif\" \xe2\x82\xac"
                                 "1\n"
                                 "33039|Gro\xc3\x9f Behnitz");
    ASSERT_EQ(g.exitCode, 0) << g.errors.toStdString();
    const QList<QByteArray> lines = g.output.split('\n');
    ASSERT_EQ(lines.size(), 6); // a generated-file note, four rows, and the final line end
    EXPECT_TRUE(lines[0].startsWith("//"));
    EXPECT_EQ(lines[1], "{221, \"K\\366ln\"},");
    EXPECT_EQ(lines[2], "{441, \"Oldenburg \"},");
    EXPECT_EQ(lines[3], "{1801, \"City \\\"\\\\Tarif\\\" \\2001\"},");
    EXPECT_EQ(lines[4], "{33039, \"Gro\\337 Behnitz\"},");
}

TEST(AreaCodeTableGenerator, RefusesMalformedRowsWithTheirLineNumber)
{
    struct Bad
    {
        QByteArray input;
        const char* reason;
    };
    const Bad bad[] = {
        {"# x\n30|Berlin\n30|Berlin-Mitte\n", ":3: key 30 appears twice"},
        {"30 Berlin\n", ":1: expected KEY|NAME"},
        {"3a|Berlin\n", ":1: key is not a decimal number"},
        {"030|Berlin\n", ":1: key is written without the leading trunk 0"},
        {"123456|Zu lang\n", ":1: key must have 1 to 5 digits"},
        {"|Leer\n", ":1: key must have 1 to 5 digits"},
        {"30|\n", ":1: empty name"},
        {"30|K\xf6ln\n", ":1: name is not valid UTF-8"},
        {"30|K\xc3\n", ":1: name is not valid UTF-8"},
        {"30|\xc0\xb0\n", ":1: name is not valid UTF-8"},
        {"30|\xc5\x81\xc3\xb3\x64\xc5\xba\n", ":1: name has a character that Windows-1252 cannot hold"},
        {"30|Tab\there\n", ":1: control character in name"},
        {"# only comments\n", ": no rows"},
    };
    for (const Bad& b : bad) {
        const Generated g = generate(b.input);
        EXPECT_EQ(g.exitCode, 1) << b.reason;
        EXPECT_TRUE(g.errors.contains(b.reason)) << "expected " << b.reason << ", got " << g.errors.toStdString();
        EXPECT_TRUE(g.output.isEmpty()) << b.reason;
    }
}
