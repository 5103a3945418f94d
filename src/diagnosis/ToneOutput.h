#pragma once

#include <QtGlobal>

// Where a tone of the PC speaker ends up: the speaker device of the kernel, or generated audio
// where that may not be opened.
class ToneOutput
{
public:
    virtual ~ToneOutput() = default;
    // `frequency` in Hz and the timer divisor for it (1193181 div frequency).
    virtual bool start(int frequency, quint16 divisor) = 0;
    virtual void stop() = 0;
};
