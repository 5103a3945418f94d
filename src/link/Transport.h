#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

// A byte link to the exchange: opened on a device, blocks out, chunks in. Implementations
// deliver chunks on the owner's thread, in order, one at a time.
class Transport : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    ~Transport() override = default;

    // False with errorString() set when the device cannot be opened.
    virtual bool open(const QString& devicePath) = 0;
    // Does nothing when closed.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Queues one block; never blocks. False when the block cannot be handed over.
    virtual bool send(const QByteArray& block) = 0;
    virtual QString errorString() const = 0;

Q_SIGNALS:
    void chunkReceived(const QByteArray& chunk);
    // The device went away or a link thread failed; raised once per opening.
    void hangup();
};
