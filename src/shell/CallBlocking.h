#pragma once

#include "contacts/BlockList.h"

#include <QString>

#include <functional>
#include <optional>
#include <sys/types.h>

class Settings;

// "Sperrliste.txt" in the program directory and the option for callers who withhold their number:
// which incoming call is taken off before the phones ring on, and the name it is logged with. The
// file is read again whenever it changed, so that an entry kavexctl adds holds for the next call.
class CallBlocking
{
public:
    static inline const QString FileName = QStringLiteral("Sperrliste.txt");
    static inline const QString BlockedName = QStringLiteral("Gesperrt");

    CallBlocking(Settings& settings, const QString& directory);

    QString path() const { return m_path; }
    // The note of the caller's entry, else "Gesperrt"; nothing for a call that rings on. The
    // caller as the log has it, empty when withheld.
    std::optional<QString> blockedName(const QString& caller);

    // Section "Sperrliste", "OhneRufnummer": callers who withhold their number are blocked too.
    bool blockWithheld() const;
    bool setBlockWithheld(bool on);

    // The list as the file holds it now.
    const BlockList& list();
    // Each change is written at once; false with problem() telling why.
    bool add(const BlockList::Entry& entry);
    bool remove(const QString& number);
    // The entry of `number` becomes `entry` (another number, another note), in its place.
    bool replace(const QString& number, const BlockList::Entry& entry);
    // Why the last change failed; empty when it was written.
    QString problem() const { return m_problem; }
    // Why the file could not be read; empty when it was (or is missing).
    QString readProblem() const { return m_readProblem; }

private:
    void refresh();
    // Applies `change` to a copy of the list and writes it; the list stays as it was on failure.
    bool change(const std::function<QString(BlockList&)>& change);

    Settings& m_settings;
    QString m_path;
    BlockList m_list;
    QString m_readProblem; // of the last read
    QString m_problem;     // of the last change
    // What the list was read from: a rewrite renames a new file into place.
    struct Stamp
    {
        ino_t inode = 0;
        off_t size = -1;
        qint64 modifiedNs = -1;
        bool operator==(const Stamp&) const = default;
    } m_stamp;
};
