#pragma once

#include <QDate>
#include <QPushButton>

#include <functional>

class AppCore;

// "Monatsbericht...": asks for a month (the previous one proposed) and a PDF file, and writes the
// month's report there in the printout's look; the outcome is on the status line.
class MonthlyReportButton : public QPushButton
{
    Q_OBJECT
public:
    // The chosen month from `choices` (newest last), `proposed` preselected; invalid is a cancel.
    using MonthPrompt = std::function<QDate(const QList<QDate>& choices, const QDate& proposed)>;
    // The PDF file: the directory and the proposed name; empty is a cancel.
    using PathPrompt = std::function<QString(const QString& directory, const QString& proposed)>;

    explicit MonthlyReportButton(AppCore& core, QWidget* parent = nullptr);

    void setPrompts(MonthPrompt month, PathPrompt path);

private:
    void writeReport();
    QDate askMonth(const QList<QDate>& choices, const QDate& proposed);
    QString askPath(const QString& directory, const QString& proposed);

    AppCore& m_core;
    QString m_directory;
    MonthPrompt m_monthPrompt;
    PathPrompt m_pathPrompt;
};
