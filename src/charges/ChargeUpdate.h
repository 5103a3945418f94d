#pragma once

#include "charges/ChargeCosts.h"
#include "charges/CounterLine.h"
#include "charges/HistoryFile.h"
#include "charges/PeriodList.h"
#include "common/MessageTable.h"

#include <QObject>
#include <QStringList>

class Clock;
class ConfigImage;
class PendingCall;

// Everything that follows a charge reply, in its fixed order: the units of the present
// extensions, the period list, the costs, the history file (which gives the counters as they were
// before this reading), the completion of a pending outgoing call, the differences. The texts it
// leaves are those the overview page shows and other programs read.
class ChargeUpdate : public QObject
{
    Q_OBJECT

public:
    ChargeUpdate(ConfigImage& image, PendingCall& pendingCall, Clock& clock, const QString& historyPath,
                 QObject* parent = nullptr);

    void setPrices(const ChargePrices& prices) { m_prices = prices; }
    const ChargePrices& prices() const { return m_prices; }
    // At start, before the first reading.
    void loadPeriods();

    // The charge region of the image has just been received.
    void run();

    bool hasReading() const { return m_reading.hasReading(); }
    int extensionCount() const { return m_reading.extensionCount(); }
    const Units& units() const { return m_reading.units(); }
    const Units& previousUnits() const { return m_last.previous; }
    // Whether this reading took the previous units from the history; without them a call's units
    // are unknown.
    bool previousUnitsRead() const { return m_previousRead; }
    QString historyPath() const { return m_history.path(); }
    int lastRecordedTotal() const { return m_last.total; }
    double cost(int index) const { return m_reading.cost(index); }
    int totalUnits() const { return m_reading.totalUnits(); }
    double totalCost() const { return m_reading.totalCost(); }
    // The units and costs of the last reading.
    const ChargeCosts& reading() const { return m_reading; }
    PeriodList& periods() { return m_periods; }
    const PeriodList& periods() const { return m_periods; }

    // The page's texts: empty for extensions the exchange does not have and before a reading.
    QString unitsText(int index) const;
    QString differenceText(int index) const;
    QString costText(int index) const;
    QString totalUnitsText() const;
    QString totalDifferenceText() const;
    QString totalCostText() const;

    // The two published texts: the eight units, the N costs, ";"-separated; empty before a reading.
    QString unitsItem() const { return m_unitsItem; }
    QString costsItem() const { return m_costsItem; }

Q_SIGNALS:
    void status(int number, StatusLevel level, const QString& arg);
    void statusText(StatusLevel level, const QString& text);
    void updated();

private:
    void publishItems();
    void updateHistory();

    ConfigImage& m_image;
    PendingCall& m_pendingCall;
    Clock& m_clock;
    HistoryFile m_history;
    PeriodList m_periods;
    ChargePrices m_prices;
    ChargeCosts m_reading;
    HistoryFile::Last m_last;
    bool m_previousRead = false;
    QString m_unitsItem;
    QString m_costsItem;
};
