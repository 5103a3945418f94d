#include "charges/ChargeUpdate.h"

#include "charges/PendingCall.h"
#include "common/Clock.h"
#include "common/FormatPicture.h"
#include "image/ConfigImage.h"
#include "image/ImageLayout.h"

#include <QStringList>

namespace {

constexpr int ChargeKind = 21;

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
    if (m_image[ConfigImage::ChargesOffset] != ChargeKind)
        return;
    Q_EMIT status(Msg::Clear, StatusLevel::Normal, {});
    readUnits();
    m_periods.applyReading(CounterLine::overview(m_units), m_clock.now().date());
    computeCosts();
    updateHistory();
    m_pendingCall.complete();
    Q_EMIT updated();
}

void ChargeUpdate::readUnits()
{
    m_count = ImageLayout::extensionCount(m_image);
    for (int i = 0; i < m_count; ++i)
        m_units[static_cast<std::size_t>(i)] = ImageLayout::units(m_image, i);
    QStringList items;
    for (int value : m_units)
        items << QString::number(value);
    m_unitsItem = items.join(QLatin1Char(';'));
}

// A counter below its baseline was reset at the exchange: the carried-over cost no longer applies.
void ChargeUpdate::computeCosts()
{
    m_totalUnits = 0;
    m_totalCost = 0.0;
    QStringList items;
    for (int i = 0; i < m_count; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const int units = m_units[k];
        const int baseline = m_prices.baselineUnits[k];
        m_costs[k] = baseline > units ? m_prices.pricePerUnit * units
                                      : m_prices.pricePerUnit * (units - baseline) + m_prices.baselineCosts[k];
        m_totalUnits += units;
        m_totalCost += m_costs[k];
        items << FormatPicture::fixed(m_costs[k], 4);
    }
    m_costsItem = items.join(QLatin1Char(';'));
}

void ChargeUpdate::updateHistory()
{
    const HistoryFile::Outcome outcome = m_history.update(m_units, m_totalUnits, m_clock.now(), m_last);
    const QString opening = QStringLiteral("Öffnen der Gebührendatei brachte Fehler %1").arg(outcome.error);
    if (outcome.created)
        Q_EMIT statusText(StatusLevel::Normal, opening);
    else if (outcome.error != 0)
        Q_EMIT statusText(StatusLevel::Error, opening); // never recreated over its lines
    const bool lost = outcome.created ? !outcome.read : outcome.read && m_last.total != m_totalUnits;
    if (lost && !outcome.appended)
        Q_EMIT statusText(StatusLevel::Error, QStringLiteral("Kann nicht nach %1 schreiben").arg(m_history.path()));
}

QString ChargeUpdate::unitsText(int index) const
{
    return index < m_count ? QString::number(m_units.at(static_cast<std::size_t>(index))) : QString();
}

QString ChargeUpdate::differenceText(int index) const
{
    if (index >= m_count)
        return {};
    const auto k = static_cast<std::size_t>(index);
    return difference(m_units[k], m_last.previous[k]);
}

QString ChargeUpdate::costText(int index) const
{
    return index < m_count ? FormatPicture::fixed(cost(index), 4) : QString();
}

QString ChargeUpdate::totalUnitsText() const
{
    return hasReading() ? QString::number(m_totalUnits) : QString();
}

QString ChargeUpdate::totalDifferenceText() const
{
    return hasReading() ? difference(m_totalUnits, m_last.total) : QString();
}

QString ChargeUpdate::totalCostText() const
{
    return hasReading() ? FormatPicture::fixed(m_totalCost, 6) : QString();
}
