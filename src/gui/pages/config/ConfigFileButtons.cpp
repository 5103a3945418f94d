#include "ConfigFileButtons.h"

#include "ConfigFileActions.h"
#include "MonthlyReportButton.h"
#include "PrintButton.h"

#include <QPushButton>
#include <QVBoxLayout>

ConfigFileButtons::ConfigFileButtons(AppCore& core, QWidget* parent)
    : QWidget(parent), m_actions(new ConfigFileActions(core, this))
{
    m_save = new QPushButton(QStringLiteral("In Datei schreiben..."), this);
    m_save->setWhatsThis(QStringLiteral("Speichert die angezeigte Konfiguration in einer Datei (*.kvx)."));
    m_load = new QPushButton(QStringLiteral("Aus Datei lesen..."), this);
    m_load->setWhatsThis(QStringLiteral("Lädt eine gespeicherte Konfiguration (*.kvx) in die Seiten. Zur Anlage "
                                        "übertragen wird sie erst mit \"Konfigurieren\"."));
    m_print = new PrintButton(core, this);
    m_report = new MonthlyReportButton(core, this);
    m_save->setObjectName(QStringLiteral("InDateiSchreiben"));
    m_load->setObjectName(QStringLiteral("AusDateiLesen"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_save);
    layout->addWidget(m_load);
    layout->addWidget(m_print);
    layout->addWidget(m_report);
    connect(m_save, &QPushButton::clicked, m_actions, &ConfigFileActions::save);
    connect(m_load, &QPushButton::clicked, m_actions, &ConfigFileActions::load);
}
