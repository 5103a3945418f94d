#include "AssignmentPage.h"

#include "CheckMatrix.h"
#include "config/BaseConfig.h"
#include "config/ConfigChoices.h"
#include "image/Extensions.h"
#include "shell/AppCore.h"

#include <QGroupBox>
#include <QVBoxLayout>

namespace {
QStringList extensionCaptions()
{
    QStringList captions;
    for (int extension = 21; extension <= 28; ++extension)
        captions << QString::number(extension);
    return captions;
}
} // namespace

AssignmentPage::AssignmentPage(AppCore& core, QWidget* parent) : Page(core, parent)
{
    auto* box = new QGroupBox(QStringLiteral("Nebenstellen, die bei einem Anruf auf die MSN klingeln"), this);
    m_matrix = new CheckMatrix(box);
    m_matrix->setObjectName(QStringLiteral("ZuordnungMatrix"));
    m_matrix->setCaptions(ConfigChoices::msns(), extensionCaptions());
    m_matrix->setWhatsThis(QStringLiteral("Zuordnung der Rufnummern (MSN) zu den Nebenstellen. Geändert wird sie "
                                          "auf der Seite Grundparameter; rot: noch nicht zur Anlage übertragen."));
    auto* boxLayout = new QVBoxLayout(box);
    boxLayout->addWidget(m_matrix);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addStretch();
    refresh();
}

void AssignmentPage::refresh()
{
    const BaseConfig& base = core().baseConfig();
    const QStringList msns = ConfigChoices::msns();
    for (int m = 0; m < 10; ++m) {
        const QString number = base.msnNumber(m).text;
        m_matrix->setRowCaption(m, number.isEmpty() ? msns.value(m)
                                                    : msns.value(m) + QStringLiteral("  (%1)").arg(number));
        for (int i = 0; i < Extensions::Max; ++i) {
            const MarkedFlag flag = base.assignment(m, i);
            m_matrix->setCell(m, i, flag.set, flag.changed);
            m_matrix->setGreyed(m, i, i >= base.extensionCount());
        }
    }
}

void AssignmentPage::showEvent(QShowEvent* event)
{
    refresh(); // the MSN page may have changed cells meanwhile
    Page::showEvent(event);
}
