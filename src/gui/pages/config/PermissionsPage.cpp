#include "PermissionsPage.h"

#include "CheckCell.h"
#include "ExtensionNames.h"
#include "ValueLabel.h"
#include "config/ExtensionConfig.h"
#include "image/Extensions.h"
#include "shell/AppCore.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace {
enum Column
{
    NumberColumn,
    NameColumn,
    PermissionColumn,
    ServiceColumn,
    TargetColumn,
    ModeColumn,
    PulseColumn,
    TrunkColumn
};
}

PermissionsPage::PermissionsPage(AppCore& core, QWidget* parent) : Page(core, parent)
{
    auto* box = new QGroupBox(QStringLiteral("Nebenstellen"), this);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(10);
    const auto heading = [&](const QString& text, int column, Qt::Alignment alignment = Qt::AlignLeft) {
        auto* label = new QLabel(text, box);
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        grid->addWidget(label, 0, column, 1, column == TargetColumn ? 2 : 1, alignment | Qt::AlignBottom);
    };
    heading(QStringLiteral("Nebenstelle"), NumberColumn);
    heading(QStringLiteral("Bezeichnung"), NameColumn);
    heading(QStringLiteral("Berechtigung"), PermissionColumn);
    heading(QStringLiteral("Dienst"), ServiceColumn);
    heading(QStringLiteral("Rufumleitung"), TargetColumn);
    heading(QStringLiteral("Impuls"), PulseColumn, Qt::AlignHCenter);
    heading(QStringLiteral("Spontane\nAmtsholung"), TrunkColumn, Qt::AlignHCenter);
    for (int g = 0; g < Extensions::Max; ++g) {
        Row& row = m_rows[g];
        const int line = g + 1;
        row.number = new QLabel(Extensions::numberText(g), box);
        row.name = new QLabel(box);
        row.permission = new ValueLabel(box);
        row.service = new ValueLabel(box);
        row.target = new ValueLabel(box);
        row.mode = new ValueLabel(box);
        row.chargePulse = new CheckCell(box);
        row.trunkAccess = new CheckCell(box);
        row.name->setObjectName(QStringLiteral("Bezeichnung%1").arg(Extensions::number(g)));
        row.permission->setObjectName(QStringLiteral("Berechtigung%1").arg(Extensions::number(g)));
        row.service->setObjectName(QStringLiteral("Dienst%1").arg(Extensions::number(g)));
        row.target->setObjectName(QStringLiteral("Rufumleitung%1").arg(Extensions::number(g)));
        row.mode->setObjectName(QStringLiteral("RufUmlKennung%1").arg(Extensions::number(g)));
        row.chargePulse->setObjectName(QStringLiteral("Impuls%1").arg(Extensions::number(g)));
        row.trunkAccess->setObjectName(QStringLiteral("Amtsholung%1").arg(Extensions::number(g)));
        grid->addWidget(row.number, line, NumberColumn, Qt::AlignHCenter);
        grid->addWidget(row.name, line, NameColumn);
        grid->addWidget(row.permission, line, PermissionColumn);
        grid->addWidget(row.service, line, ServiceColumn);
        grid->addWidget(row.target, line, TargetColumn);
        grid->addWidget(row.mode, line, ModeColumn);
        grid->addWidget(row.chargePulse, line, PulseColumn, Qt::AlignHCenter);
        grid->addWidget(row.trunkAccess, line, TrunkColumn, Qt::AlignHCenter);
    }
    box->setWhatsThis(QStringLiteral("Berechtigung, Dienst, Rufumleitung, Gebührenimpuls und spontane Amtsholung "
                                     "der Nebenstellen. Geändert werden sie auf der Seite Nebenstellen; rot: noch "
                                     "nicht zur Anlage übertragen."));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addStretch();
    refresh();
}

void PermissionsPage::refresh()
{
    const ExtensionConfig& extensions = core().extensionConfig();
    const QStringList names = extensionNames(core());
    for (int g = 0; g < Extensions::Max; ++g) {
        Row& row = m_rows[g];
        const bool present = g < extensions.extensionCount();
        row.number->setEnabled(present);
        row.name->setText(names.value(g));
        row.name->setEnabled(present);
        const auto show = [&](ValueLabel* label, const MarkedText& value) {
            label->setValue(present ? value.text : QString(), present && value.changed);
        };
        show(row.permission, extensions.permission(g));
        show(row.service, extensions.service(g));
        show(row.target, extensions.forwardingTarget(g));
        show(row.mode, extensions.forwardingMode(g));
        row.chargePulse->setState(present && extensions.chargePulse(g), false);
        row.chargePulse->setGreyed(!present);
        row.trunkAccess->setState(present && extensions.trunkAccess(g), false);
        row.trunkAccess->setGreyed(!present);
    }
}

void PermissionsPage::showEvent(QShowEvent* event)
{
    refresh(); // the extension page may have changed values meanwhile
    Page::showEvent(event);
}
