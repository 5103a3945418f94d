#pragma once

// What a chunk of state events does while the window is hidden, by the action chosen under
// "Aktion bei Diagnosemeldungen" (0 "Keine" .. 5 "Verbindungsliste und akust. Signal"): bring up a
// page, set the alarm icon, sound. Once per hidden period: showing the window or the alarm icon
// ends it.
namespace Signalling {

enum class Page
{
    None,
    Diagnosis,
    OutgoingCalls
};

enum class Sound
{
    None,
    Beep,        // the desktop's standard beep
    SpeakerTones // 800, 500, 800 Hz on the PC speaker
};

struct Decision
{
    Page page = Page::None;
    bool alarmIcon = false;
    Sound sound = Sound::None;
    bool operator==(const Decision&) const = default;
};

// The family of systems whose programs may not drive the speaker; never so on Linux.
inline constexpr bool NtFamily = false;

// A chunk signals only while the window is hidden and no alarm icon shows; the settings need not
// be read otherwise.
bool armed(bool windowHidden, bool alarmShown);
Decision decide(int action, bool windowHidden, bool alarmShown, bool standardVolume, bool ntFamily = NtFamily);
// "Standardlautstärke bei akustischer Signalisierung" applies to the acoustic actions only.
bool standardVolumeEnabled(int action, bool ntFamily = NtFamily);

} // namespace Signalling
