#pragma once

#include <QString>

#include <functional>

// Where the CAPI code reports a notice the user should see (the GUI shows it in an information
// box); the core itself has no widgets. An empty sink drops the notice.
using CapiNoticeSink = std::function<void(const QString& text)>;
