#pragma once

#include "shell/ExchangeService.h"

#include <QDBusAbstractAdaptor>
#include <QDBusMessage>
#include <QString>

// The exchange on the session bus: interface "de.brenvik.WinKavex.Exchange" of the program's
// object "/WinKavex". Every method answers when its job of the queue has ended (a delayed reply),
// with the outcome (kavexctl's exit status), the reason and what was read. At most a few requests
// wait at a time: a caller cannot fill the queue.
class ExchangeBusAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "de.brenvik.WinKavex.Exchange")
    Q_CLASSINFO("D-Bus Introspection",
                "<interface name=\"de.brenvik.WinKavex.Exchange\">"
                "<property name=\"ProgramDir\" type=\"s\" access=\"read\"/>"
                "<method name=\"Read\"><arg direction=\"out\" type=\"i\"/><arg direction=\"out\" type=\"s\"/>"
                "<arg direction=\"out\" type=\"ay\"/></method>"
                "<method name=\"ReadCharges\"><arg direction=\"out\" type=\"i\"/>"
                "<arg direction=\"out\" type=\"s\"/><arg direction=\"out\" type=\"ay\"/></method>"
                "<method name=\"Write\"><arg name=\"image\" direction=\"in\" type=\"ay\"/>"
                "<arg name=\"units\" direction=\"in\" type=\"b\"/><arg name=\"password\" direction=\"in\" type=\"s\"/>"
                "<arg direction=\"out\" type=\"i\"/><arg direction=\"out\" type=\"s\"/></method>"
                "<method name=\"Ring\"><arg name=\"extension\" direction=\"in\" type=\"i\"/>"
                "<arg name=\"seconds\" direction=\"in\" type=\"i\"/>"
                "<arg direction=\"out\" type=\"i\"/><arg direction=\"out\" type=\"s\"/></method>"
                "<method name=\"ReadSpeedDials\"><arg direction=\"out\" type=\"i\"/>"
                "<arg direction=\"out\" type=\"s\"/><arg direction=\"out\" type=\"ay\"/>"
                "<arg direction=\"out\" type=\"aay\"/></method>"
                "</interface>")
    Q_PROPERTY(QString ProgramDir READ programDir)

public:
    static inline const QString Interface = QStringLiteral("de.brenvik.WinKavex.Exchange");
    static constexpr int MaxWaiting = 8;

    ExchangeBusAdaptor(QObject& busObject, ExchangeService& service, QString programDir);

    QString programDir() const { return m_programDir; }

public Q_SLOTS:
    void Read(const QDBusMessage& message);
    void ReadCharges(const QDBusMessage& message);
    void Write(const QByteArray& image, bool units, const QString& password, const QDBusMessage& message);
    void Ring(int extension, int seconds, const QDBusMessage& message);
    void ReadSpeedDials(const QDBusMessage& message);

private:
    // Marks the call answered later; false (and the refusal sent) when too many wait.
    bool accept(const QDBusMessage& message);
    ExchangeService::Reply answer(const QDBusMessage& message, bool withImage, bool withSpeedDials);

    ExchangeService& m_service;
    QString m_programDir;
    int m_waiting = 0;
};
