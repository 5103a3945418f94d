#include "CallWaitingPage.h"

#include "CheckMatrix.h"
#include "config/ConfigChoices.h"
#include "config/ExtensionConfig.h"
#include "image/Extensions.h"
#include "shell/AppCore.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {
QStringList extensionCaptions(const QString& prefix)
{
    QStringList captions;
    for (int extension = 21; extension <= 28; ++extension)
        captions << prefix + QString::number(extension);
    return captions;
}

QGroupBox* boxed(const QString& title, CheckMatrix* matrix, QWidget* parent)
{
    auto* box = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(matrix);
    return box;
}
} // namespace

CallWaitingPage::CallWaitingPage(AppCore& core, QWidget* parent) : Page(core, parent)
{
    m_msnMatrix = new CheckMatrix(this);
    m_msnMatrix->setCaptions(ConfigChoices::msns(), extensionCaptions({}));
    m_msnMatrix->setWhatsThis(QStringLiteral("Anrufe auf diese Rufnummern (Zeilen) dürfen bei der besetzten "
                                             "Nebenstelle (Spalte) anklopfen."));
    m_msnMatrix->setObjectName(QStringLiteral("AnklopfenMsnMatrix"));
    m_extensionMatrix = new CheckMatrix(this);
    m_extensionMatrix->setObjectName(QStringLiteral("AnklopfenNebenstellenMatrix"));
    m_extensionMatrix->setCaptions(extensionCaptions(QStringLiteral("von ")), extensionCaptions({}));
    m_extensionMatrix->setWhatsThis(QStringLiteral("Interne Anrufe dieser Nebenstellen (Zeilen) dürfen bei der "
                                                   "besetzten Nebenstelle (Spalte) anklopfen."));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(boxed(QStringLiteral("Anklopfen von MSN"), m_msnMatrix, this), 0, Qt::AlignTop);
    layout->addWidget(boxed(QStringLiteral("Anklopfen von Nebenstellen"), m_extensionMatrix, this), 0, Qt::AlignTop);
    layout->addStretch();
    refresh();
}

void CallWaitingPage::refresh()
{
    const ExtensionConfig& extensions = core().extensionConfig();
    const int count = extensions.extensionCount();
    for (int g = 0; g < Extensions::Max; ++g) {
        for (int m = 0; m < 10; ++m) {
            const MarkedFlag flag = extensions.msnWaiting(m, g);
            m_msnMatrix->setCell(m, g, flag.set, flag.changed);
            m_msnMatrix->setGreyed(m, g, g >= count);
        }
        for (int j = 0; j < Extensions::Max; ++j) {
            const MarkedFlag flag = extensions.extensionWaiting(j, g);
            m_extensionMatrix->setCell(j, g, flag.set, flag.changed);
            m_extensionMatrix->setGreyed(j, g, j == g || j >= count || g >= count);
        }
    }
}

void CallWaitingPage::showEvent(QShowEvent* event)
{
    refresh(); // the extension page may have changed cells meanwhile
    Page::showEvent(event);
}
