#pragma once

#include "Page.h"
#include "image/Extensions.h"

#include <array>

class QSpinBox;
class TimeField;

// "Weckzeiten": per extension a wake-up time for Monday to Friday and one for the weekend, and
// the ringing duration. Every edit goes to the core at once, which stores it.
class WakeUpPage : public Page
{
    Q_OBJECT
public:
    explicit WakeUpPage(AppCore& core, QWidget* parent = nullptr);

    void refresh() override;
    void setTransferLock(bool locked) override;

    TimeField* weekdayField(int index) const { return m_weekdays.at(static_cast<std::size_t>(index)); }
    TimeField* weekendField(int index) const { return m_weekend.at(static_cast<std::size_t>(index)); }
    QSpinBox* durationBox() const { return m_duration; }

private:
    QWidget* buildTimes();
    QWidget* buildDuration();

    std::array<TimeField*, Extensions::Max> m_weekdays{};
    std::array<TimeField*, Extensions::Max> m_weekend{};
    QSpinBox* m_duration;
    bool m_filling = false;
};
