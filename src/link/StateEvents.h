#pragma once

#include "image/Extensions.h"
#include "link/EventRecord.h"

#include <QObject>
#include <QString>
#include <array>
#include <functional>

// The exchange's state events turned into state: the lamp matrix (8 extensions x 10 columns),
// the dialled-number display per extension, the owners of the two trunk channels and the
// digits-dialled flag, with the notifications the call log and the diagnosis page follow.
class StateEvents : public QObject
{
    Q_OBJECT

public:
    static constexpr int Columns = 10;
    static constexpr int RingColumn = 9;

    // What one record did, for listings.
    struct Effect
    {
        enum class Kind
        {
            None,
            Lamp,
            AllLampsOff,
            Digit
        };
        Kind kind = Kind::None;
        int extension = -1; // index 0..7
        int column = -1;
        bool on = false;
        QString display;
    };

    explicit StateEvents(QObject* parent = nullptr);

    Effect apply(const EventRecord& record);

    bool lamp(int extension, int column) const;
    QString display(int extension) const;
    // Channel 0 = Amt1, 1 = Amt2: extension number 1..8 (index + 1), 0 = none.
    int trunkOwner(int channel) const;
    bool digitsDialled() const { return m_digitsDialled; }

    // Whether an extension may seize a trunk by lifting the handset (record byte 17); without it
    // a leading "0" is shown as "0-". Not set: every extension counts as having it.
    void setSpontaneousTrunkAccess(std::function<bool(int extension)> query);
    // Monitoring of outgoing calls ("Abgehende Rufe"); on by default.
    void setOutgoingMonitoring(bool on) { m_monitoring = on; }

Q_SIGNALS:
    void lampChanged(int extension, int column, bool on);
    void displayChanged(int extension, const QString& text);
    // The extension has dialled out: an outgoing call record begins with this display.
    void outgoingCallBegins(int extension, const QString& display);
    // A trunk lamp ("Amt1", "Amt2") went off: a pending outgoing call has ended.
    void trunkReleased();
    // Handset event (sub 4): the running duration of the open call stops.
    void callDurationStopped(int extension);

private:
    Effect applyLine(const EventRecord& r);
    Effect applyDigit(int extension, int code);
    Effect setLamp(int extension, int column, bool on);
    void setDisplay(int extension, const QString& text);
    static bool validExtension(int extension) { return extension >= 0 && extension < Extensions::Max; }

    std::array<std::array<bool, Columns>, Extensions::Max> m_lamps{};
    std::array<QString, Extensions::Max> m_displays;
    std::array<int, 2> m_trunkOwners{};
    bool m_digitsDialled = false;
    bool m_monitoring = true;
    std::function<bool(int)> m_spontaneous;
};
