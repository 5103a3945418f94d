#pragma once

#include "common/MessageTable.h"
#include "image/ConfigImage.h"
#include "shell/Settings.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <array>

class Clock;

// Stored configurations loaded and written at set times of day ("Zeitsteuerung"). The rows are
// held here as the page shows them: every edit takes effect at once, saving only makes the rows
// survive a restart. The check runs once a second and only in the ready state.
class TimeControl : public QObject
{
    Q_OBJECT

public:
    using Point = Settings::TimePoint;
    static constexpr int PointCount = Settings::kTimePointCount;
    // Ticks after a firing in which nothing fires: the same minute cannot fire twice.
    static constexpr int GuardTicks = 61;
    static constexpr int FileNameLimit = 128;

    TimeControl(Clock& clock, Settings& settings, ConfigImage& image, QObject* parent = nullptr);

    // The stored rows (start-up); changed() follows.
    void loadSettings();
    // Rows 0..5 (points 1..6).
    const Point& point(int row) const;
    void setTime(int row, const QString& hhmm);
    void setFile(int row, const QString& file);
    void setWeekdays(int row, bool on);
    void setWeekend(int row, bool on);
    // "S&peichern": all four keys of all six points.
    bool save();
    // A file picked with the row's browse button: cut to 128 characters and stored at once.
    bool chooseFile(int row, const QString& path);

    void setReady(bool ready) { m_ready = ready; }
    int guard() const { return m_guard; }
    // The file that fires at `now` (empty: none); the highest matching point decides.
    QString dueFile(const QDateTime& now) const;
    // One tick of the one-second timer.
    void onSecond();

Q_SIGNALS:
    void status(int number, StatusLevel level, const QString& arg);
    void changed();
    // The file is in the image: decode base and extensions into the pages.
    void configurationLoaded();
    // Write `loaded` to the exchange as "Konfigurieren" does (password query included).
    void writeRequested(const ConfigImage& loaded);

private:
    void fire(const QString& file);
    Point* row(int index);

    Clock& m_clock;
    Settings& m_settings;
    ConfigImage& m_image;
    std::array<Point, PointCount> m_points;
    bool m_ready = false;
    int m_guard = 0;
};
