#pragma once

#include "DefaultImage.h"
#include "Exchange.h"
#include "link/Cells.h"

#include <QByteArray>

// Drives an Exchange in virtual time, one millisecond per step, as the pty loop does in real time.
struct SimHarness
{
    explicit SimHarness(int firmware = 200, int extensions = 8)
        : exchange(DefaultImage::build(firmware, extensions), DefaultImage::speedDials(firmware, extensions), 9600)
    {}

    // Sends line bytes and collects what the exchange answers within forMs.
    QByteArray send(const QByteArray& lineBytes, int forMs = 1000)
    {
        exchange.receive(lineBytes, nowUs);
        return run(forMs);
    }
    QByteArray sendHex(const char* hex, int forMs = 1000) { return send(QByteArray::fromHex(hex), forMs); }
    // A payload cut into cells as the program sends it.
    QByteArray sendPayload(const QByteArray& payload, int forMs = 1000)
    {
        return send(Cells::encodeCells(payload), forMs);
    }
    QByteArray run(int forMs)
    {
        QByteArray out;
        for (int i = 0; i < forMs; ++i) {
            nowUs += 1000;
            exchange.expire(nowUs);
            out += exchange.takeOutput(nowUs);
        }
        return out;
    }
    void switchEventsOn() { sendHex("03DD004E832BC719", 10); }

    Exchange exchange;
    qint64 nowUs = 0;
};
