#include "ExtensionPage.h"

#include "CallWaitingList.h"
#include "ExtensionNames.h"
#include "config/BaseConfig.h"
#include "config/ConfigChoices.h"
#include "shell/AppCore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QVBoxLayout>

ExtensionPage::ExtensionPage(AppCore& core, QWidget* parent) : QWidget(parent), m_core(core)
{
    m_extension = new QComboBox(this);
    m_extension->setObjectName(QStringLiteral("NebenstellenAuswahl"));
    m_extension->setMinimumContentsLength(16);
    m_extension->setWhatsThis(QStringLiteral("Wählt die Nebenstelle, die auf dieser Seite bearbeitet wird."));
    auto* chooser = new QFormLayout;
    chooser->addRow(QStringLiteral("Nebenstelle:"), m_extension);

    auto* left = new QVBoxLayout;
    left->addLayout(chooser);
    left->addWidget(buildPropertiesBox());
    left->addWidget(buildForwardingBox());
    left->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(buildWaitingBox());

    connect(m_extension, &QComboBox::activated, this, &ExtensionPage::onExtensionChosen);
    for (QComboBox* choice : {m_permission, m_service, m_mode})
        connect(choice, &QComboBox::activated, this, &ExtensionPage::store);
    for (QCheckBox* box : {m_chargePulse, m_trunkAccess})
        connect(box, &QCheckBox::clicked, this, &ExtensionPage::store);
    for (QLineEdit* edit : {m_units, m_pin, m_target})
        connect(edit, &QLineEdit::editingFinished, this, &ExtensionPage::store);
    connect(m_target, &QLineEdit::textEdited, this, &ExtensionPage::onTargetTyped);
    connect(m_waiting, &CallWaitingList::entryToggled, this, &ExtensionPage::onWaitingToggled);
    connect(&core, &AppCore::chargesDecoded, this, &ExtensionPage::onChargesDecoded);
    refresh();
}

QWidget* ExtensionPage::buildPropertiesBox()
{
    auto* box = new QGroupBox(QStringLiteral("Eigenschaften"), this);
    auto* form = new QFormLayout(box);
    m_permission = new QComboBox(box);
    m_permission->addItems(ConfigChoices::permissions());
    m_permission->setWhatsThis(QStringLiteral("Welche Gespräche die Nebenstelle nach außen führen darf."));
    m_service = new QComboBox(box);
    m_service->addItems(ConfigChoices::services());
    m_service->setWhatsThis(QStringLiteral("Das an der Nebenstelle angeschlossene Gerät."));
    m_chargePulse = new QCheckBox(QStringLiteral("Gebührenimpuls"), box);
    m_chargePulse->setWhatsThis(QStringLiteral("Die Nebenstelle erhält Gebührenimpulse."));
    m_trunkAccess = new QCheckBox(QStringLiteral("Spontane Amtsholung"), box);
    m_trunkAccess->setWhatsThis(QStringLiteral("Beim Abheben erhält die Nebenstelle sofort eine Amtsleitung."));
    m_units = new QLineEdit(box);
    m_units->setValidator(new QIntValidator(0, 65535, m_units));
    m_units->setWhatsThis(QStringLiteral("Gebühreneinheiten der Nebenstelle; zur Anlage übertragen werden sie nur "
                                         "mit \"Einheiten übertragen\"."));
    m_pin = new QLineEdit(box);
    m_pin->setMaxLength(4);
    m_pin->setWhatsThis(QStringLiteral("Die vierstellige PIN der Nebenstelle."));
    m_permission->setObjectName(QStringLiteral("Berechtigung"));
    m_service->setObjectName(QStringLiteral("Dienst"));
    m_chargePulse->setObjectName(QStringLiteral("Gebuehrenimpuls"));
    m_trunkAccess->setObjectName(QStringLiteral("Amtsholung"));
    m_units->setObjectName(QStringLiteral("Einheiten"));
    m_pin->setObjectName(QStringLiteral("PIN"));
    form->addRow(QStringLiteral("Berechtigung:"), m_permission);
    form->addRow(QStringLiteral("Dienst:"), m_service);
    form->addRow(QStringLiteral("Einheiten:"), m_units);
    form->addRow(QStringLiteral("PIN:"), m_pin);
    form->addRow(m_chargePulse);
    form->addRow(m_trunkAccess);
    return box;
}

QWidget* ExtensionPage::buildForwardingBox()
{
    auto* box = new QGroupBox(QStringLiteral("Rufumleitung"), this);
    auto* form = new QFormLayout(box);
    m_target = new QLineEdit(box);
    m_target->setMaxLength(20);
    m_target->setWhatsThis(QStringLiteral("Ziel der Rufumleitung: eine Nebenstelle (21 bis 28) oder eine externe "
                                          "Rufnummer. Leer: keine Rufumleitung."));
    m_mode = new QComboBox(box);
    m_mode->addItems(ConfigChoices::forwardingModes());
    m_mode->setWhatsThis(QStringLiteral("Wann zu einer Nebenstelle umgeleitet wird (ab Firmware 2.00)."));
    m_target->setObjectName(QStringLiteral("Rufumleitung"));
    m_mode->setObjectName(QStringLiteral("RufUmlArt"));
    form->addRow(QStringLiteral("Ziel:"), m_target);
    form->addRow(QStringLiteral("Umleiten:"), m_mode);
    return box;
}

