#include "link/EventRecord.h"

QList<EventRecord> EventRecord::fromChunk(QByteArrayView chunk)
{
    QList<EventRecord> records;
    for (qsizetype at = 0; at + LineSize <= chunk.size(); at += LineSize) {
        auto b = [&](int i) { return static_cast<int>(static_cast<quint8>(chunk[at + i])); };
        records.append({b(2), b(3), b(5), b(6), b(7)});
    }
    return records;
}
