#pragma once

#include "diagnosis/Signalling.h"
#include "link/StateEvents.h"

#include <QObject>

#include <memory>

class LampMatrix;
class Settings;
class SpeakerDevice;
class TPCSpeaker;
class ToneOutput;

// The lamps and the signalling of the exchange's state events. The lamps follow every event; while
// the window is hidden, a chunk of events may bring it back on a page, set the alarm icon, beep or
// play the speaker tones, as "Aktion bei Diagnosemeldungen" chooses.
class DiagnosisSignalling : public QObject
{
    Q_OBJECT
public:
    DiagnosisSignalling(Settings& settings, LampMatrix& lamps, TPCSpeaker& speaker, QObject* parent = nullptr);
    ~DiagnosisSignalling() override;

    // The state events' lamps; the lamp test's lamps are switched by the test alone.
    void showLamps(const StateEvents::Effect& effect);
    // A chunk of state events has been handled.
    void onChunk();

    // The alarm of the signalling, shown by the tray icon ("SMALL-ALARM").
    void setAlarm(bool on);
    bool isAlarm() const { return m_alarm; }
    // The window's visibility decides whether a chunk signals.
    void setWindowHidden(bool hidden) { m_windowHidden = hidden; }
    bool isWindowHidden() const { return m_windowHidden; }
    // The generated audio plays the speaker tones where the speaker device may not be opened.
    void setToneFallback(ToneOutput* output) { m_toneFallback = output; }

    // "Aktion bei Diagnosemeldungen": stored at once; actionChanged().
    void setAction(int position);
    // "Standardlautstärke" applies only to an acoustic action.
    bool isStandardVolumeEnabled() const;

Q_SIGNALS:
    void alarmChanged(bool on);
    // Show the window with this page; the standard beep.
    void pageRequested(Signalling::Page page);
    void beepRequested();
    void actionChanged(int position);

private:
    void playSpeakerTones();

    Settings& m_settings;
    LampMatrix& m_lamps;
    TPCSpeaker& m_speaker;
    std::unique_ptr<SpeakerDevice> m_speakerDevice;
    bool m_speakerLooked = false;
    ToneOutput* m_toneFallback = nullptr;
    bool m_alarm = false;
    bool m_windowHidden = false;
};
