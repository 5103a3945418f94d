#pragma once

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A test with a settings file of its own in a fresh directory, written and read as raw bytes.
class IniFileTest : public testing::Test
{
protected:
    QString iniPath() const { return m_dir.filePath(QStringLiteral("WinKavex.INI")); }

    void put(const QByteArray& bytes) const
    {
        QFile file(iniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    QByteArray bytes() const
    {
        QFile file(iniPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir m_dir;
};
