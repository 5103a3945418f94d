#include "diagnosis/LampMatrix.h"

#include "common/Clock.h"

LampMatrix::LampMatrix(QObject* parent) : QObject(parent) {}

bool LampMatrix::lamp(int row, int column) const
{
    if (row < 0 || row >= Rows || column < 0 || column >= Columns)
        return false;
    return m_lamps[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

void LampMatrix::lampOn(int row, int column)
{
    set(row, column, true);
}

void LampMatrix::lampOff(int row, int column)
{
    set(row, column, false);
}

void LampMatrix::set(int row, int column, bool on)
{
    if (row < 0 || row >= Rows || column < 0 || column >= Columns)
        return;
    bool& lamp = m_lamps[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    if (lamp == on)
        return;
    lamp = on;
    Q_EMIT lampChanged(row, column, on);
}

void LampMatrix::runLampTest(Clock& clock)
{
    if (m_testing)
        return;
    m_testing = true;
    Q_EMIT testingChanged(true);
    for (int row = 0; row < Rows; ++row)
        for (int column = 0; column < Columns; ++column)
            lampOn(row, column);
    clock.callAfter(LampTestMs, this, [this] {
        for (int row = 0; row < Rows; ++row)
            for (int column = 0; column < Columns; ++column)
                lampOff(row, column);
        m_testing = false;
        Q_EMIT testingChanged(false);
    });
}
