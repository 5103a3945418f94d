#pragma once

#include <QString>
#include <QStringList>

class QAbstractItemModel;

// The rows a call list shows, for other programs: CSV (UTF-8, one header row, fields quoted
// where RFC 4180 needs it, CR LF) and JSON (one object per call, keyed by the column headings).
namespace CallListExport {
// A cell that begins with "=", "+", "-", "@", a tab or a CR gets a "'" before it, so that no
// spreadsheet program runs it as a formula.
QString csvField(const QString& text);
QByteArray csv(const QAbstractItemModel& model);
QByteArray json(const QAbstractItemModel& model);
// Writes the CSV beside the target and renames it into place; false (nothing changed) on failure.
bool writeCsv(const QAbstractItemModel& model, const QString& path);
} // namespace CallListExport
