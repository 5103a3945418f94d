#pragma once

#include "link/jobs/LinkJob.h"

// Reading the exchange: base configuration, extensions, charges, each requested when the reply
// before it has been taken in. Start-up sends the switch-on request first; a charge reading after
// a call asks for the charges alone; the repeat after the first time-out of the run waits the
// start wait time first.
class ReadJob : public LinkJob
{
    Q_OBJECT

public:
    enum class Kind
    {
        StartUp,
        Full,
        Charges,
        Repeat
    };

    ReadJob(JobHost& host, Kind kind);

    void start() override;
    void onReply(Cells::ChunkClass reply, const QByteArray& chunk) override;

Q_SIGNALS:
    // The charge step has finished (ready state, unlocked).
    void finished();

private:
    void requestBase();
    void requestCharges();
    void onBase(const QByteArray& chunk);
    void onExtensions(const QByteArray& chunk);
    void onCharges(const QByteArray& chunk);

    Kind m_kind;
};
