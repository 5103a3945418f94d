#include "shell/DiagnosisSignalling.h"

#include "diagnosis/LampMatrix.h"
#include "diagnosis/SpeakerDevice.h"
#include "diagnosis/TPCSpeaker.h"
#include "shell/Settings.h"

DiagnosisSignalling::DiagnosisSignalling(Settings& settings, LampMatrix& lamps, TPCSpeaker& speaker, QObject* parent)
    : QObject(parent), m_settings(settings), m_lamps(lamps), m_speaker(speaker)
{}

DiagnosisSignalling::~DiagnosisSignalling() = default;

void DiagnosisSignalling::showLamps(const StateEvents::Effect& effect)
{
    if (effect.kind == StateEvents::Effect::Kind::Lamp) {
        effect.on ? m_lamps.lampOn(effect.extension, effect.column) : m_lamps.lampOff(effect.extension, effect.column);
    } else if (effect.kind == StateEvents::Effect::Kind::AllLampsOff) {
        for (int column = 0; column < LampMatrix::Columns; ++column)
            m_lamps.lampOff(effect.extension, column);
    }
}

void DiagnosisSignalling::onChunk()
{
    // Every chunk of a burst comes here: the settings file is read only when the chunk can signal.
    if (!Signalling::armed(m_windowHidden, m_alarm))
        return;
    const int action = m_settings.diagnosisAction();
    const bool standardVolume = Signalling::standardVolumeEnabled(action) && m_settings.standardVolume();
    const Signalling::Decision decision = Signalling::decide(action, m_windowHidden, m_alarm, standardVolume);
    if (decision.page != Signalling::Page::None) {
        m_windowHidden = false;
        Q_EMIT pageRequested(decision.page);
    }
    if (decision.alarmIcon)
        setAlarm(true);
    if (decision.sound == Signalling::Sound::Beep)
        Q_EMIT beepRequested();
    else if (decision.sound == Signalling::Sound::SpeakerTones)
        playSpeakerTones();
}

// The speaker device is looked for once, at the first alarm that needs it.
void DiagnosisSignalling::playSpeakerTones()
{
    if (!m_speakerLooked) {
        m_speakerLooked = true;
        m_speakerDevice = SpeakerDevice::open();
    }
    m_speaker.setOutput(m_speakerDevice ? m_speakerDevice.get() : m_toneFallback);
    m_speaker.playAlarm();
}

void DiagnosisSignalling::setAlarm(bool on)
{
    if (m_alarm == on)
        return;
    m_alarm = on;
    Q_EMIT alarmChanged(on);
}

void DiagnosisSignalling::setAction(int position)
{
    m_settings.setDiagnosisAction(position);
    Q_EMIT actionChanged(position);
}

bool DiagnosisSignalling::isStandardVolumeEnabled() const
{
    return Signalling::standardVolumeEnabled(m_settings.diagnosisAction());
}
