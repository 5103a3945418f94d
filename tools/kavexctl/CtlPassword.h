#pragma once

#include "CtlCommand.h"

#include <QString>
#include <optional>

// The configuration password for kavexctl: read from standard input (--password-stdin, one line)
// or asked on the terminal without echo. Standard input that is no terminal is never asked.
namespace CtlPassword {

// One line from standard input, or from the terminal after `prompt`; nothing at the end of input
// or without a terminal to ask on.
std::optional<QString> read(bool fromStdin, const char* prompt);

struct WritePassword
{
    int status = ExitOk;
    QString text; // as entered (empty when none is set): the running program checks it again
};

// Before a write: ExitOk when no password is set or the right one was given, else the reason on
// stderr ("Falsches Paßwort" for none or a wrong one) and ExitUsage.
WritePassword checkForWrite(const CtlOptions& options, bool fromStdin);

} // namespace CtlPassword
