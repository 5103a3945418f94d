#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class ChargeUpdate;
class ConfigImage;
class PasswordStore;
class PbxLink;

// The exchange for other programs while this one holds the port: kavexctl asks the running
// program (window or service) instead of opening the port beside it. Each request is a job of the
// link's queue and is answered when that job has ended, never by waiting for it. The outcomes are
// kavexctl's exit statuses, so that a command ends the same way through the program as alone.
class ExchangeService : public QObject
{
    Q_OBJECT

public:
    enum Outcome
    {
        Done = 0,
        Refused = 1,        // bad arguments, a wrong password, a history that was not written
        Failed = 2,         // the exchange did not answer, a command could not be sent
        FirmwareTooOld = 3, // or no speed dials on this firmware
    };

    struct Result
    {
        int outcome = Done;
        QString message;              // why, for stderr; empty when done
        QByteArray image;             // the configuration image after a read
        QList<QByteArray> speedDials; // the 60 entries as received
    };
    using Reply = std::function<void(const Result&)>;

    struct Parts
    {
        PbxLink& link;
        ConfigImage& image;
        ChargeUpdate& charges;
        PasswordStore& passwords;
    };

    explicit ExchangeService(Parts parts, QObject* parent = nullptr);

    // The full read, as "&Lesen" does it (the pages show it too).
    void read(Reply reply);
    // The charge counters. The program's own charge update runs on them as on every reading: one
    // history line when the total changed. A history that could not be read or written is Refused,
    // with the image all the same.
    void readCharges(Reply reply);
    // A configuration file's image, with its units when `units`; a set password must be given.
    void write(const QByteArray& image, bool units, const QString& password, Reply reply);
    // One extension (21..28) for 5..60 seconds, as a wake-up call.
    void ring(int extension, int seconds, Reply reply);
    void readSpeedDials(Reply reply);

private:
    Result ended(int outcome) const;
    Result unreachable(int message) const;
    bool configurationKnown() const;
    void readSpeedDialsNow(Reply reply);

    Parts m_parts;
    bool m_extensionsKnown = false;
};
