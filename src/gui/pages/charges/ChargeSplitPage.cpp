#include "ChargeSplitPage.h"

#include "PieWidget.h"
#include "charges/ChargeUpdate.h"
#include "charges/PieChart.h"
#include "image/Extensions.h"
#include "shell/AppCore.h"
#include "shell/Settings.h"

#include <QHBoxLayout>
#include <QListWidget>

ChargeSplitPage::ChargeSplitPage(AppCore& core, QWidget* parent)
    : Page(core, parent), m_periods(new QListWidget(this)), m_pie(new PieWidget(this))
{
    m_periods->setObjectName(QStringLiteral("GebuehrenAuswahlListBox"));
    m_periods->setFixedWidth(170);
    m_periods->setWhatsThis(QStringLiteral("Die Monate der Gebührendatei und die Gesamtübersicht. Ein Klick zeigt, wie "
                                           "sich die Einheiten dieses Zeitraums auf die Nebenstellen verteilen."));
    m_pie->setWhatsThis(QStringLiteral("Der Anteil jeder Nebenstelle an den Einheiten des gewählten Zeitraums; der "
                                       "Mauszeiger über einem Stück nennt Nebenstelle und Einheiten."));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_periods);
    layout->addWidget(m_pie, 1);
    connect(m_periods, &QListWidget::currentRowChanged, this, &ChargeSplitPage::onPeriodClicked);
    connect(&core, &AppCore::chargesDecoded, this, &ChargeSplitPage::refresh);
    refresh();
}

void ChargeSplitPage::refresh()
{
    const PeriodList& periods = core().chargeUpdate().periods();
    const QSignalBlocker blocker(m_periods);
    m_periods->clear();
    for (const auto& entry : periods.entries())
        m_periods->addItem(entry.text);
    m_periods->setCurrentRow(periods.selected());
    drawSelected();
}

void ChargeSplitPage::setTransferLock(bool locked)
{
    m_periods->setEnabled(!locked);
}

void ChargeSplitPage::onPeriodClicked(int row)
{
    core().chargeUpdate().periods().select(row);
    drawSelected();
}

void ChargeSplitPage::drawSelected()
{
    QStringList names;
    for (int i = 0; i < Extensions::Max; ++i)
        names << core().settings().extensionName(Extensions::number(i));
    const PeriodList& periods = core().chargeUpdate().periods();
    m_pie->setItems(PieChart::forPeriod(periods, periods.selected(), names));
}
