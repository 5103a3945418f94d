#include "ProgramParameterPage.h"

#include "NavigationTable.h"
#include "PageIcons.h"
#include "shell/AppCore.h"
#include "shell/DiagnosisSignalling.h"
#include "shell/PortControl.h"
#include "shell/Settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

ProgramParameterPage::ProgramParameterPage(AppCore& core, QWidget* parent)
    : Page(core, parent), m_port(new QComboBox), m_startWait(new QSpinBox), m_displayDays(new QSpinBox),
      m_action(new QComboBox),
      m_standardVolume(new QCheckBox(QStringLiteral("Standardlautstärke bei akustischer Signalisierung"))),
      m_printBorder(new QCheckBox(QStringLiteral("Ausdruck mit Titel- und Seitenbalken"))), m_startPage(new QComboBox),
      m_font(new QComboBox), m_capi(new QCheckBox(QStringLiteral("CAPI-Anrufmonitor beim Start laden"))),
      m_watchAll(new QCheckBox(QStringLiteral("Anrufe an alle MSNs aufzeichnen"))),
      m_notify(new QCheckBox(QStringLiteral("Benachrichtigung bei Anruf"))),
      m_outgoing(new QCheckBox(QStringLiteral("Abgehende Gespräche aufzeichnen"))),
      m_freeCalls(new QCheckBox(QStringLiteral("Automatisches Löschen von kostenlosen Gesprächen"))),
      m_addressBook(new QLineEdit), m_chooseAddressBook(new QPushButton(QStringLiteral("Wählen..."))),
      m_dropAddressBook(new QPushButton(QStringLiteral("Entfernen"))),
      m_chooseAddressFolder(new QPushButton(QStringLiteral("Ordner...")))
{
    auto* columns = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(buildConnectionGroup());
    left->addWidget(buildMonitoringGroup());
    left->addStretch(1);
    columns->addLayout(left, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(buildDisplayGroup());
    right->addStretch(1);
    columns->addLayout(right, 1);
    refresh();
}

QWidget* ProgramParameterPage::buildConnectionGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Anschluß der Anlage"));
    auto* form = new QVBoxLayout(group);
    auto* portRow = new QHBoxLayout;
    portRow->addWidget(new QLabel(QStringLiteral("Schnittstelle")));
    m_port->addItems(
        {QStringLiteral("COM 1"), QStringLiteral("COM 2"), QStringLiteral("COM 3"), QStringLiteral("COM 4")});
    m_port->setObjectName(QStringLiteral("COMSchnittstelle"));
    portRow->addWidget(m_port);
    portRow->addStretch(1);
    form->addLayout(portRow);
    auto* waitLabel = new QLabel(QStringLiteral("Wartezeit für erneutes Lesen bei Störung (in Sekunden)"));
    waitLabel->setWordWrap(true);
    m_startWait->setObjectName(QStringLiteral("WarteZeitStoerung"));
    // Wider than the valid range, so that a wrong value reaches the check and its message.
    m_startWait->setRange(0, 999);
    auto* waitRow = new QHBoxLayout;
    waitRow->addWidget(waitLabel, 1);
    waitRow->addWidget(m_startWait);
    form->addLayout(waitRow);

    m_port->setWhatsThis(QStringLiteral("Serielle Schnittstelle, an der die Anlage angeschlossen ist. Die Wahl "
                                        "öffnet die Schnittstelle sofort neu."));
    m_startWait->setWhatsThis(QStringLiteral("Antwortet die Anlage beim Programmstart nicht, wird nach dieser "
                                             "Wartezeit (1 bis 30 Sekunden) noch einmal gelesen."));
    connect(m_port, &QComboBox::activated, this, [this](int index) { core().port().change(index + 1); });
    connect(m_startWait, &QSpinBox::valueChanged, this, [this](int seconds) {
        if (!m_filling)
            core().port().setStartWaitText(QString::number(seconds));
    });
    return group;
}

