#include "shell/TimeControl.h"

#include "common/Clock.h"
#include "config/ConfigFile.h"

#include <QDir>

namespace {

bool isWeekend(const QDate& date)
{
    return date.dayOfWeek() >= Qt::Saturday;
}

} // namespace

TimeControl::TimeControl(Clock& clock, Settings& settings, ConfigImage& image, QObject* parent)
    : QObject(parent), m_clock(clock), m_settings(settings), m_image(image)
{}

void TimeControl::loadSettings()
{
    m_points = m_settings.timePoints();
    Q_EMIT changed();
}

const TimeControl::Point& TimeControl::point(int row) const
{
    return m_points.at(static_cast<std::size_t>(row));
}

TimeControl::Point* TimeControl::row(int index)
{
    return index >= 0 && index < PointCount ? &m_points[static_cast<std::size_t>(index)] : nullptr;
}

void TimeControl::setTime(int index, const QString& hhmm)
{
    if (Point* p = row(index))
        p->time = hhmm;
}

void TimeControl::setFile(int index, const QString& file)
{
    if (Point* p = row(index))
        p->file = file;
}

void TimeControl::setWeekdays(int index, bool on)
{
    if (Point* p = row(index))
        p->weekdays = on;
}

void TimeControl::setWeekend(int index, bool on)
{
    if (Point* p = row(index))
        p->weekend = on;
}

bool TimeControl::save()
{
    return m_settings.setTimePoints(m_points);
}

bool TimeControl::chooseFile(int index, const QString& path)
{
    Point* p = row(index);
    if (!p)
        return false;
    p->file = path.left(FileNameLimit);
    Q_EMIT changed();
    return m_settings.setTimePointFile(index + 1, p->file);
}

QString TimeControl::dueFile(const QDateTime& now) const
{
    const bool weekend = isWeekend(now.date());
    const QString minute = now.time().toString(QStringLiteral("HHmm"));
    QString file;
    for (const Point& p : m_points) {
        if (p.time == minute && (weekend ? p.weekend : p.weekdays))
            file = p.file.left(FileNameLimit); // a later match replaces, even with an empty name
    }
    return file;
}

void TimeControl::onSecond()
{
    if (!m_ready)
        return;
    if (m_guard != 0) {
        --m_guard;
        return;
    }
    const QString file = dueFile(m_clock.now());
    if (file.isEmpty())
        return;
    m_guard = GuardTicks;
    // The write (and its password dialog) runs from the event loop, not inside the tick, so
    // that the timer keeps ticking meanwhile.
    m_clock.callAfter(0, this, [this, file] { fire(file); });
}

void TimeControl::fire(const QString& file)
{
    if (!ConfigFile::load(file, m_image)) {
        Q_EMIT status(Msg::FileNotOpened, StatusLevel::Error, QDir::toNativeSeparators(file));
        return;
    }
    Q_EMIT configurationLoaded();
    // The loaded copy goes with the request: a read reply that arrives while the password dialog
    // is open must not replace the file's configuration before it is written.
    const ConfigImage loaded = m_image;
    Q_EMIT writeRequested(loaded);
}
