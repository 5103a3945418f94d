#pragma once

#include "charges/OutgoingRecord.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

class SpeedDialStore;

// The fixed columns of "WinKavex.in" and how an incoming caller is named. Unlike an outgoing
// record, an incoming record is written whole, with its line break.
namespace IncomingRecord {

QStringList headerLines(); // the title, the rule of 98 "=", an empty line
// Time 1-19, three blanks, the called number 23-39, the caller 40-76, the name from 77 (at most 60).
QString line(const QDateTime& time, const QString& called, const QString& caller, const QString& name);

// A number from the network as far as it can be dialled: digits, "+", "*" and "#". Anything else
// (control bytes, blanks, letters) would break the fixed columns or reach a hook; it is dropped.
QString dialable(const QString& number);

// The caller as the log writes it. The type of number (bits 5-7 of the calling party number's
// first octet) decides the prefix: an international caller gets "00", so that a foreign caller is
// never taken for a German area code; any other caller without a leading "0" or "+" gets a "0".
// What cannot be dialled is dropped first; an empty caller (a withheld number) stays empty.
QString normalisedCaller(const QString& digits, quint8 typeOfNumberOctet);

// "Alle" on takes every call; otherwise the called number must equal the number of an MSN whose
// own switch is on. `msnNumbers` and `watched` run in step (MSN0..MSN9).
bool isWatched(const QString& called, bool watchAll, const QStringList& msnNumbers, const QList<bool>& watched);

// The first speed dial 301..360 whose stored number contains the caller names it: a stored number
// with the line-access digit in front still matches.
struct SpeedDialMatch
{
    int entry = 0; // 1..60
    QString name;  // at most 60 characters
    QString sound; // the entry's "Kurzwahlen-Sound" file, may be empty
};
std::optional<SpeedDialMatch> speedDialFor(const QString& caller, const SpeedDialStore& speedDials);

} // namespace IncomingRecord
