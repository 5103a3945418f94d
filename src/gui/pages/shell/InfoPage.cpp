#include "InfoPage.h"

#include "LampAnimation.h"
#include "shell/AppCore.h"
#include "shell/VorwahlLibrary.h"

#include <QLabel>
#include <QVBoxLayout>

#include "common/ProgramVersion.h"

namespace {

const QString Version = QString::fromUtf8(ProgramVersion::Number);
const QString VersionDate = QString::fromUtf8(ProgramVersion::Date);

} // namespace

InfoPage::InfoPage(AppCore& core, QWidget* parent)
    : Page(core, parent), m_libraryLine(new QLabel), m_animation(new LampAnimation)
{
    auto* name = new QLabel(QStringLiteral("WinKavex"));
    QFont big = name->font();
    big.setPointSize(big.pointSize() + 10);
    big.setBold(true);
    name->setFont(big);
    auto* title = new QLabel(QStringLiteral("Kavex K3/K8 - Konfiguration"));
    auto* version = new QLabel(versionLine());
    version->setObjectName(QStringLiteral("VersionLine"));
    m_libraryLine->setObjectName(QStringLiteral("LibraryVersionLine"));

    auto* layout = new QVBoxLayout(this);
    layout->addSpacing(12);
    for (QWidget* w : {static_cast<QWidget*>(name), static_cast<QWidget*>(title), static_cast<QWidget*>(m_animation),
                       static_cast<QWidget*>(version), static_cast<QWidget*>(m_libraryLine)})
        layout->addWidget(w, 0, Qt::AlignHCenter);
    layout->addStretch(1);
    m_animation->setFixedSize(m_animation->sizeHint());
    m_animation->setWhatsThis(QStringLiteral("Die Lampen der Nebenstellen 21 bis 28."));
    refresh();
}

QString InfoPage::versionLine()
{
    return QStringLiteral("Version %1 vom %2").arg(Version, VersionDate);
}

void InfoPage::refresh()
{
    m_libraryLine->setText(core().vorwahl().versionLine());
}

void InfoPage::showEvent(QShowEvent* event)
{
    Page::showEvent(event);
    m_animation->start();
}

void InfoPage::hideEvent(QHideEvent* event)
{
    Page::hideEvent(event);
    m_animation->stop();
}
