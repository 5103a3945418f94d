#include "MonthlyReportButton.h"

#include "MonthlyReportPainter.h"
#include "charges/MonthlyReport.h"
#include "common/Clock.h"
#include "common/FileMessages.h"
#include "shell/AppCore.h"
#include "shell/MonthlyReportInputs.h"
#include "shell/Settings.h"
#include "shell/StatusLine.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>

namespace {
constexpr int MonthsOffered = 24;
}

MonthlyReportButton::MonthlyReportButton(AppCore& core, QWidget* parent)
    : QPushButton(QStringLiteral("Monatsbericht..."), parent), m_core(core), m_directory(core.programDir())
{
    setObjectName(QStringLiteral("Monatsbericht"));
    setWhatsThis(QStringLiteral("Schreibt für einen Monat die Einheiten und Kosten jeder Nebenstelle, ihre abgehenden "
                                "Gespräche und die 20 teuersten Rufnummern in eine PDF-Datei."));
    connect(this, &QPushButton::clicked, this, &MonthlyReportButton::writeReport);
}

void MonthlyReportButton::setPrompts(MonthPrompt month, PathPrompt path)
{
    m_monthPrompt = std::move(month);
    m_pathPrompt = std::move(path);
}

void MonthlyReportButton::writeReport()
{
    const QDate today = m_core.clock().now().date();
    const QDate thisMonth(today.year(), today.month(), 1);
    QList<QDate> choices;
    for (int back = MonthsOffered - 1; back >= 0; --back)
        choices << thisMonth.addMonths(-back);
    const QDate month =
        m_monthPrompt ? m_monthPrompt(choices, thisMonth.addMonths(-1)) : askMonth(choices, thisMonth.addMonths(-1));
    if (!month.isValid())
        return;
    const QString proposed = QStringLiteral("Monatsbericht_%1.pdf").arg(month.toString(QStringLiteral("yyyy-MM")));
    QString path = m_pathPrompt ? m_pathPrompt(m_directory, proposed) : askPath(m_directory, proposed);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    m_directory = QFileInfo(path).absolutePath();

    StatusLine& status = m_core.statusLine();
    const MonthlyReportResult result = MonthlyReport::read(
        MonthlyReportInputs::of(m_core.programDir(), m_core.settings(), month, m_core.extensionCount()));
    if (!result.report) {
        status.showText(StatusLevel::Error, result.error);
    } else if (!MonthlyReportPainter::writePdf(
                   {*result.report, m_core.settings().printWithBorder(), m_core.clock().now()}, path)) {
        status.showText(StatusLevel::Error, FileMessages::cannotWrite(path));
    } else {
        status.showText(
            StatusLevel::Normal,
            QStringLiteral("Monatsbericht %1 nach %2 geschrieben").arg(MonthlyReport::monthText(month), path));
    }
}

QDate MonthlyReportButton::askMonth(const QList<QDate>& choices, const QDate& proposed)
{
    QStringList names;
    for (const QDate& month : choices)
        names << MonthlyReport::monthText(month);
    bool ok = false;
    const QString chosen = QInputDialog::getItem(window(), QStringLiteral("Monatsbericht"), QStringLiteral("Monat"),
                                                 names, static_cast<int>(choices.indexOf(proposed)), false, &ok);
    return ok ? choices.value(names.indexOf(chosen)) : QDate();
}

QString MonthlyReportButton::askPath(const QString& directory, const QString& proposed)
{
    return QFileDialog::getSaveFileName(window(), QStringLiteral("Monatsbericht als PDF-Datei"),
                                        QDir(directory).filePath(proposed), QStringLiteral("PDF-Datei (*.pdf)"));
}
