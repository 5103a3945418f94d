#include "shell/PasswordStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

constexpr int FastIterations = 1000;

class PasswordStoreTest : public testing::Test
{
protected:
    QString path() const { return PasswordStore::defaultPath(m_dir.path()); }
    QByteArray fileContent() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
};

TEST_F(PasswordStoreTest, NoFileMeansNoPassword)
{
    PasswordStore store(path(), FastIterations);
    store.load();
    EXPECT_FALSE(store.isSet());
    EXPECT_FALSE(store.matches(QString()));
    EXPECT_EQ(path(), m_dir.path() + "/Brenvik/WinKavex.conf");
}

TEST_F(PasswordStoreTest, SavedPasswordMatchesExactlyAndSurvivesAReload)
{
    PasswordStore store(path(), FastIterations);
    ASSERT_TRUE(store.save("Paßwort1"));
    EXPECT_TRUE(store.isSet());

    PasswordStore reloaded(path(), FastIterations);
    reloaded.load();
    ASSERT_TRUE(reloaded.isSet());
    EXPECT_TRUE(reloaded.matches("Paßwort1"));
    for (const char* wrong : {"paßwort1", "PASSWORT1", "Paßwort", "Paßwort1 ", "Passwort1", ""})
        EXPECT_FALSE(reloaded.matches(QString::fromUtf8(wrong))) << wrong;
}

TEST_F(PasswordStoreTest, FileIsPrivateAndHoldsNoPlainText)
{
    PasswordStore store(path(), FastIterations);
    ASSERT_TRUE(store.save("Geheim"));
    struct stat info
    {};
    ASSERT_EQ(stat(QFile::encodeName(path()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    const QByteArray first = fileContent();
    EXPECT_FALSE(first.contains("Geheim"));
    EXPECT_TRUE(first.startsWith("pbkdf2-sha256$1000$"));

    // Salted: the same password stored again gives another file.
    ASSERT_TRUE(store.save("Geheim"));
    EXPECT_NE(fileContent(), first);
}

TEST_F(PasswordStoreTest, EmptyPasswordRemovesIt)
{
    PasswordStore store(path(), FastIterations);
    ASSERT_TRUE(store.save("abc"));
    ASSERT_TRUE(store.save(QString()));
    EXPECT_FALSE(store.isSet());
    PasswordStore reloaded(path(), FastIterations);
    reloaded.load();
    EXPECT_FALSE(reloaded.isSet());
}

TEST_F(PasswordStoreTest, RefusedWriteKeepsThePreviousPassword)
{
    // A regular file where the folder should be: no user, root included, can write below it.
    QFile blocker(m_dir.path() + "/Brenvik");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    PasswordStore store(path(), FastIterations);
    EXPECT_FALSE(store.save("neu"));
    EXPECT_EQ(store.errorString(), "Kann nicht nach " + path() + " schreiben");
    EXPECT_FALSE(store.isSet());
}

TEST_F(PasswordStoreTest, DamagedStoreKeepsWritesGuarded)
{
    QDir().mkpath(m_dir.path() + "/Brenvik");
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Geheim\n");
    file.close();
    PasswordStore store(path(), FastIterations);
    store.load();
    EXPECT_TRUE(store.isSet());
    EXPECT_FALSE(store.matches("Geheim"));
    EXPECT_FALSE(store.errorString().isEmpty());
}

// A count far beyond any written would hold every check up for hours: it is no store of ours,
// and no text matches it.
TEST_F(PasswordStoreTest, AnIterationCountBeyondTheBoundIsRefused)
{
    QDir().mkpath(m_dir.path() + "/Brenvik");
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("pbkdf2-sha256$2147483647$c2FsdA==$aGFzaA==\n");
    file.close();
    PasswordStore store(path(), FastIterations);
    store.load();
    EXPECT_TRUE(store.isSet());
    EXPECT_EQ(store.errorString(), "Unbekanntes Format in " + path());
    EXPECT_FALSE(store.matches("x"));
}

} // namespace
