#include "MqttPage.h"

#include "shell/AppCore.h"
#include "shell/MqttProbe.h"
#include "shell/MqttService.h"
#include "shell/MqttSettings.h"
#include "shell/StatusLine.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QLineEdit* field(const QString& name, const QString& whatsThis)
{
    auto* edit = new QLineEdit;
    edit->setAccessibleName(name);
    edit->setWhatsThis(whatsThis);
    return edit;
}

QCheckBox* box(const QString& text, const QString& whatsThis)
{
    auto* check = new QCheckBox(text);
    check->setAccessibleName(text);
    check->setWhatsThis(whatsThis);
    return check;
}

} // namespace

MqttPage::MqttPage(AppCore& core, QWidget* parent)
    : Page(core, parent),
      m_server(field(QStringLiteral("Server"), QStringLiteral("Name oder Adresse des MQTT-Brokers; leer schaltet "
                                                               "die Veröffentlichung ab."))),
      m_port(new QSpinBox), m_tls(box(QStringLiteral("TLS"), QStringLiteral("Verschlüsselt, mit den Zertifikaten "
                                                                            "des Systems oder der CA-Datei."))),
      m_caFile(field(QStringLiteral("CA-Datei"), QStringLiteral("Zertifikat der Stelle, die das Zertifikat des "
                                                                "Brokers ausgestellt hat; leer: die des Systems."))),
      m_user(field(QStringLiteral("Benutzer"), QStringLiteral("Anmeldename beim Broker; leer: ohne Anmeldung."))),
      m_passwordFile(field(QStringLiteral("Kennwortdatei"),
                           QStringLiteral("Eine Datei, deren erste Zeile das Kennwort ist und die nur ihr Besitzer "
                                          "lesen darf; das Kennwort steht nie in den Einstellungen."))),
      m_prefix(field(QStringLiteral("Präfix"), QStringLiteral("Anfang aller Themen, etwa \u201Ewinkavex/status\u201C."))),
      m_homeAssistant(box(QStringLiteral("Home Assistant"),
                          QStringLiteral("Meldet die Anlage mit ihren Sensoren bei Home Assistant an."))),
      m_commands(box(QStringLiteral("Befehle annehmen"),
                     QStringLiteral("Nimmt \u201Ecommand/ring\u201C und \u201Ecommand/read_charges\u201C an."))),
      m_apply(new QPushButton(QStringLiteral("Ü&bernehmen"))),
      m_test(new QPushButton(QStringLiteral("&Verbindung testen"))), m_state(new QLabel), m_testResult(new QLabel)
{
    setObjectName(QStringLiteral("PanelMqtt"));
    m_port->setRange(0, 65535);
    m_port->setSpecialValueText(QStringLiteral("Standard"));
    m_port->setAccessibleName(QStringLiteral("Port"));
    m_port->setWhatsThis(QStringLiteral("Standard: 1883, mit TLS 8883."));
    m_apply->setWhatsThis(QStringLiteral("Speichert die Felder und verbindet neu."));
    m_test->setWhatsThis(QStringLiteral("Versucht die Verbindung mit den Feldern, ohne sie zu speichern."));
    m_state->setAccessibleName(QStringLiteral("Zustand"));
    m_testResult->setAccessibleName(QStringLiteral("Testergebnis"));
    m_testResult->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildFields());
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_apply);
    buttons->addWidget(m_test);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    layout->addWidget(m_testResult);
    layout->addStretch(1);

    connect(m_apply, &QPushButton::clicked, this, &MqttPage::apply);
    connect(m_test, &QPushButton::clicked, this, &MqttPage::test);
    connect(&core.mqtt(), &MqttService::stateChanged, this, &MqttPage::showState);
}

MqttPage::~MqttPage() = default;

QWidget* MqttPage::buildFields()
{
    auto* group = new QGroupBox(QStringLiteral("Broker"));
    auto* form = new QFormLayout(group);
    form->addRow(QStringLiteral("&Server:"), m_server);
    form->addRow(QStringLiteral("&Port:"), m_port);
    form->addRow(QString(), m_tls);
    form->addRow(QStringLiteral("&CA-Datei:"), m_caFile);
    form->addRow(QStringLiteral("Ben&utzer:"), m_user);
    form->addRow(QStringLiteral("&Kennwortdatei:"), m_passwordFile);
    form->addRow(QStringLiteral("P&räfix:"), m_prefix);
    form->addRow(QString(), m_homeAssistant);
    form->addRow(QString(), m_commands);
    form->addRow(QStringLiteral("Zustand:"), m_state);
    return group;
}

void MqttPage::refresh()
{
    const MqttSettings::Form form = MqttSettings::form(core().settings());
    m_server->setText(form.server);
    m_port->setValue(form.port);
    m_tls->setChecked(form.tls);
    m_caFile->setText(form.caFile);
    m_user->setText(form.user);
    m_passwordFile->setText(form.passwordFile);
    m_prefix->setText(form.prefix);
    m_homeAssistant->setChecked(form.homeAssistant);
    m_commands->setChecked(form.commands);
    showState();
}

namespace {

MqttSettings::Form formOf(const QLineEdit* server, const QSpinBox* port, const QCheckBox* tls, const QLineEdit* ca,
                          const QLineEdit* user, const QLineEdit* passwordFile, const QLineEdit* prefix,
                          const QCheckBox* homeAssistant, const QCheckBox* commands)
{
    return {server->text(),       port->value(),       tls->isChecked(),          ca->text(),
            user->text(),         passwordFile->text(), prefix->text(), homeAssistant->isChecked(),
            commands->isChecked()};
}

} // namespace

void MqttPage::apply()
{
    const MqttSettings::Form form = formOf(m_server, m_port, m_tls, m_caFile, m_user, m_passwordFile, m_prefix,
                                           m_homeAssistant, m_commands);
    if (!MqttSettings::write(core().settings(), form))
        return;
    core().mqtt().restart();
    showState();
}

void MqttPage::test()
{
    if (!m_probe) {
        m_probe = new MqttProbe(core().clock(), this);
        connect(m_probe, &MqttProbe::finished, this, [this](bool ok, const QString& text) {
            m_test->setEnabled(true);
            m_testResult->setText(text);
            core().statusLine().showText(ok ? StatusLevel::Normal : StatusLevel::Error, text);
        });
    }
    m_test->setEnabled(false);
    m_testResult->setText(QStringLiteral("Verbindung wird versucht..."));
    m_probe->start(MqttSettings::fromForm(formOf(m_server, m_port, m_tls, m_caFile, m_user, m_passwordFile, m_prefix,
                                                 m_homeAssistant, m_commands)));
}

void MqttPage::showState()
{
    m_state->setText(core().mqtt().stateText());
}