QWidget* ExtensionPage::buildWaitingBox()
{
    auto* box = new QGroupBox(QStringLiteral("Anklopfen erlaubt für"), this);
    auto* layout = new QVBoxLayout(box);
    m_waiting = new CallWaitingList(box);
    m_waiting->setObjectName(QStringLiteral("AnklopfListe"));
    m_waiting->setAccessibleName(box->title());
    m_waiting->setWhatsThis(QStringLiteral("Anrufe auf diese MSN und von diesen Nebenstellen dürfen anklopfen, "
                                           "während die Nebenstelle spricht (ab Firmware 1.95)."));
    layout->addWidget(m_waiting);
    return box;
}

void ExtensionPage::refresh()
{
    ExtensionConfig& extensions = m_core.extensionConfig();
    m_filling = true;
    m_extension->clear();
    m_extension->addItems(ConfigChoices::extensions(extensions.extensionCount(), extensionNames(m_core)));
    m_extension->setCurrentIndex(extensions.selectedExtension());
    m_filling = false;
    showFields(extensions.showSelected());
}

void ExtensionPage::showFields(const ExtensionPageFields& f)
{
    m_filling = true;
    m_chargePulse->setChecked(f.chargePulse);
    m_trunkAccess->setChecked(f.trunkAccess);
    m_permission->setCurrentIndex(f.permission);
    m_service->setCurrentIndex(f.service);
    m_units->setText(f.units);
    m_units->setModified(false);
    m_pin->setText(f.pin);
    m_target->setText(f.target);
    m_mode->setCurrentIndex(f.mode);
    m_modeEnabled = f.modeEnabled;
    m_waiting->setEntries(m_core.extensionConfig().waitingList());
    m_filling = false;
    applyGates();
}

ExtensionPageFields ExtensionPage::fields() const
{
    ExtensionPageFields f;
    f.chargePulse = m_chargePulse->isChecked();
    f.trunkAccess = m_trunkAccess->isChecked();
    f.permission = m_permission->currentIndex();
    f.service = m_service->currentIndex();
    f.units = m_units->text();
    f.pin = m_pin->text();
    f.target = m_target->text();
    f.mode = m_mode->currentIndex();
    f.modeEnabled = m_modeEnabled;
    return f;
}

void ExtensionPage::store()
{
    if (m_filling || m_locked)
        return;
    ExtensionConfig& extensions = m_core.extensionConfig();
    extensions.storeSelected(fields());
    const int g = extensions.selectedExtension();
    m_filling = true;
    m_pin->setText(extensions.pin(g)); // shown padded, as stored
    m_units->setModified(false);
    m_filling = false;
}

void ExtensionPage::onExtensionChosen(int index)
{
    if (m_locked)
        return;
    showFields(m_core.extensionConfig().select(index, fields()));
}

void ExtensionPage::onTargetTyped()
{
    if (m_filling)
        return;
    const ExtensionPageFields f = m_core.extensionConfig().targetTyped(fields());
    m_filling = true;
    m_mode->setCurrentIndex(f.mode);
    m_modeEnabled = f.modeEnabled;
    m_filling = false;
    applyGates();
}

void ExtensionPage::onWaitingToggled(int row)
{
    ExtensionConfig& extensions = m_core.extensionConfig();
    extensions.clickWaiting(row);
    m_waiting->setEntries(extensions.waitingList());
}

// A charge reading changes the counters behind the units field; a field the user has not typed in
// follows them, so that a later store cannot put the old count back into the image.
void ExtensionPage::onChargesDecoded()
{
    if (m_units->isModified())
        return;
    const ExtensionConfig& extensions = m_core.extensionConfig();
    m_units->setText(QString::number(extensions.units(extensions.selectedExtension())));
}

void ExtensionPage::setTransferLock(bool locked)
{
    m_locked = locked;
    applyGates();
}

void ExtensionPage::applyGates()
{
    const BaseConfig& base = m_core.baseConfig();
    const bool open = !m_locked;
    for (QWidget* control : std::initializer_list<QWidget*>{m_extension, m_permission, m_service, m_chargePulse,
                                                            m_trunkAccess, m_units, m_pin, m_target})
        control->setEnabled(open);
    m_mode->setEnabled(open && base.rhythmsEditable() && m_modeEnabled);
    m_waiting->setEnabled(open && base.callWaitingEditable());
}

void ExtensionPage::hideEvent(QHideEvent* event)
{
    store(); // leaving the page takes its values over, as the field's focus loss would
    QWidget::hideEvent(event);
}
