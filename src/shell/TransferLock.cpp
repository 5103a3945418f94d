#include "shell/TransferLock.h"

#include "diagnosis/LampMatrix.h"
#include "link/PbxLink.h"
#include "shell/Printout.h"

TransferLock::TransferLock(const PbxLink& link, const LampMatrix& lamps, const Printout& printout, QObject* parent)
    : QObject(parent), m_link(link), m_lamps(lamps), m_printout(printout)
{
    connect(&link, &PbxLink::transferLockChanged, this, &TransferLock::update);
    connect(&lamps, &LampMatrix::testingChanged, this, &TransferLock::update);
    connect(&printout, &Printout::busyChanged, this, &TransferLock::update);
    update();
}

void TransferLock::update()
{
    const bool locked = m_link.isLocked() || m_lamps.isTesting() || m_printout.isBusy();
    if (m_locked == locked)
        return;
    m_locked = locked;
    Q_EMIT changed(locked);
}
