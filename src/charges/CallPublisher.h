#pragma once

#include "charges/IncomingCallLog.h"
#include "charges/OutgoingCallLog.h"

#include <QDBusAbstractAdaptor>
#include <QObject>
#include <QString>

class CallBusAdaptor;

// Each logged call for other programs, as signals on the session bus: interface
// "de.brenvik.WinKavex.Calls" of the program's object "/WinKavex", beside the charges. A signal goes
// out when the log line is written, with the fields of that line.
class CallPublisher : public QObject
{
    Q_OBJECT

public:
    static inline const QString Interface = QStringLiteral("de.brenvik.WinKavex.Calls");

    CallPublisher(const IncomingCallLog& incoming, const OutgoingCallLog& outgoing, QObject* parent = nullptr);

    // Adds the interface to the object that goes on the bus; before that object is registered.
    void attachTo(QObject& busObject);

private:
    const IncomingCallLog& m_incoming;
    const OutgoingCallLog& m_outgoing;
    CallBusAdaptor* m_adaptor = nullptr;
};

// The interface as the bus sees it (introspectable).
class CallBusAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "de.brenvik.WinKavex.Calls")

public:
    explicit CallBusAdaptor(QObject& busObject) : QDBusAbstractAdaptor(&busObject) {}

Q_SIGNALS:
    // time "dd.mm.yyyy hh:nn:ss", the MSN called, the caller as received, formatted, place, name,
    // and whether the block list took the call off
    void IncomingCall(const QString& time, const QString& msn, const QString& caller, const QString& formatted,
                      const QString& place, const QString& name, bool blocked);
    void OutgoingCallBegun(const QString& time, int extension, const QString& number, const QString& name);
    // ... and units, the cost as the list shows it, the duration in seconds
    void OutgoingCallCompleted(const QString& time, int extension, const QString& number, const QString& name,
                               int units, const QString& cost, int duration);
};
