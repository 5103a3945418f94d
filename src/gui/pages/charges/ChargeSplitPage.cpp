#include "ChargeSplitPage.h"

#include "PieWidget.h"
#include "charges/ChargeUpdate.h"
#include "charges/PieChart.h"
#include "image/Extensions.h"
#include "shell/AppCore.h"
#include "shell/Settings.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QListWidget>
#include <QTableWidget>

ChargeSplitPage::ChargeSplitPage(AppCore& core, QWidget* parent)
    : Page(core, parent), m_periods(new QListWidget(this)), m_pie(new PieWidget(this)),
      m_legend(new QTableWidget(0, 4, this))
{
    m_legend->setObjectName(QStringLiteral("Legende"));
    m_legend->setAccessibleName(QStringLiteral("Legende"));
    m_legend->setHorizontalHeaderLabels(
        {QStringLiteral("Nst."), QStringLiteral("Name"), QStringLiteral("Einheiten"), QStringLiteral("Anteil")});
    m_legend->verticalHeader()->hide();
    m_legend->setShowGrid(false);
    m_legend->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_legend->setSelectionMode(QAbstractItemView::NoSelection);
    m_legend->setFocusPolicy(Qt::NoFocus);
    m_legend->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_legend->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_legend->verticalHeader()->setDefaultSectionSize(m_legend->fontMetrics().height() + 6);
    m_legend->setFixedWidth(260);
    m_legend->setWhatsThis(QStringLiteral("Farbe, Nummer und Name jeder Nebenstelle mit ihren Einheiten und ihrem "
                                          "Anteil im gewählten Zeitraum."));
    m_periods->setObjectName(QStringLiteral("GebuehrenAuswahlListBox"));
    m_periods->setFixedWidth(170);
    m_periods->setAccessibleName(QStringLiteral("Zeitraum"));
    m_periods->setWhatsThis(QStringLiteral("Die Monate der Gebührendatei und die Gesamtübersicht. Ein Klick zeigt, wie "
                                           "sich die Einheiten dieses Zeitraums auf die Nebenstellen verteilen."));
    m_pie->setWhatsThis(QStringLiteral("Der Anteil jeder Nebenstelle an den Einheiten des gewählten Zeitraums; der "
                                       "Mauszeiger über einem Stück nennt Nebenstelle und Einheiten."));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_periods);
    layout->addWidget(m_pie, 1);
    layout->addWidget(m_legend);
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
    fillLegend(names);
}

void ChargeSplitPage::fillLegend(const QStringList& names)
{
    const ChargeUpdate& charges = core().chargeUpdate();
    // Before the first reading the exchange's size is unknown: every extension of the file.
    const int present = charges.extensionCount() > 0 ? charges.extensionCount() : Extensions::Max;
    const QList<PieChart::LegendRow> rows =
        PieChart::legend(charges.periods(), charges.periods().selected(), names, present);
    m_legend->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const PieChart::LegendRow& row = rows[r];
        auto* number = new QTableWidgetItem(QString::number(row.extension));
        number->setData(Qt::DecorationRole, QColor(row.colour.r, row.colour.g, row.colour.b));
        auto* units = new QTableWidgetItem(QString::number(row.units));
        units->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* share = new QTableWidgetItem(row.share);
        share->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_legend->setItem(r, 0, number);
        m_legend->setItem(r, 1, new QTableWidgetItem(row.name));
        m_legend->setItem(r, 2, units);
        m_legend->setItem(r, 3, share);
    }
}
