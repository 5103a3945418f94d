#include "charges/ChargeUpdate.h"

#include "charges/PendingCall.h"
#include "common/Clock.h"
#include "image/ConfigImage.h"
#include "common/FileMessages.h"

#include <QStringList>

namespace {

QString difference(int now, int before)
{
    return before < now ? QStringLiteral("(+%1)").arg(now - before) : QString();
}

} // namespace

ChargeUpdate::ChargeUpdate(ConfigImage& image, PendingCall& pendingCall, Clock& clock, const QString& historyPath,
                           QObject* parent)
    : QObject(parent), m_image(image), m_pendingCall(pendingCall), m_clock(clock), m_history(historyPath)
{}

void ChargeUpdate::loadPeriods()
{
    m_periods = PeriodList::fromHistory(m_history.path());
}

void ChargeUpdate::run()
{
    if (!ChargeCosts::holdsCharges(m_image))
        return;
    Q_EMIT status(Msg::Clear, StatusLevel::Normal, {});
    m_reading = ChargeCosts(m_image, m_prices);
    m_periods.applyReading(CounterLine::overview(units()), m_clock.now().date());
    publishItems();
    updateHistory();
    m_pendingCall.complete();
    Q_EMIT updated();
}

void ChargeUpdate::publishItems()
{
    QStringList units, costs;
    for (int value : m_reading.units())
        units << QString::number(value);
    for (int i = 0; i < m_reading.extensionCount(); ++i)
        costs << m_reading.costText(i);
    m_unitsItem = units.join(QLatin1Char(';'));
    m_costsItem = costs.join(QLatin1Char(';'));
}

void ChargeUpdate::updateHistory()
{
    const HistoryFile::Outcome outcome = m_history.update(units(), totalUnits(), m_clock.now(), m_last);
    m_previousRead = outcome.read && !outcome.created;
    const QString opening = QStringLiteral("Öffnen der Gebührendatei brachte Fehler %1").arg(outcome.error);
    if (outcome.created)
        Q_EMIT statusText(StatusLevel::Normal, opening);
    else if (outcome.error != 0)
        Q_EMIT statusText(StatusLevel::Error, opening); // never recreated over its lines
    // A new file's header may have been written while its first data line was not.
    const bool lost = (outcome.created && !outcome.read) || (outcome.read && m_last.total != totalUnits());
    if (lost && !outcome.appended)
        Q_EMIT statusText(StatusLevel::Error, FileMessages::cannotWrite(m_history.path()));
}

QString ChargeUpdate::unitsText(int index) const
{
    return m_reading.unitsText(index);
}

QString ChargeUpdate::differenceText(int index) const
{
    if (index >= extensionCount())
        return {};
    const auto k = static_cast<std::size_t>(index);
    return difference(units()[k], m_last.previous[k]);
}

QString ChargeUpdate::costText(int index) const
{
    return m_reading.costText(index);
}

QString ChargeUpdate::totalUnitsText() const
{
    return m_reading.totalUnitsText();
}

QString ChargeUpdate::totalDifferenceText() const
{
    return hasReading() ? difference(totalUnits(), m_last.total) : QString();
}

QString ChargeUpdate::totalCostText() const
{
    return m_reading.totalCostText();
}
