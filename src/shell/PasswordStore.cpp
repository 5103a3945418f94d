#include "PasswordStore.h"

#include "common/TextFile.h"
#include "common/FileMessages.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <QSaveFile>

#include <cerrno>

namespace {

const QByteArray Scheme = QByteArrayLiteral("pbkdf2-sha256");
constexpr int SaltBytes = 16;
constexpr int HashBytes = 32;
// Ten times what is written: room for stronger counts later, none that hangs a check.
constexpr int MaxIterations = 10 * PasswordStore::DefaultIterations;
constexpr qint64 MaxFileBytes = 4096;

bool equalInConstantTime(const QByteArray& a, const QByteArray& b)
{
    if (a.size() != b.size())
        return false;
    unsigned char difference = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    return difference == 0;
}

} // namespace

PasswordStore::PasswordStore(QString filePath, int iterations) : m_path(std::move(filePath)), m_iterations(iterations)
{}

QString PasswordStore::defaultPath(const QString& configHome)
{
    return configHome + QStringLiteral("/Brenvik/WinKavex.conf");
}

void PasswordStore::load()
{
    m_set = false;
    m_salt.clear();
    m_hash.clear();
    m_error.clear();
    QByteArray content;
    const int error = TextFile::readAll(m_path, MaxFileBytes, content);
    if (error == ENOENT)
        return;
    if (error != 0) {
        m_set = true;
        m_error = QStringLiteral("Kann %1 nicht lesen").arg(m_path);
        return;
    }
    content = content.trimmed();
    if (content.isEmpty())
        return;
    // scheme$iterations$salt$hash
    const QList<QByteArray> fields = content.split('$');
    bool numeric = false;
    const int iterations = fields.size() == 4 ? fields[1].toInt(&numeric) : 0;
    m_set = true;
    // A count beyond any we write would hold the program up for hours at every check.
    if (fields.size() != 4 || fields[0] != Scheme || !numeric || iterations <= 0 || iterations > MaxIterations) {
        m_error = QStringLiteral("Unbekanntes Format in %1").arg(m_path);
        return;
    }
    m_storedIterations = iterations;
    m_salt = QByteArray::fromBase64(fields[2]);
    m_hash = QByteArray::fromBase64(fields[3]);
}

bool PasswordStore::matches(const QString& text) const
{
    if (!m_set || m_hash.isEmpty() || m_salt.isEmpty())
        return false;
    return equalInConstantTime(derive(text, m_salt, m_storedIterations), m_hash);
}

bool PasswordStore::save(const QString& password)
{
    m_error.clear();
    QByteArray salt;
    QByteArray hash;
    QByteArray content;
    if (!password.isEmpty()) {
        salt.resize(SaltBytes);
        QRandomGenerator::system()->generate(salt.begin(), salt.end());
        hash = derive(password, salt, m_iterations);
        content =
            Scheme + '$' + QByteArray::number(m_iterations) + '$' + salt.toBase64() + '$' + hash.toBase64() + '\n';
    }
    const QString dir = QFileInfo(m_path).absolutePath();
    QSaveFile file(m_path);
    const bool written = QDir().mkpath(dir) && file.open(QIODevice::WriteOnly) &&
                         file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) &&
                         file.write(content) == content.size() && file.commit();
    if (!written) {
        m_error = FileMessages::cannotWrite(m_path);
        return false;
    }
    m_set = !password.isEmpty();
    m_salt = salt;
    m_hash = hash;
    m_storedIterations = m_iterations;
    return true;
}

QByteArray PasswordStore::derive(const QString& text, const QByteArray& salt, int iterations) const
{
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, text.toUtf8(), salt, iterations, HashBytes);
}
