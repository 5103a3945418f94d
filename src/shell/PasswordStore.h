#pragma once

#include <QByteArray>
#include <QString>

// The configuration password. Kept as a salted PBKDF2-SHA256 hash (never the plain text) in a file
// that only the user can read; comparison stays exact and case-sensitive. An absent file, or one
// holding no hash, means no password is set.
class PasswordStore
{
public:
    static constexpr int DefaultIterations = 100000;

    explicit PasswordStore(QString filePath, int iterations = DefaultIterations);

    // "$XDG_CONFIG_HOME/Brenvik/WinKavex.conf" for the given config home.
    static QString defaultPath(const QString& configHome);

    // Reads the stored hash once (start-up). A file that cannot be read or parsed keeps a password
    // in force that nothing matches, so a damaged store never opens the exchange to writes.
    void load();
    bool isSet() const { return m_set; }
    // A store that exists but cannot be read or understood: writes stay guarded, and errorString()
    // says why, since no password can match.
    bool isDamaged() const { return m_set && m_hash.isEmpty(); }
    bool matches(const QString& text) const;
    // Stores `password` (empty removes it) and makes it current at once. False, with errorString(),
    // when the file cannot be written; the previous password then stays in force.
    bool save(const QString& password);

    QString filePath() const { return m_path; }
    QString errorString() const { return m_error; }

private:
    QByteArray derive(const QString& text, const QByteArray& salt, int iterations) const;

    QString m_path;
    int m_iterations;
    bool m_set = false;
    QByteArray m_salt;
    QByteArray m_hash;
    int m_storedIterations = 0;
    QString m_error;
};
