#include "shell/ExchangeBusAdaptor.h"

#include <QDBusConnection>
#include <QDBusMetaType>
#include <QPointer>

ExchangeBusAdaptor::ExchangeBusAdaptor(QObject& busObject, ExchangeService& service, QString programDir)
    : QDBusAbstractAdaptor(&busObject), m_service(service), m_programDir(std::move(programDir))
{
    qDBusRegisterMetaType<QList<QByteArray>>();
}

bool ExchangeBusAdaptor::accept(const QDBusMessage& message)
{
    if (m_waiting >= MaxWaiting) {
        QDBusConnection::sessionBus().send(
            message.createErrorReply(QDBusError::LimitsExceeded, QStringLiteral("Zu viele Aufträge warten")));
        return false;
    }
    message.setDelayedReply(true);
    ++m_waiting;
    return true;
}

ExchangeService::Reply ExchangeBusAdaptor::answer(const QDBusMessage& message, bool withImage, bool withSpeedDials)
{
    return [adaptor = QPointer(this), message, withImage, withSpeedDials](const ExchangeService::Result& result) {
        QVariantList arguments{result.outcome, result.message};
        if (withImage)
            arguments << result.image;
        if (withSpeedDials)
            arguments << QVariant::fromValue(result.speedDials);
        QDBusConnection::sessionBus().send(message.createReply(arguments));
        if (adaptor)
            --adaptor->m_waiting;
    };
}

void ExchangeBusAdaptor::Read(const QDBusMessage& message)
{
    if (accept(message))
        m_service.read(answer(message, true, false));
}

void ExchangeBusAdaptor::ReadCharges(const QDBusMessage& message)
{
    if (accept(message))
        m_service.readCharges(answer(message, true, false));
}

void ExchangeBusAdaptor::Write(const QByteArray& image, bool units, const QString& password,
                               const QDBusMessage& message)
{
    if (accept(message))
        m_service.write(image, units, password, answer(message, false, false));
}

void ExchangeBusAdaptor::Ring(int extension, int seconds, const QDBusMessage& message)
{
    if (accept(message))
        m_service.ring(extension, seconds, answer(message, false, false));
}

void ExchangeBusAdaptor::ReadSpeedDials(const QDBusMessage& message)
{
    if (accept(message))
        m_service.readSpeedDials(answer(message, true, true));
}
