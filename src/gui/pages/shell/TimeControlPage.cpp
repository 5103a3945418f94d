#include "TimeControlPage.h"

#include "TimeField.h"
#include "pages/config/ConfigFileActions.h"
#include "shell/AppCore.h"
#include "shell/TimeControl.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TimeControlPage::TimeControlPage(AppCore& core, QWidget* parent)
    : Page(core, parent), m_save(new QPushButton(QStringLiteral("S&peichern")))
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildRows());
    auto* note = new QLabel(QStringLiteral("Zu jedem Zeitpunkt wird die Konfigurationsdatei geladen und in die Anlage "
                                           "geschrieben. Änderungen gelten sofort; „Speichern“ bewahrt sie für den "
                                           "nächsten Programmstart."));
    note->setWordWrap(true);
    layout->addWidget(note);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_save);
    layout->addLayout(buttons);
    layout->addStretch(1);

    m_save->setWhatsThis(QStringLiteral("Speichert alle sechs Zeitpunkte."));
    connect(m_save, &QPushButton::clicked, this, [this] { this->core().timeControl().save(); });
    connect(&core.timeControl(), &TimeControl::changed, this, &TimeControlPage::refresh);
    refresh();
}

QWidget* TimeControlPage::buildRows()
{
    auto* group = new QGroupBox(QStringLiteral("Zeitpunkte"));
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(QStringLiteral("Uhrzeit")), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Konfigurationsdatei")), 0, 2);
    for (int row = 0; row < Rows; ++row) {
        const QString n = QString::number(row + 1);
        Row& r = m_rows.at(static_cast<std::size_t>(row));
        r.time = new TimeField(QStringLiteral("Zeit") + n);
        r.file = new QLineEdit;
        r.file->setObjectName(QStringLiteral("Datei") + n);
        r.file->setMaxLength(TimeControl::FileNameLimit);
        r.browse = new QPushButton(QStringLiteral("..."));
        r.browse->setFixedWidth(32);
        r.weekdays = new QCheckBox(QStringLiteral("Mo-Fr"));
        r.weekend = new QCheckBox(QStringLiteral("Sa-So"));
        grid->addWidget(new QLabel(n + QLatin1Char('.')), row + 1, 0);
        grid->addWidget(r.time, row + 1, 1);
        grid->addWidget(r.file, row + 1, 2);
        grid->addWidget(r.browse, row + 1, 3);
        grid->addWidget(r.weekdays, row + 1, 4);
        grid->addWidget(r.weekend, row + 1, 5);
        r.time->setWhatsThis(QStringLiteral("Uhrzeit des Zeitpunkts; 99:99 schaltet ihn ab."));
        r.file->setWhatsThis(QStringLiteral("Konfigurationsdatei, die zu diesem Zeitpunkt in die Anlage geschrieben "
                                            "wird."));
        r.browse->setWhatsThis(QStringLiteral("Konfigurationsdatei auswählen; die Wahl wird sofort gespeichert."));
        connectRow(row);
    }
    grid->setColumnStretch(2, 1);
    return group;
}

void TimeControlPage::connectRow(int row)
{
    const Row& r = m_rows.at(static_cast<std::size_t>(row));
    TimeControl& model = core().timeControl();
    connect(r.time, &TimeField::digitsEdited, this, [&model, row](const QString& hhmm) { model.setTime(row, hhmm); });
    connect(r.file, &QLineEdit::textEdited, this, [&model, row](const QString& file) { model.setFile(row, file); });
    connect(r.weekdays, &QCheckBox::clicked, this, [&model, row](bool on) { model.setWeekdays(row, on); });
    connect(r.weekend, &QCheckBox::clicked, this, [&model, row](bool on) { model.setWeekend(row, on); });
    connect(r.browse, &QPushButton::clicked, this, [this, row] { browse(row); });
}

void TimeControlPage::refresh()
{
    const TimeControl& model = core().timeControl();
    for (int row = 0; row < Rows; ++row) {
        const Row& r = m_rows.at(static_cast<std::size_t>(row));
        const TimeControl::Point& p = model.point(row);
        r.time->setDigits(p.time);
        r.file->setText(p.file);
        r.weekdays->setChecked(p.weekdays);
        r.weekend->setChecked(p.weekend);
    }
}

void TimeControlPage::setTransferLock(bool locked)
{
    for (const Row& r : m_rows) {
        for (QWidget* w :
             {static_cast<QWidget*>(r.time), static_cast<QWidget*>(r.file), static_cast<QWidget*>(r.browse),
              static_cast<QWidget*>(r.weekdays), static_cast<QWidget*>(r.weekend)})
            w->setEnabled(!locked);
    }
    m_save->setEnabled(!locked);
}

void TimeControlPage::browse(int row)
{
    const QString path = m_filePrompt ? m_filePrompt() : askFile();
    if (!path.isEmpty())
        core().timeControl().chooseFile(row, path);
}

QString TimeControlPage::askFile()
{
    QFileDialog dialog(window(), QStringLiteral("Konfiguration auswählen"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(ConfigFileActions::nameFilter());
    dialog.setDirectory(core().programDir());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
