#include "config/SpeedDialList.h"

#include "config/ConfigChoices.h"
#include "image/Extensions.h"

#include <algorithm>

namespace {
std::size_t at(int k)
{
    return static_cast<std::size_t>(k);
}

QString columnText(const SpeedDialRow& row, int column)
{
    switch (column) {
    case SpeedDialList::NameColumn:
        return row.name;
    case SpeedDialList::NumberColumn:
        return row.number;
    default:
        return row.entryText;
    }
}

std::uint8_t maskOf(const std::array<bool, Extensions::Max>& boxes)
{
    std::uint8_t mask = 0;
    for (int i = 0; i < Extensions::Max; ++i) {
        if (boxes.at(at(i)))
            mask |= static_cast<std::uint8_t>(1u << i);
    }
    return mask;
}
} // namespace

SpeedDialList::SpeedDialList(SpeedDialStore& store) : m_store(store)
{
    for (int n = 1; n <= SpeedDialCodec::EntryCount; ++n) {
        SpeedDialRow row;
        row.entry = n;
        row.entryText = SpeedDialCodec::entryText(n);
        row.name = store.name(n).left(40);
        m_rows.push_back(row);
        m_storedNumbers.at(at(n - 1)) = store.storedNumber(n).left(SpeedDialCodec::MaxDigits);
    }
}

const SpeedDialRow& SpeedDialList::row(int index) const
{
    return m_rows.at(at(index));
}

const SpeedDialRow& SpeedDialList::rowOfEntry(int entry) const
{
    return *std::find_if(m_rows.begin(), m_rows.end(), [entry](const SpeedDialRow& r) { return r.entry == entry; });
}

SpeedDialRow& SpeedDialList::mutableRow(int entry)
{
    return const_cast<SpeedDialRow&>(rowOfEntry(entry));
}

QString SpeedDialList::numberColumn(int entry, const QString& number) const
{
    const QString stored = m_storedNumbers.at(at(entry - 1));
    if (number == stored)
        return number;
    // The brackets stay even for a number of 20 digits, so that a row click gets it back whole.
    const QString shown = number.isEmpty() ? stored : number;
    return QLatin1Char('<') + shown.left(SpeedDialCodec::MaxDigits) + QLatin1Char('>');
}

void SpeedDialList::applyEntry(const SpeedDialEntry& entry)
{
    if (entry.entry < 1 || entry.entry > SpeedDialCodec::EntryCount)
        return;
    SpeedDialRow& row = mutableRow(entry.entry);
    row.number = numberColumn(entry.entry, entry.number);
    row.attributes = entry.attributes;
    row.attributesText = SpeedDialCodec::attributesText(entry.number.isEmpty(), entry.attributes);
}

void SpeedDialList::sortByColumn(int column)
{
    if (column < EntryColumn || column > NumberColumn)
        return;
    m_descending = column == m_sortColumn ? !m_descending : false;
    m_sortColumn = column;
    const bool emptyLast = column != EntryColumn;
    const bool descending = m_descending;
    std::sort(m_rows.begin(), m_rows.end(), [=](const SpeedDialRow& a, const SpeedDialRow& b) {
        const QString ta = columnText(a, column), tb = columnText(b, column);
        if (emptyLast && ta.isEmpty() != tb.isEmpty())
            return tb.isEmpty();
        const int c = QString::compare(ta, tb, Qt::CaseInsensitive);
        if (c != 0)
            return descending ? c > 0 : c < 0;
        return descending ? a.entry > b.entry : a.entry < b.entry;
    });
}

SpeedDialEditor SpeedDialList::rowClicked(int index) const
{
    const SpeedDialRow& r = row(index);
    SpeedDialEditor e;
    e.entryText = r.entryText;
    e.name = r.name;
    e.number = r.number;
    if (e.number.startsWith(QLatin1Char('<')) && e.number.endsWith(QLatin1Char('>')))
        e.number = e.number.mid(1, e.number.size() - 2);
    e.rhythmChoice = ConfigChoices::choiceForRhythmByte(SpeedDialCodec::rhythm(r.attributes));
    e.dialBlock = SpeedDialCodec::dialBlock(r.attributes) != 0;
    for (int i = 0; i < Extensions::Max; ++i) {
        e.permitted.at(at(i)) = (SpeedDialCodec::permissionMask(r.attributes) >> i) & 1;
        e.baby.at(at(i)) = (SpeedDialCodec::babyMask(r.attributes) >> i) & 1;
    }
    e.babyEnabled = !e.dialBlock;
    e.sound = m_store.sound(r.entry);
    return e;
}

QString SpeedDialList::cleanNumber(const QString& typed, bool* removed)
{
    QString digits;
    for (const QChar c : typed) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
    }
    if (removed)
        *removed = digits.size() != typed.size();
    return digits;
}

SpeedDialEditor SpeedDialList::dialBlockClicked(SpeedDialEditor editor)
{
    editor.babyEnabled = !editor.dialBlock;
    return editor;
}

QByteArray SpeedDialList::save(const SpeedDialEditor& editor, bool* settingsSaved)
{
    const int n = SpeedDialCodec::entryFromText(editor.entryText);
    if (n == 0)
        return {};
    const QString name = editor.name.left(40);
    const QString number = cleanNumber(editor.number).left(SpeedDialCodec::MaxDigits);
    const bool saved = m_store.save(n, name, number, editor.sound);
    if (settingsSaved)
        *settingsSaved = saved;
    SpeedDialRow& row = mutableRow(n);
    const int chosen = ConfigChoices::rhythmByteForChoice(editor.rhythmChoice);
    const auto rhythm = static_cast<std::uint8_t>(chosen >= 0 ? chosen : SpeedDialCodec::rhythm(row.attributes));
    const std::uint32_t value = SpeedDialCodec::attributeValue(maskOf(editor.baby), maskOf(editor.permitted), rhythm,
                                                               editor.dialBlock ? 0xFF : 0);
    row.name = name;
    row.number = number;
    row.attributes = value;
    row.attributesText = SpeedDialCodec::attributesText(number.isEmpty(), value);
    return SpeedDialCodec::savePayload(n, number, value);
}
