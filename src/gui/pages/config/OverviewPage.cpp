#include "OverviewPage.h"

#include "ValueLabel.h"
#include "capi/CapiInfoLines.h"
#include "config/BaseConfig.h"
#include "config/ConfigChoices.h"
#include "shell/AppCore.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

OverviewPage::OverviewPage(AppCore& core, QWidget* parent) : Page(core, parent)
{
    auto* left = new QVBoxLayout;
    left->addWidget(buildExchangeBox());
    left->addWidget(buildCapiBox());
    left->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(buildMsnBox(), 0, Qt::AlignTop);
    layout->addStretch();
    refresh();
}

QWidget* OverviewPage::buildExchangeBox()
{
    auto* box = new QGroupBox(QStringLiteral("Anlage"), this);
    auto* form = new QFormLayout(box);
    const auto row = [&](const QString& caption, const QString& whatsThis, const QString& name) {
        auto* value = new ValueLabel(box);
        value->setObjectName(name);
        value->setWhatsThis(whatsThis);
        form->addRow(caption, value);
        return value;
    };
    m_connection = row(QStringLiteral("Anschlußart:"), QStringLiteral("Art des ISDN-Anschlusses der Anlage."),
                       QStringLiteral("Anschlussart"));
    m_protocol = row(QStringLiteral("D-Kanal-Protokoll:"), QStringLiteral("Protokoll des D-Kanals."),
                     QStringLiteral("Protokoll"));
    m_firmware = row(QStringLiteral("Firmware-Version:"), QStringLiteral("Version der Firmware der Anlage."),
                     QStringLiteral("Firmware"));
    m_extensions = row(QStringLiteral("Analoge Nebenstellen:"), QStringLiteral("Anzahl der analogen Nebenstellen."),
                       QStringLiteral("Nebenstellen"));
    m_internalS0 = row(QStringLiteral("Interne S0-Anschlüsse:"), QStringLiteral("Anzahl der internen S0-Anschlüsse."),
                       QStringLiteral("InterneS0"));
    m_externalS0 = row(QStringLiteral("Externe S0-Anschlüsse:"), QStringLiteral("Anzahl der externen S0-Anschlüsse."),
                       QStringLiteral("ExterneS0"));
    m_musicOnHold = row(QStringLiteral("Wartemusik intern:"), QStringLiteral("Interne Wartemusik beim Halten."),
                        QStringLiteral("Wartemusik"));
    m_messageOnHold =
        row(QStringLiteral("Wartemusik von:"), QStringLiteral("Nebenstelle, die beim Halten die Wartemusik spielt."),
            QStringLiteral("WartemusikVon"));
    return box;
}

QWidget* OverviewPage::buildMsnBox()
{
    auto* box = new QGroupBox(QStringLiteral("Rufnummern"), this);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(12);
    grid->addWidget(new QLabel(QStringLiteral("Rufnummer"), box), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Rufrhythmus"), box), 0, 2);
    const QStringList msns = ConfigChoices::msns();
    for (int m = 0; m < 10; ++m) {
        grid->addWidget(new QLabel(msns.value(m), box), m + 1, 0);
        m_numbers[m] = new ValueLabel(box);
        m_numbers[m]->setMinimumWidth(m_numbers[m]->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
        m_rhythms[m] = new ValueLabel(box);
        m_numbers[m]->setObjectName(QStringLiteral("MsnNummer%1").arg(m + 1));
        m_rhythms[m]->setObjectName(QStringLiteral("MsnRhythmus%1").arg(m + 1));
        grid->addWidget(m_numbers[m], m + 1, 1);
        grid->addWidget(m_rhythms[m], m + 1, 2);
    }
    box->setWhatsThis(QStringLiteral("Die Rufnummern (MSN) der Anlage und ihr Rufrhythmus. Rot: geändert, "
                                     "noch nicht zur Anlage übertragen."));
    return box;
}

QWidget* OverviewPage::buildCapiBox()
{
    auto* box = new QGroupBox(QStringLiteral("CAPI"), this);
    auto* form = new QFormLayout(box);
    m_capi = new ValueLabel(box);
    m_capiVersion = new ValueLabel(box);
    m_capi->setObjectName(QStringLiteral("LabelCAPI"));
    m_capiVersion->setObjectName(QStringLiteral("LabelCAPIVersion"));
    form->addRow(QStringLiteral("CAPI-Hersteller:"), m_capi);
    form->addRow(QStringLiteral("CAPI-Version:"), m_capiVersion);
    box->setWhatsThis(QStringLiteral("Hersteller und Version des CAPI-Treibers für die Anrufüberwachung."));
    return box;
}

void OverviewPage::refresh()
{
    const BaseConfig& base = core().baseConfig();
    m_connection->setValue(base.connectionText());
    m_protocol->setValue(base.protocolText());
    m_firmware->setValue(base.firmwareText());
    m_extensions->setValue(base.extensionCountText());
    m_internalS0->setValue(base.internalS0Text());
    m_externalS0->setValue(base.externalS0Text());
    m_musicOnHold->setValue(base.musicOnHold().text, base.musicOnHold().changed);
    m_messageOnHold->setValue(base.messageOnHold().text, base.messageOnHold().changed);
    for (int m = 0; m < 10; ++m) {
        m_numbers[m]->setValue(base.msnNumber(m).text, base.msnNumber(m).changed);
        m_rhythms[m]->setValue(base.msnRhythm(m).text, base.msnRhythm(m).changed);
    }
    refreshCapi();
}

void OverviewPage::showEvent(QShowEvent* event)
{
    refresh(); // the MSN page may have changed values meanwhile
    Page::showEvent(event);
}

void OverviewPage::refreshCapi()
{
    const CapiInfoLines lines = core().capiInfoLines();
    m_capi->setValue(lines.manufacturer, lines.red);
    m_capiVersion->setValue(lines.version);
}