QWidget* ProgramParameterPage::buildDisplayGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Anzeige"));
    auto* form = new QFormLayout(group);
    m_startPage->setIconSize(QSize(20, 20));
    for (int position = 0; position <= 9; ++position) {
        const NavigationEntry& e = NavigationTable::entries()[*NavigationTable::startPageIndex(position)];
        m_startPage->addItem(PageIcons::forHeading(e.heading), e.heading);
    }
    m_font->addItems(Settings::offeredFontFaces());
    m_action->addItems(Settings::diagnosisActionTexts());
    m_action->setObjectName(QStringLiteral("ComboAktionDiagnose"));
    m_standardVolume->setObjectName(QStringLiteral("CheckBoxStandardLautstaerke"));
    m_displayDays->setRange(1, 60);
    auto* daysRow = new QHBoxLayout;
    daysRow->addWidget(new QLabel(QStringLiteral("Gespräche der letzten")));
    daysRow->addWidget(m_displayDays);
    daysRow->addWidget(new QLabel(QStringLiteral("Tage werden angezeigt")));
    daysRow->addStretch(1);

    form->addRow(QStringLiteral("Startseite"), m_startPage);
    form->addRow(QStringLiteral("Schriftart"), m_font);
    form->addRow(daysRow);
    form->addRow(QStringLiteral("Aktion bei Ereignis"), m_action);
    form->addRow(m_standardVolume);
    form->addRow(m_printBorder);

    m_startPage->setWhatsThis(QStringLiteral("Seite, die nach dem Programmstart gezeigt wird."));
    m_font->setWhatsThis(QStringLiteral("Schriftart aller Seiten."));
    m_displayDays->setWhatsThis(QStringLiteral("Die Gesprächslisten zeigen die Gespräche so vieler Tage."));
    m_action->setWhatsThis(QStringLiteral("Was geschieht, wenn die Anlage ein Ereignis meldet, während WinKavex "
                                          "im Infobereich liegt."));
    m_standardVolume->setWhatsThis(QStringLiteral("Akustische Signale mit dem Standardton des Systems."));
    m_printBorder->setWhatsThis(QStringLiteral("Ausdrucke mit schwarzem Titel- und Seitenbalken."));

    connect(m_startPage, &QComboBox::activated, this, [this](int index) { core().settings().setStartPage(index); });
    connect(m_font, &QComboBox::activated, this, [this](int index) {
        core().settings().setFontFace(Settings::offeredFontFaces().value(index));
        Q_EMIT fontFaceChanged();
    });
    connect(m_displayDays, &QSpinBox::valueChanged, this, [this](int days) {
        if (!m_filling)
            core().settings().setDisplayDays(days);
    });
    connect(m_action, &QComboBox::activated, this, &ProgramParameterPage::onActionChanged);
    connect(m_standardVolume, &QCheckBox::clicked, this, [this](bool on) { core().settings().setStandardVolume(on); });
    connect(m_printBorder, &QCheckBox::clicked, this, [this](bool on) { core().settings().setPrintWithBorder(on); });
    return group;
}

QWidget* ProgramParameterPage::buildMonitoringGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Überwachung"));
    auto* form = new QVBoxLayout(group);
    form->addWidget(m_capi);
    form->addWidget(m_watchAll);
    form->addWidget(m_notify);
    form->addWidget(m_outgoing);
    form->addWidget(m_freeCalls);
    form->addWidget(buildAddressBookRow());
    m_capi->setObjectName(QStringLiteral("CheckBoxCAPI"));
    m_watchAll->setObjectName(QStringLiteral("CheckBoxAlleMSNUeberwachen"));
    m_notify->setObjectName(QStringLiteral("CheckBoxBenachrichtigung"));
    m_outgoing->setObjectName(QStringLiteral("CheckBoxAbgehend"));
    m_freeCalls->setObjectName(QStringLiteral("CheckBoxAutomatischesLoeschen"));

    m_capi->setWhatsThis(QStringLiteral("Startet beim Programmstart den Monitor für ankommende Anrufe."));
    m_watchAll->setWhatsThis(QStringLiteral("Ankommende Anrufe an jede MSN aufzeichnen; sonst nur an die MSNs, "
                                            "deren Überwachung auf der Seite Grundparameter eingeschaltet ist."));
    m_notify->setWhatsThis(QStringLiteral("Zeigt jeden aufgezeichneten ankommenden Anruf als Meldung des Desktops: "
                                          "Anrufer, Name oder Ort und die gerufene MSN."));
    m_outgoing->setWhatsThis(QStringLiteral("Abgehende Gespräche im Protokoll aufzeichnen."));
    m_freeCalls->setWhatsThis(QStringLiteral("Beim Programmstart kostenlose Gespräche aus dem Protokoll löschen."));

    connect(m_capi, &QCheckBox::clicked, this, &ProgramParameterPage::onCapiToggled);
    connect(m_watchAll, &QCheckBox::clicked, this, [this](bool on) {
        core().setWatchAll(on);
        applyEnablingRules();
    });
    connect(m_notify, &QCheckBox::clicked, this, [this](bool on) { core().setNotifyCalls(on); });
    connect(m_outgoing, &QCheckBox::clicked, this, [this](bool on) { core().setRecordOutgoing(on); });
    connect(m_freeCalls, &QCheckBox::clicked, this, [this](bool on) { core().settings().setDeleteFreeCalls(on); });
    return group;
}

