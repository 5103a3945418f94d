#include "shell/SecondTick.h"

void SecondTick::set(Duty duty, std::function<void()> work)
{
    m_duties.at(static_cast<std::size_t>(duty)) = std::move(work);
}

bool SecondTick::has(Duty duty) const
{
    return static_cast<bool>(m_duties.at(static_cast<std::size_t>(duty)));
}

void SecondTick::run() const
{
    for (const auto& duty : m_duties) {
        if (duty)
            duty();
    }
}
