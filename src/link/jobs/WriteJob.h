#pragma once

#include "link/jobs/LinkJob.h"

// The configuration write: base configuration, each extension's record, the end of the
// configuration, and optionally the charge units, with a pause after each. It waits for no
// acknowledgement and arms no time-out.
class WriteJob : public LinkJob
{
    Q_OBJECT

public:
    // `asked` is the image as it was when the write was asked for.
    WriteJob(JobHost& host, const ConfigImage& asked, bool transferUnits);

    void start() override;

Q_SIGNALS:
    // A write that waited for a read writes what was asked for, not the read's reply: the regions
    // were put back into the image; decode them again.
    void imageRestored();
    void finished(bool ok);

private:
    void restoreAsked();
    void sendExtension(int index);
    void sendEnd();
    void sendUnits();
    void pauseThenExtension(int index);
    void done(bool sent);

    ConfigImage m_asked;
    bool m_transferUnits;
    QByteArray m_sent; // the image as the write began, the source of every payload
    int m_pauseMs = 100;
};
