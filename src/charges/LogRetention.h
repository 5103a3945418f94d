#pragma once

#include <QString>

// The rewrites of the two call logs: the clean-up at start and the rename of a call's name. A
// rewrite never loses a record: the new log is written beside the old one and synced, the
// previous version is kept as ".out_old" / ".in_old", and only then is the new log renamed into
// place. Killed at any point, the log is either the old or the new one, whole.
namespace LogRetention {

struct Outcome
{
    bool rewritten = false; // the new log is in place
    bool missing = false;   // there was no log: nothing was created
    int error = 0;          // errno of a failure; the log is then as it was
    int renamed = 0;        // records that got the new name
};

// Internal calls are dropped always, free calls (" 0,00" or " 0.00" at characters 97..101) when
// `dropFreeCalls`; a record whose first 19 characters equal `key` gets `newName` in its 30-character
// name column. An empty key renames nothing.
Outcome rewriteOutgoing(const QString& path, const QString& key, const QString& newName, bool dropFreeCalls);
// No record is dropped; a record whose first 19 characters equal `key` gets `newName` from
// character 77 on.
Outcome rewriteIncoming(const QString& path, const QString& key, const QString& newName);

// "WinKavex.out" -> "WinKavex.out_old", "WinKavex.in" -> "WinKavex.in_old".
QString oldVersionPath(const QString& path);
// Where earlier versions wrote the new log before it replaced the old one (a rewrite now writes
// under a fresh name beside it); a start removes such leftovers, and those of a rewrite that was
// killed, where this program could have made them.
QString pendingPath(const QString& path);
void removeLeftover(const QString& path);

// What the user is told when a rename did not reach the log (it failed, or no record of that second
// was found); empty when it did.
QString renameFailure(const Outcome& outcome, const QString& path, const QString& key);

// The transformations, line by line (characters counted from 1). A rewrite keeps every line whole.
bool isInternalCall(const QString& line);
bool isFreeCall(const QString& line);
QString renamedOutgoing(const QString& line, const QString& newName);
QString renamedIncoming(const QString& line, const QString& newName);

} // namespace LogRetention
