#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

// Expected files in tests/data, compared byte for byte. With KAVEX_REGENERATE=1 in the
// environment the actual bytes are written there instead (see tests/data/README.md).
namespace Golden {

inline QString path(const QString& name)
{
    return qEnvironmentVariable("KAVEX_SOURCE_DIR") + QStringLiteral("/tests/data/") + name;
}

inline testing::AssertionResult matches(const QString& name, const QByteArray& actual)
{
    QFile file(path(name));
    if (qEnvironmentVariableIntValue("KAVEX_REGENERATE") == 1) {
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(actual) != actual.size())
            return testing::AssertionFailure() << "cannot write " << file.fileName().toStdString();
        return testing::AssertionSuccess() << "regenerated";
    }
    if (!file.open(QIODevice::ReadOnly))
        return testing::AssertionFailure() << "no golden file " << file.fileName().toStdString();
    const QByteArray expected = file.readAll();
    if (expected == actual)
        return testing::AssertionSuccess();
    qsizetype at = 0;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at])
        ++at;
    return testing::AssertionFailure() << name.toStdString() << ": " << actual.size() << " bytes against "
                                       << expected.size() << ", first difference at byte " << at << ": expected "
                                       << expected.mid(at, 16).toHex(' ').toStdString() << ", got "
                                       << actual.mid(at, 16).toHex(' ').toStdString();
}

} // namespace Golden
