#include "ChargeOverviewPage.h"

#include "charges/ChargeUpdate.h"
#include "image/Extensions.h"
#include "shell/AppCore.h"
#include "shell/Settings.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace {

QLabel* valueLabel(const QString& name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(90);
    return label;
}

QLabel* heading(const QString& text, QWidget* parent, Qt::Alignment align = Qt::AlignRight)
{
    auto* label = new QLabel(QStringLiteral("<b>%1</b>").arg(text), parent);
    label->setAlignment(align | Qt::AlignVCenter);
    return label;
}

} // namespace

ChargeOverviewPage::ChargeOverviewPage(AppCore& core, QWidget* parent) : Page(core, parent)
{
    auto* box = new QGroupBox(QStringLiteral("Gebühren seit dem letzten Zurücksetzen der Zähler"), this);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(18);
    grid->addWidget(heading(QStringLiteral("Nebenstelle"), box, Qt::AlignLeft), 0, 0, 1, 2);
    grid->addWidget(heading(QStringLiteral("Einheiten"), box), 0, 2);
    grid->addWidget(heading(QStringLiteral("Differenz"), box), 0, 3);
    grid->addWidget(heading(QStringLiteral("Kosten"), box), 0, 4);
    for (int i = 0; i < Extensions::Max; ++i) {
        const QString n = Extensions::numberText(i);
        grid->addWidget(new QLabel(n, box), i + 1, 0);
        m_names[i] = new QLabel(box);
        m_names[i]->setObjectName(QStringLiteral("Bezeichnung") + n);
        grid->addWidget(m_names[i], i + 1, 1);
        m_units[i] = valueLabel(QStringLiteral("Einheiten") + n, box);
        m_differences[i] = valueLabel(QStringLiteral("Diff") + n, box);
        m_costs[i] = valueLabel(QStringLiteral("Kosten") + n, box);
        grid->addWidget(m_units[i], i + 1, 2);
        grid->addWidget(m_differences[i], i + 1, 3);
        grid->addWidget(m_costs[i], i + 1, 4);
    }
    auto* rule = new QFrame(box);
    rule->setFrameShape(QFrame::HLine);
    grid->addWidget(rule, 9, 0, 1, 5);
    grid->addWidget(heading(QStringLiteral("Summe"), box, Qt::AlignLeft), 10, 0, 1, 2);
    m_totalUnits = valueLabel(QStringLiteral("EinheitenSumme"), box);
    m_totalDifference = valueLabel(QStringLiteral("DiffSumme"), box);
    m_totalCost = valueLabel(QStringLiteral("KostenSumme"), box);
    grid->addWidget(m_totalUnits, 10, 2);
    grid->addWidget(m_totalDifference, 10, 3);
    grid->addWidget(m_totalCost, 10, 4);
    grid->setColumnStretch(1, 1);
    box->setWhatsThis(QStringLiteral("Die Gebühreneinheiten jeder Nebenstelle nach der letzten Abfrage, in Klammern "
                                     "die Einheiten seit der letzten gespeicherten Abfrage, und die Kosten mit dem "
                                     "Preis je Einheit aus den Programmparametern."));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addStretch(1);
    connect(&core, &AppCore::chargesDecoded, this, &ChargeOverviewPage::refresh);
    refresh();
}

// Labels of extensions the exchange does not have keep what they showed.
void ChargeOverviewPage::refresh()
{
    const ChargeUpdate& charges = core().chargeUpdate();
    for (int i = 0; i < Extensions::Max; ++i) {
        m_names[i]->setText(core().settings().extensionName(Extensions::number(i)));
        if (i >= charges.extensionCount())
            continue;
        m_units[i]->setText(charges.unitsText(i));
        m_differences[i]->setText(charges.differenceText(i));
        m_costs[i]->setText(charges.costText(i));
    }
    m_totalUnits->setText(charges.totalUnitsText());
    m_totalDifference->setText(charges.totalDifferenceText());
    m_totalCost->setText(charges.totalCostText());
}
