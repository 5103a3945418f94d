#include "MsnPage.h"

#include "ExtensionNames.h"
#include "config/ConfigChoices.h"
#include "image/Extensions.h"
#include "shell/AppCore.h"
#include "shell/Settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

MsnPage::MsnPage(AppCore& core, QWidget* parent) : QWidget(parent), m_core(core)
{
    auto* numberBox = new QGroupBox(QStringLiteral("Rufnummer"), this);
    auto* form = new QFormLayout(numberBox);
    m_msn = new QComboBox(numberBox);
    m_msn->addItems(ConfigChoices::msns());
    m_msn->setWhatsThis(QStringLiteral("Wählt die Rufnummer (MSN), die auf dieser Seite bearbeitet wird."));
    m_number = new QLineEdit(numberBox);
    m_number->setMaxLength(10);
    // Only digits reach the packed number; blanks are kept because they are stored as zeros.
    m_number->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9 ]*")), m_number));
    m_number->setWhatsThis(QStringLiteral("Die Rufnummer (MSN) ohne Vorwahl, höchstens zehn Ziffern."));
    m_rhythm = new QComboBox(numberBox);
    m_rhythm->addItems(ConfigChoices::rhythms());
    m_rhythm->setWhatsThis(QStringLiteral("Rufrhythmus für Anrufe auf diese MSN (ab Firmware 2.00)."));
    m_watched = new QCheckBox(QStringLiteral("Ankommende Anrufe überwachen"), numberBox);
    m_msn->setObjectName(QStringLiteral("MsnAuswahl"));
    m_number->setObjectName(QStringLiteral("TelefonNummer"));
    m_rhythm->setObjectName(QStringLiteral("RufRhytmus"));
    m_watched->setObjectName(QStringLiteral("MsnUeberwachen"));
    m_watched->setWhatsThis(QStringLiteral("Anrufe auf diese MSN werden in der Liste der ankommenden Gespräche "
                                           "protokolliert."));
    form->addRow(QStringLiteral("MSN:"), m_msn);
    form->addRow(QStringLiteral("Rufnummer:"), m_number);
    form->addRow(QStringLiteral("Rufrhythmus:"), m_rhythm);
    form->addRow(m_watched);

    auto* ringBox = new QGroupBox(QStringLiteral("Klingeln bei Nebenstelle"), this);
    auto* grid = new QGridLayout(ringBox);
    for (int i = 0; i < Extensions::Max; ++i) {
        m_assigned[i] = new QCheckBox(ringBox);
        m_assigned[i]->setObjectName(QStringLiteral("Zuordnung%1").arg(Extensions::number(i)));
        m_assigned[i]->setWhatsThis(QStringLiteral("Die Nebenstelle klingelt bei Anrufen auf diese MSN."));
        grid->addWidget(m_assigned[i], i % 4, i / 4);
        connect(m_assigned[i], &QCheckBox::clicked, this, &MsnPage::store);
    }

    auto* holdBox = new QGroupBox(QStringLiteral("Halten"), this);
    auto* holdForm = new QFormLayout(holdBox);
    m_hold = new QComboBox(holdBox);
    m_hold->setObjectName(QStringLiteral("Halten"));
    m_hold->setWhatsThis(QStringLiteral("Was ein gehaltener Anrufer hört: die interne Wartemusik, nichts oder die "
                                        "Wiedergabe an einer Nebenstelle."));
    holdForm->addRow(QStringLiteral("Wartemusik:"), m_hold);

    auto* right = new QVBoxLayout;
    right->addWidget(ringBox);
    right->addWidget(holdBox);
    right->addStretch();
    auto* left = new QVBoxLayout;
    left->addWidget(numberBox);
    left->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(right);

    connect(m_msn, &QComboBox::activated, this, &MsnPage::onMsnChosen);
    connect(m_number, &QLineEdit::editingFinished, this, &MsnPage::store);
    connect(m_rhythm, &QComboBox::activated, this, &MsnPage::store);
    connect(m_hold, &QComboBox::activated, this, &MsnPage::store);
    connect(m_watched, &QCheckBox::clicked, this, &MsnPage::store);
    connect(&core, &AppCore::monitoringChanged, this, &MsnPage::applyGates);
    refresh();
}

void MsnPage::refresh()
{
    const BaseConfig& base = m_core.baseConfig();
    const int count = base.extensionCount();
    const QStringList names = extensionNames(m_core);
    m_filling = true;
    m_hold->clear();
    m_hold->addItems(ConfigChoices::hold(count));
    for (int i = 0; i < Extensions::Max; ++i) {
        const QString name = names.value(i);
        m_assigned[i]->setText(name.isEmpty() ? Extensions::numberText(i)
                                              : QStringLiteral("%1 - %2").arg(Extensions::number(i)).arg(name));
    }
    m_msn->setCurrentIndex(base.selectedMsn());
    m_filling = false;
    showFields(base.showSelected());
}

void MsnPage::showFields(const MsnPageFields& f)
{
    m_filling = true;
    m_hold->setCurrentIndex(f.holdChoice);
    m_rhythm->setCurrentIndex(f.rhythmChoice);
    m_number->setText(f.number);
    m_watched->setChecked(f.watched);
    for (int i = 0; i < Extensions::Max; ++i)
        m_assigned[i]->setChecked(f.assigned[i]);
    m_filling = false;
    applyGates();
}

MsnPageFields MsnPage::fields() const
{
    MsnPageFields f;
    f.holdChoice = m_hold->currentIndex();
    f.rhythmChoice = m_rhythm->currentIndex();
    f.number = m_number->text();
    f.watched = m_watched->isChecked();
    for (int i = 0; i < Extensions::Max; ++i)
        f.assigned[i] = m_assigned[i]->isChecked();
    return f;
}

void MsnPage::store()
{
    if (m_filling || m_locked)
        return;
    m_core.baseConfig().storeSelected(fields());
}

void MsnPage::onMsnChosen(int index)
{
    if (m_locked)
        return;
    showFields(m_core.baseConfig().select(index, fields()));
}

void MsnPage::setTransferLock(bool locked)
{
    m_locked = locked;
    applyGates();
}

void MsnPage::applyGates()
{
    const BaseConfig& base = m_core.baseConfig();
    const bool open = !m_locked;
    m_msn->setEnabled(open);
    m_number->setEnabled(open);
    m_hold->setEnabled(open);
    m_rhythm->setEnabled(open && base.rhythmsEditable());
    for (int i = 0; i < Extensions::Max; ++i)
        m_assigned[i]->setEnabled(open && i < base.extensionCount());
    const Settings& settings = m_core.settings();
    m_watched->setEnabled(open && settings.loadCapi() && !settings.watchAll());
}

void MsnPage::hideEvent(QHideEvent* event)
{
    store(); // leaving the page takes its values over, as the field's focus loss would
    QWidget::hideEvent(event);
}
