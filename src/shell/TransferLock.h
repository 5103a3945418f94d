#pragma once

#include <QObject>

class LampMatrix;
class PbxLink;
class Printout;

// Whether the controls are locked: a transfer runs or waits (or the firmware is too old), the lamp
// test runs, or a printout waits for the speed dials it needs. One value; changed() only when it
// changes, so that a printout's read and its job never show an unlocked moment between them.
class TransferLock : public QObject
{
    Q_OBJECT
public:
    TransferLock(const PbxLink& link, const LampMatrix& lamps, const Printout& printout, QObject* parent = nullptr);

    bool isLocked() const { return m_locked; }

Q_SIGNALS:
    void changed(bool locked);

private:
    void update();

    const PbxLink& m_link;
    const LampMatrix& m_lamps;
    const Printout& m_printout;
    bool m_locked = false;
};