QWidget* ProgramParameterPage::buildAddressBookRow()
{
    // The label above the path, so that the path has the group's whole width.
    auto* row = new QWidget;
    auto* column = new QVBoxLayout(row);
    column->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(QStringLiteral("Telefonbuch (vCard)"));
    label->setBuddy(m_addressBook);
    m_addressBook->setReadOnly(true);
    m_addressBook->setObjectName(QStringLiteral("Telefonbuch"));
    m_addressBook->setMinimumWidth(160);
    column->addWidget(label);
    auto* layout = new QHBoxLayout;
    layout->addWidget(m_addressBook, 1);
    layout->addWidget(m_chooseAddressBook);
    layout->addWidget(m_chooseAddressFolder);
    layout->addWidget(m_dropAddressBook);
    column->addLayout(layout);
    m_addressBook->setWhatsThis(QStringLiteral("Eine vCard-Datei, deren Namen Anrufer und gewählte Nummern benennen, "
                                               "wenn keine Kurzwahl paßt; vor dem Ort der Vorwahl."));
    m_chooseAddressFolder->setWhatsThis(
        QStringLiteral("Ein Ordner mit einer .vcf-Datei je Kontakt, wie ihn Programme zum Abgleich mit einem "
                       "Adreßbuch-Server schreiben. Ändert sich eine Datei, wird das Telefonbuch neu gelesen."));
    connect(m_chooseAddressBook, &QPushButton::clicked, this, [this] { chooseAddressBook(false); });
    connect(m_chooseAddressFolder, &QPushButton::clicked, this, [this] { chooseAddressBook(true); });
    connect(m_dropAddressBook, &QPushButton::clicked, this, [this] {
        core().setAddressBookFile(QString());
        refresh();
    });
    return row;
}

void ProgramParameterPage::chooseAddressBook(bool folder)
{
    const QString path = m_filePrompt ? m_filePrompt() : folder ? askAddressBookFolder() : askAddressBookFile();
    if (path.isEmpty())
        return;
    core().setAddressBookFile(path);
    refresh();
}

QString ProgramParameterPage::askAddressBookFile()
{
    QFileDialog dialog(window(), QStringLiteral("Telefonbuch (vCard)"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({QStringLiteral("vCard (*.vcf *.vcard)"), QStringLiteral("Alle Dateien (*)")});
    const QString current = core().settings().addressBookFile();
    if (!current.isEmpty())
        dialog.setDirectory(QFileInfo(current).absolutePath());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString ProgramParameterPage::askAddressBookFolder()
{
    const QString current = core().settings().addressBookFile();
    return QFileDialog::getExistingDirectory(window(), QStringLiteral("Telefonbuch (vCard-Ordner)"),
                                             current.isEmpty() ? QString() : QFileInfo(current).absolutePath());
}

void ProgramParameterPage::refresh()
{
    const Settings& settings = core().settings();
    m_filling = true;
    m_startWait->setValue(settings.startWaitSeconds());
    m_displayDays->setValue(settings.displayDays());
    m_action->setCurrentIndex(settings.diagnosisAction());
    m_printBorder->setChecked(settings.printWithBorder());
    m_startPage->setCurrentIndex(settings.startPage());
    m_font->setCurrentIndex(settings.fontFaceIndex());
    m_capi->setChecked(settings.loadCapi());
    m_watchAll->setChecked(settings.watchAll());
    m_notify->setChecked(settings.notifyCalls());
    m_outgoing->setChecked(settings.recordOutgoing());
    m_freeCalls->setChecked(settings.deleteFreeCalls());
    m_addressBook->setText(settings.addressBookFile());
    m_dropAddressBook->setEnabled(!m_addressBook->text().isEmpty());
    m_filling = false;
    applyEnablingRules();
}

void ProgramParameterPage::selectPort(int position)
{
    m_port->setCurrentIndex(position);
}

void ProgramParameterPage::setTransferLock(bool locked)
{
    m_locked = locked;
    for (QWidget* w :
         {static_cast<QWidget*>(m_port), static_cast<QWidget*>(m_startWait), static_cast<QWidget*>(m_action),
          static_cast<QWidget*>(m_printBorder), static_cast<QWidget*>(m_font), static_cast<QWidget*>(m_outgoing)})
        w->setEnabled(!locked);
    applyEnablingRules();
}

void ProgramParameterPage::applyEnablingRules()
{
    // Without a sound the box does not apply: shown unchecked, the stored value kept for later.
    const bool applies = core().signalling().isStandardVolumeEnabled();
    m_standardVolume->setEnabled(!m_locked && applies);
    m_standardVolume->setChecked(applies && core().settings().standardVolume());
    m_capi->setEnabled(!m_locked);
    m_watchAll->setEnabled(!m_locked && m_capi->isChecked());
    m_notify->setEnabled(!m_locked && m_capi->isChecked());
}

void ProgramParameterPage::onActionChanged(int position)
{
    core().signalling().setAction(position);
    applyEnablingRules();
}

void ProgramParameterPage::onCapiToggled(bool on)
{
    core().setLoadCapi(on);
    applyEnablingRules();
    if (core().isReady())
        QMessageBox::information(window(), QStringLiteral("Kavex"),
                                 QStringLiteral("Damit diese Änderung aktiv wird, muß WinKavex neu gestartet werden"));
}
