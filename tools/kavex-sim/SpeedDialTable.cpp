#include "SpeedDialTable.h"

namespace {

bool validNumber(int n)
{
    return n >= 1 && n <= SpeedDialTable::Count;
}

} // namespace

const SpeedDialTable::Entry& SpeedDialTable::entry(int n) const
{
    static const Entry empty;
    return validNumber(n) ? m_entries[static_cast<std::size_t>(n - 1)] : empty;
}

void SpeedDialTable::set(int n, const Entry& e)
{
    if (validNumber(n) && e.digits.size() <= MaxDigits)
        m_entries[static_cast<std::size_t>(n - 1)] = e;
}

void SpeedDialTable::setNumber(int n, const QByteArray& number, std::uint8_t babyCall, std::uint8_t permission,
                               std::uint8_t rhythm, std::uint8_t dialBlock)
{
    Entry e{QByteArray(), babyCall, permission, rhythm, dialBlock};
    for (char c : number)
        e.digits.append(static_cast<char>(c - '0'));
    set(n, e);
}

QByteArray SpeedDialTable::replyPayload(int n) const
{
    const Entry& e = entry(n);
    QByteArray p;
    p.append(char(0xCC)).append(char(8)).append(char(3)).append(char(n)).append(char(e.digits.size()));
    for (int i = 0; i < e.digits.size(); i += 2) {
        const int high = e.digits[i] & 0x0F;
        const int low = i + 1 < e.digits.size() ? e.digits[i + 1] & 0x0F : 0x0F;
        p.append(static_cast<char>(high << 4 | low));
    }
    p.append(static_cast<char>(e.babyCall))
        .append(static_cast<char>(e.permission))
        .append(static_cast<char>(e.rhythm))
        .append(static_cast<char>(e.dialBlock));
    p.append(QByteArray(ReplyPayloadLength - p.size(), '\0'));
    return p;
}

bool SpeedDialTable::applySavePayload(QByteArrayView payload)
{
    const auto byte = [&](qsizetype i) { return static_cast<std::uint8_t>(payload[i]); };
    if (payload.size() < 5 || byte(0) != 0xCC || byte(1) != 5 || byte(2) != 9)
        return false;
    const int n = byte(3);
    const int d = byte(4);
    const int packed = (d + 1) / 2;
    if (!validNumber(n) || d > MaxDigits || payload.size() != packed + 10)
        return false;
    Entry e;
    for (int i = 0; i < d; ++i) {
        const std::uint8_t b = byte(5 + i / 2);
        e.digits.append(static_cast<char>(i % 2 == 0 ? b >> 4 : b & 0x0F));
    }
    const qsizetype a = 5 + packed;
    e.babyCall = byte(a);
    e.permission = byte(a + 1);
    e.rhythm = byte(a + 2);
    e.dialBlock = byte(a + 3);
    m_entries[static_cast<std::size_t>(n - 1)] = e;
    return true;
}
