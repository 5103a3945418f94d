#pragma once

struct CtlOptions;
class SpeedDialList;

// The speed-dial list from the exchange: a full read (for the firmware and the extension count),
// then the 60 entries into `list`. ExitOk, or the exit status after the reason is on stderr.
int ctlReadSpeedDials(const CtlOptions& options, SpeedDialList& list);
