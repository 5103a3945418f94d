#pragma once

#include <QByteArrayView>
#include <QList>

// One state-event record: 8 line bytes [03 DD sub p1] [header p2 p3 p4]; p4 is not used.
struct EventRecord
{
    static constexpr int LineSize = 8;

    int sub = 0;
    int p1 = 0;
    int p2 = 0;
    int p3 = 0;
    int p4 = 0;

    // Every whole 8-byte record of a state-event chunk, in order; a trailing part is ignored.
    static QList<EventRecord> fromChunk(QByteArrayView chunk);

    bool operator==(const EventRecord&) const = default;
};
