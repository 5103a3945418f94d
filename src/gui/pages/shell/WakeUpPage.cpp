#include "WakeUpPage.h"

#include "TimeField.h"
#include "pages/config/ExtensionNames.h"
#include "shell/AppCore.h"
#include "shell/WakeUp.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

WakeUpPage::WakeUpPage(AppCore& core, QWidget* parent) : Page(core, parent), m_duration(new QSpinBox)
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildTimes());
    layout->addWidget(buildDuration());
    auto* note = new QLabel(QStringLiteral("Zur eingestellten Zeit klingelt die Nebenstelle für die Weckdauer. "
                                           "99:99 schaltet die Weckzeit ab."));
    note->setWordWrap(true);
    layout->addWidget(note);
    layout->addStretch(1);
    connect(&core.wakeUp(), &WakeUp::changed, this, &WakeUpPage::refresh);
    refresh();
}

QWidget* WakeUpPage::buildTimes()
{
    auto* group = new QGroupBox(QStringLiteral("Weckzeiten"));
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(QStringLiteral("Nebenstelle")), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Mo-Fr")), 0, 1, Qt::AlignHCenter);
    grid->addWidget(new QLabel(QStringLiteral("Sa-So")), 0, 2, Qt::AlignHCenter);
    const QStringList names = extensionNames(core());
    WakeUp& model = core().wakeUp();
    for (int i = 0; i < Extensions::Max; ++i) {
        const QString number = Extensions::numberText(i);
        const QString name = names.value(i);
        auto* weekdays = new TimeField(QStringLiteral("WeckzeitMoFr") + number);
        auto* weekend = new TimeField(QStringLiteral("WeckzeitSaSo") + number);
        m_weekdays.at(static_cast<std::size_t>(i)) = weekdays;
        m_weekend.at(static_cast<std::size_t>(i)) = weekend;
        grid->addWidget(new QLabel(name.isEmpty() ? number : QStringLiteral("%1 - %2").arg(number, name)), i + 1, 0);
        grid->addWidget(weekdays, i + 1, 1);
        grid->addWidget(weekend, i + 1, 2);
        weekdays->setWhatsThis(QStringLiteral("Weckzeit dieser Nebenstelle von Montag bis Freitag."));
        weekend->setWhatsThis(QStringLiteral("Weckzeit dieser Nebenstelle am Samstag und Sonntag."));
        connect(weekdays, &TimeField::digitsEdited, this,
                [&model, i](const QString& t) { model.setWeekdayTime(i, t); });
        connect(weekend, &TimeField::digitsEdited, this, [&model, i](const QString& t) { model.setWeekendTime(i, t); });
    }
    grid->setColumnStretch(3, 1);
    return group;
}

QWidget* WakeUpPage::buildDuration()
{
    auto* group = new QGroupBox(QStringLiteral("Weckdauer"));
    auto* row = new QHBoxLayout(group);
    m_duration->setObjectName(QStringLiteral("SpinEditWeckdauer"));
    m_duration->setRange(WakeUp::MinDuration, WakeUp::MaxDuration);
    row->addWidget(new QLabel(QStringLiteral("Klingeln für")));
    row->addWidget(m_duration);
    row->addWidget(new QLabel(QStringLiteral("Sekunden")));
    row->addStretch(1);
    m_duration->setWhatsThis(QStringLiteral("So lange klingelt die Nebenstelle (5 bis 60 Sekunden)."));
    connect(m_duration, &QSpinBox::valueChanged, this, [this](int seconds) {
        if (!m_filling)
            core().wakeUp().setDurationSeconds(seconds);
    });
    return group;
}

void WakeUpPage::refresh()
{
    m_filling = true;
    const auto& times = core().wakeUp().times();
    for (int i = 0; i < Extensions::Max; ++i) {
        m_weekdays.at(static_cast<std::size_t>(i))->setDigits(times.weekdays.at(static_cast<std::size_t>(i)));
        m_weekend.at(static_cast<std::size_t>(i))->setDigits(times.weekend.at(static_cast<std::size_t>(i)));
    }
    m_duration->setValue(times.durationSeconds);
    m_filling = false;
}

void WakeUpPage::setTransferLock(bool locked)
{
    for (int i = 0; i < Extensions::Max; ++i) {
        m_weekdays.at(static_cast<std::size_t>(i))->setEnabled(!locked);
        m_weekend.at(static_cast<std::size_t>(i))->setEnabled(!locked);
    }
    m_duration->setEnabled(!locked);
}
