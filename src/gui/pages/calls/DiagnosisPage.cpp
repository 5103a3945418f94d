#include "DiagnosisPage.h"

#include "LampMatrixWidget.h"
#include "diagnosis/LampMatrix.h"
#include "image/Extensions.h"
#include "shell/AppCore.h"
#include "shell/Settings.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

DiagnosisPage::DiagnosisPage(AppCore& core, QWidget* parent)
    : Page(core, parent), m_matrix(new LampMatrixWidget(core.lamps(), this)),
      m_lampTest(new QPushButton(QStringLiteral("Lampentest"), this))
{
    setObjectName(QStringLiteral("PanelDiagnoseModus"));
    m_lampTest->setObjectName(QStringLiteral("ButtonReset"));
    m_matrix->setWhatsThis(QStringLiteral("Die Meldungen der Anlage: je Nebenstelle, welche Amtsleitung oder interne "
                                          "Verbindung sie belegt, die Töne und der Ruf; rechts die gewählte Nummer."));
    m_lampTest->setWhatsThis(QStringLiteral("Schaltet alle Lampen für eine Sekunde ein."));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_matrix, 0, Qt::AlignLeft | Qt::AlignTop);
    auto* buttons = new QHBoxLayout;
    buttons->addSpacing(LampMatrixWidget::FirstColumnX);
    buttons->addWidget(m_lampTest);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    layout->addStretch(1);
    connect(m_lampTest, &QPushButton::clicked, this, [this] { this->core().runLampTest(); });
    connect(&core, &AppCore::dialledNumberChanged, m_matrix, &LampMatrixWidget::setNumber);
    refresh();
}

void DiagnosisPage::refresh()
{
    QStringList names;
    for (int i = 0; i < Extensions::Max; ++i) {
        const QString name = core().settings().extensionName(Extensions::number(i));
        names << (name.isEmpty() ? Extensions::numberText(i) : Extensions::numberText(i) + QStringLiteral("  ") + name);
    }
    m_matrix->setNames(names);
}

void DiagnosisPage::setTransferLock(bool locked)
{
    m_lampTest->setEnabled(!locked);
}
