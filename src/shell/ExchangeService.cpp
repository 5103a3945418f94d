#include "shell/ExchangeService.h"

#include "charges/ChargeUpdate.h"
#include "common/MessageTable.h"
#include "image/ConfigImage.h"
#include "image/Extensions.h"
#include "image/Firmware.h"
#include "link/PbxLink.h"
#include "shell/PasswordStore.h"
#include "shell/WakeUp.h"

#include <memory>

ExchangeService::ExchangeService(Parts parts, QObject* parent) : QObject(parent), m_parts(parts)
{
    connect(&m_parts.link, &PbxLink::extensionsReceived, this, [this] { m_extensionsKnown = true; });
}

ExchangeService::Result ExchangeService::ended(int outcome) const
{
    Result result;
    if (outcome == PbxLink::JobDropped) {
        result = unreachable(Msg::CommError);
    } else if (m_parts.link.isFirmwareLocked()) {
        result.outcome = FirmwareTooOld;
        result.message = MessageTable::text(Msg::FirmwareTooOld);
    } else if (outcome != 0) {
        result.outcome = Failed;
        result.message = MessageTable::text(outcome, m_parts.link.portName());
    }
    result.image = m_parts.image.toByteArray();
    return result;
}

ExchangeService::Result ExchangeService::unreachable(int message) const
{
    return {Failed, MessageTable::text(message, m_parts.link.portName()), {}, {}};
}

// Base and extensions have arrived once: a charge reading needs no full read before it.
bool ExchangeService::configurationKnown() const
{
    return m_extensionsKnown && Firmware::supported(m_parts.link.firmwareVersion());
}

void ExchangeService::read(Reply reply)
{
    if (!m_parts.link.isOpen()) {
        reply(unreachable(Msg::CommError));
        return;
    }
    m_parts.link.startRead([this, reply](int outcome) { reply(ended(outcome)); });
}

void ExchangeService::readCharges(Reply reply)
{
    if (!m_parts.link.isOpen()) {
        reply(unreachable(Msg::CommError));
        return;
    }
    // The update runs on the counters within the job; what it reports as an error until the job
    // ends is this reading's.
    auto historyError = std::make_shared<QString>();
    auto context = std::make_shared<QObject>();
    connect(&m_parts.charges, &ChargeUpdate::statusText, context.get(),
            [historyError](StatusLevel level, const QString& text) {
                if (level == StatusLevel::Error)
                    *historyError = text;
            });
    connect(&m_parts.charges, &ChargeUpdate::status, context.get(),
            [historyError](int number, StatusLevel level, const QString& arg) {
                if (level == StatusLevel::Error)
                    *historyError = MessageTable::text(number, arg);
            });
    auto finish = [this, reply, historyError, context](int outcome) mutable {
        context.reset();
        Result result = ended(outcome);
        if (result.outcome == Done && !historyError->isEmpty())
            result = {Refused, *historyError, result.image, {}};
        reply(result);
    };
    if (configurationKnown())
        m_parts.link.requestCharges(std::move(finish));
    else
        m_parts.link.startRead(std::move(finish));
}

void ExchangeService::write(const QByteArray& image, bool units, const QString& password, Reply reply)
{
    m_parts.passwords.load();
    if (m_parts.passwords.isDamaged()) {
        reply({Refused, m_parts.passwords.errorString(), {}, {}});
        return;
    }
    if (m_parts.passwords.isSet() && !m_parts.passwords.matches(password)) {
        reply({Refused, MessageTable::text(Msg::WrongPassword), {}, {}});
        return;
    }
    if (image.size() != ConfigImage::Size || !Firmware::supported(Firmware::version(ConfigImage::fromBytes(image)))) {
        reply({Refused, QStringLiteral("Keine gültige Konfiguration"), {}, {}});
        return;
    }
    if (!m_parts.link.isOpen()) {
        reply(unreachable(Msg::CannotWritePort));
        return;
    }
    m_parts.link.write(ConfigImage::fromBytes(image), units, [this, reply](int outcome) {
        Result result = ended(outcome);
        if (result.outcome == Failed)
            result.message = MessageTable::text(Msg::CannotWritePort, m_parts.link.portName());
        result.image.clear();
        reply(result);
    });
}

void ExchangeService::ring(int extension, int seconds, Reply reply)
{
    if (!Extensions::isNumber(extension) || seconds < WakeUp::MinDuration || seconds > WakeUp::MaxDuration) {
        reply({Refused, QStringLiteral("Nebenstelle 21..28, Dauer %1..%2 Sekunden")
                            .arg(WakeUp::MinDuration)
                            .arg(WakeUp::MaxDuration),
               {}, {}});
        return;
    }
    m_parts.link.ring({Extensions::index(extension)}, seconds, [this, reply](int outcome) {
        Result result = ended(outcome);
        result.image.clear();
        reply(result);
    });
}

// The firmware decides whether the exchange has speed dials: a program that has not read the
// configuration yet reads it first, as kavexctl alone would.
void ExchangeService::readSpeedDials(Reply reply)
{
    if (!m_parts.link.isOpen()) {
        reply(unreachable(Msg::CommError));
        return;
    }
    if (configurationKnown()) {
        readSpeedDialsNow(std::move(reply));
        return;
    }
    m_parts.link.startRead([this, reply](int outcome) {
        if (outcome != 0 || m_parts.link.isFirmwareLocked())
            reply(ended(outcome));
        else
            readSpeedDialsNow(reply);
    });
}

void ExchangeService::readSpeedDialsNow(Reply reply)
{
    if (!Firmware::newFeatures(m_parts.link.firmwareVersion())) {
        reply({FirmwareTooOld, MessageTable::text(Msg::NoSpeedDials), {}, {}});
        return;
    }
    auto entries = std::make_shared<QList<QByteArray>>();
    auto context = std::make_shared<QObject>();
    connect(&m_parts.link, &PbxLink::speedDialEntry, context.get(),
            [entries](int, const QByteArray& chunk) { entries->append(chunk); });
    m_parts.link.readSpeedDials([this, reply, entries, context](int outcome) mutable {
        context.reset();
        Result result = ended(outcome);
        result.speedDials = *entries;
        reply(result);
    });
}
