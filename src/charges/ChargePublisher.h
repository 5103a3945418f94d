#pragma once

#include <QDBusAbstractAdaptor>
#include <QObject>
#include <QString>

class ChargeUpdate;

// The charge texts for other programs, on the D-Bus session bus: bus name "de.brenvik.WinKavex",
// object "/WinKavex", interface "de.brenvik.WinKavex.Charges" with the read-only properties
// "DDEEinheiten" and "DDEKosten". Every change is announced with PropertiesChanged. Without a
// session bus, or with the name held by another process, publication stays off without a word.
class ChargePublisher : public QObject
{
    Q_OBJECT

public:
    static inline const QString ServiceName = QStringLiteral("de.brenvik.WinKavex");
    static inline const QString ObjectPath = QStringLiteral("/WinKavex");
    static inline const QString Interface = QStringLiteral("de.brenvik.WinKavex.Charges");

    // `serviceName` other than the program's own only for tests that run beside the program.
    explicit ChargePublisher(const ChargeUpdate& update, QString serviceName = ServiceName, QObject* parent = nullptr);
    ~ChargePublisher() override;

    // Takes the name and exports the object; false when that is not possible.
    bool start();
    bool isPublishing() const { return m_publishing; }

    QString units() const;
    QString costs() const;

private:
    void onUpdated();

    const ChargeUpdate& m_update;
    QString m_serviceName;
    bool m_publishing = false;
    QString m_units;
    QString m_costs;
};

// The exported interface; reads the publisher's texts.
class ChargeBusAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "de.brenvik.WinKavex.Charges")
    Q_PROPERTY(QString DDEEinheiten READ units)
    Q_PROPERTY(QString DDEKosten READ costs)

public:
    explicit ChargeBusAdaptor(ChargePublisher& publisher);
    QString units() const { return m_publisher.units(); }
    QString costs() const { return m_publisher.costs(); }

private:
    ChargePublisher& m_publisher;
};
