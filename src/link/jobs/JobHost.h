#pragma once

#include "common/MessageTable.h"
#include "image/ConfigImage.h"
#include "link/Cells.h"

#include <QByteArray>
#include <QString>

class Clock;

// What the link lends the job that holds the line: the port, the image, the reply time-out, the
// status and progress of the transfer. Only the running job has it.
class JobHost
{
public:
    enum class Phase
    {
        Idle,
        SwitchingOn,
        ReadingBase,
        ReadingExtensions,
        ReadingCharges,
        SpeedDials,
        SavingSpeedDial,
        Writing,
        Ringing,
        FirmwareLocked
    };

    virtual Clock& clock() = 0;
    virtual ConfigImage& image() = 0;
    virtual int firmwareVersion() const = 0;
    virtual int extensionCount() const = 0;
    // One block to the port; false when it could not be handed over.
    virtual bool send(const QByteArray& block) = 0;
    // The reply the job waits for arms the time-out; only that class disarms it.
    virtual void await(Cells::ChunkClass reply) = 0;
    virtual void disarm() = 0;
    // A region as it arrived: copied into the image, compacted, announced for decoding.
    virtual void takeRegion(ConfigImage::Region region, const QByteArray& chunk) = 0;
    virtual void setPhase(Phase phase) = 0;
    virtual void report(int number, StatusLevel level = StatusLevel::Normal, const QString& arg = {}) = 0;
    // Message 36 with the port's name.
    virtual void reportUnwritable() = 0;
    virtual int progress() const = 0;
    virtual void setProgress(int value) = 0;
    virtual void setProgressRange(int value, int maximum) = 0;
    // An outgoing call waits for the charge reading (then the reading leaves the progress alone).
    virtual bool callPending() const = 0;
    virtual int startWaitMs() const = 0;
    // Message 31: the read ends, and everything but help and exit stays locked.
    virtual void lockForFirmware() = 0;
    // The job is over: the line goes to the next one. `failure` is a message already shown
    // (4, 36), 0 for none.
    virtual void jobEnded(int failure) = 0;

protected:
    ~JobHost() = default;
};
