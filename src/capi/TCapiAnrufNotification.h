#pragma once

#include <QMetaType>
#include <QString>

// One incoming call as the monitor reports it.
struct TCapiAnrufNotification
{
    QString CallingPartyNumber; // digits only; empty when the caller withholds the number
    QString CalledPartyNumber;  // the MSN called
    quint16 CipValue = 0;
    QString CipValueString; // empty for a CIP value without text
    // First octet of the calling party number: type of number in bits 5–7 (0x11 international,
    // 0x21 national, with the ISDN numbering plan), so the log can put "00" or "0" in front.
    quint8 CallingTypeOfNumber = 0;
    // Taken off by the block rule before the phones ring on, and the name it is logged with.
    bool Blocked = false;
    QString BlockedName;
};
Q_DECLARE_METATYPE(TCapiAnrufNotification)
