#pragma once

#include "image/Extensions.h"

#include <QObject>

#include <array>

class Clock;
struct EventRecord;

// The lamps of the diagnosis matrix: 8 extensions by 10 columns (the handset, "Amt1" .. "Ruf"),
// switched by the state events and by the lamp test. The page paints this state and nothing else.
class LampMatrix : public QObject
{
    Q_OBJECT

public:
    static constexpr int Columns = 10;
    static constexpr int Rows = Extensions::Max;
    static constexpr int LampTestMs = 1000;

    explicit LampMatrix(QObject* parent = nullptr);

    bool lamp(int row, int column) const;
    void lampOn(int row, int column);
    void lampOff(int row, int column);

    // "Lampentest": every lamp on, one second later every lamp off (also those
    // that were on before, until the next event switches them).
    void runLampTest(Clock& clock);
    bool isTesting() const { return m_testing; }

Q_SIGNALS:
    void lampChanged(int row, int column, bool on);
    void testingChanged(bool running);

private:
    void set(int row, int column, bool on);

    std::array<std::array<bool, Columns>, Rows> m_lamps{};
    bool m_testing = false;
};
