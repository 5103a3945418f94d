#include "PrintButton.h"

#include "shell/AppCore.h"

#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>

namespace {
QString askPdfPath(QWidget* parent, const QString& directory, const QString& proposed)
{
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Konfiguration als PDF-Datei drucken"),
                                        QDir(directory).filePath(proposed), QStringLiteral("PDF-Datei (*.pdf)"));
}

QString withPdfExtension(const QString& path)
{
    return QFileInfo(path).suffix().isEmpty() ? path + QStringLiteral(".pdf") : path;
}
} // namespace

PrintButton::PrintButton(AppCore& core, QWidget* parent)
    : QPushButton(QStringLiteral("Drucken..."), parent), m_core(core), m_menu(new QMenu(this)),
      m_pdfMenu(new QMenu(QStringLiteral("Als PDF-Datei"), m_menu)), m_directory(core.programDir())
{
    setObjectName(QStringLiteral("Drucken"));
    setWhatsThis(QStringLiteral("Druckt die Parametrierung, die Kurzwahlen oder beides auf dem Standarddrucker "
                                "oder in eine PDF-Datei."));
    addModes(m_menu, false);
    m_menu->addSeparator();
    m_menu->addMenu(m_pdfMenu);
    addModes(m_pdfMenu, true);
    setMenu(m_menu);
}

void PrintButton::addModes(QMenu* menu, bool toPdf)
{
    const std::array<std::pair<QString, PrintMode>, 3> modes{{
        {QStringLiteral("Parametrierung"), PrintMode::Configuration},
        {QStringLiteral("Kurzwahlen"), PrintMode::SpeedDials},
        {QStringLiteral("Parametrierung und Kurzwahlen"), PrintMode::Both},
    }};
    for (const auto& [text, mode] : modes) {
        connect(menu->addAction(text), &QAction::triggered, this, [this, mode, toPdf] {
            if (toPdf)
                printToPdf(mode);
            else
                m_core.print(mode);
        });
    }
}

void PrintButton::printToPdf(PrintMode mode)
{
    const QString proposed =
        QStringLiteral("WinKavex_%1.pdf").arg(QDate::currentDate().toString(QStringLiteral("yyMMdd")));
    const QString path = m_prompt ? m_prompt(m_directory, proposed) : askPdfPath(window(), m_directory, proposed);
    if (path.isEmpty())
        return;
    m_directory = QFileInfo(path).absolutePath();
    m_core.print(mode, withPdfExtension(path));
}
