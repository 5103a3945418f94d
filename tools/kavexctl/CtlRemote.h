#pragma once

#include "CtlCommand.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariantList>

#include <optional>

// The running program (window or service), when it holds the exchange for kavexctl's program
// directory: a command then asks it over the session bus, and the program runs the command as a
// job of its queue, so that the port stays with it and both never mix their cells on the line.
class CtlRemote
{
public:
    struct Answer
    {
        int status = ExitOk; // the command's exit status
        QString message;     // its reason, for stderr
        QByteArray image;
        QList<QByteArray> speedDials;

        // The status, after the reason is on stderr when there is one.
        int reported() const;
    };

    // The program's exchange, or nothing: --port or --simulate given, no session bus, no program
    // on it, or one that works on another program directory.
    static std::optional<CtlRemote> find(const CtlOptions& options);

    // Calls `method` and waits for its answer (SIGINT and SIGTERM end the wait with 128 + the
    // signal's number; the program finishes the job by itself).
    Answer call(const QString& method, const QVariantList& arguments = {}) const;

private:
    CtlRemote() = default;
};
