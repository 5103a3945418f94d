#include "diagnosis/Signalling.h"

namespace Signalling {

bool armed(bool windowHidden, bool alarmShown)
{
    return windowHidden && !alarmShown;
}

Decision decide(int action, bool windowHidden, bool alarmShown, bool standardVolume, bool ntFamily)
{
    Decision decision;
    if (!armed(windowHidden, alarmShown))
        return decision;
    if (action == 2 || action == 3)
        decision.page = Page::Diagnosis;
    else if (action == 4 || action == 5)
        decision.page = Page::OutgoingCalls;
    if (action == 1 || action == 3 || action == 5) {
        decision.alarmIcon = action == 1;
        decision.sound = ntFamily || standardVolume ? Sound::Beep : Sound::SpeakerTones;
    }
    return decision;
}

bool standardVolumeEnabled(int action, bool ntFamily)
{
    return action % 2 == 1 && !ntFamily;
}

} // namespace Signalling
