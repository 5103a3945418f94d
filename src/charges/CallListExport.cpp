#include "charges/CallListExport.h"

#include <QAbstractItemModel>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace {

QStringList headers(const QAbstractItemModel& model)
{
    QStringList result;
    for (int column = 0; column < model.columnCount(); ++column)
        result << model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    return result;
}

QString cell(const QAbstractItemModel& model, int row, int column)
{
    return model.data(model.index(row, column), Qt::DisplayRole).toString();
}

} // namespace

namespace CallListExport {

QString csvField(const QString& field)
{
    // A spreadsheet program takes a cell beginning with one of these for a formula; the quote
    // before it makes the cell plain text.
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    const QString text = !field.isEmpty() && formulaStarts.contains(field.front()) ? QLatin1Char('\'') + field : field;
    if (!text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('\n')) &&
        !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QByteArray csv(const QAbstractItemModel& model)
{
    auto line = [](const QStringList& fields) {
        QStringList quoted;
        for (const QString& field : fields)
            quoted << csvField(field);
        return quoted.join(QLatin1Char(',')).toUtf8() + "\r\n";
    };
    QByteArray out = line(headers(model));
    for (int row = 0; row < model.rowCount(); ++row) {
        QStringList fields;
        for (int column = 0; column < model.columnCount(); ++column)
            fields << cell(model, row, column);
        out += line(fields);
    }
    return out;
}

QByteArray json(const QAbstractItemModel& model)
{
    const QStringList keys = headers(model);
    QJsonArray calls;
    for (int row = 0; row < model.rowCount(); ++row) {
        QJsonObject call;
        for (int column = 0; column < keys.size(); ++column)
            call.insert(keys.at(column), cell(model, row, column));
        calls.append(call);
    }
    return QJsonDocument(calls).toJson(QJsonDocument::Indented);
}

bool writeCsv(const QAbstractItemModel& model, const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = csv(model);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace CallListExport
