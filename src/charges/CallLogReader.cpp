#include "charges/CallLogReader.h"

#include "common/FormatPicture.h"
#include "common/TextFile.h"

namespace {

constexpr int MaxLine = 128;
constexpr int HeaderLines = 3;

} // namespace

namespace CallLogReader {

Layout outgoing()
{
    return {{1, 19}, {28, 29}, {37, 58}, {59, 88}, {89, 91}, {92, 101}, {102, 109}};
}

Layout incoming()
{
    return {{1, 19}, {23, 39}, {40, 76}, {77, 106}};
}

Result load(const QString& path, const Layout& layout, const QDate& since)
{
    Result result;
    int index = 0;
    result.error = TextFile::forEachLine(path, MaxLine, [&](const QString& line) {
        if (index++ < HeaderLines || line.isEmpty())
            return;
        const QDate day = FormatPicture::parseDate(QStringView(line).left(10));
        if (!day.isValid() || (since.isValid() && day < since))
            return;
        QStringList fields;
        fields.reserve(layout.size());
        for (const Field& field : layout)
            fields << line.mid(field.first - 1, field.last - field.first + 1).trimmed();
        result.rows.push_back(std::move(fields));
    });
    return result;
}

QDate windowStart(const QDate& today, int days)
{
    return today.addDays(-days);
}

} // namespace CallLogReader
