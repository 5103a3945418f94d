#pragma once

#include "config/SpeedDialCodec.h"
#include "config/SpeedDialStore.h"
#include "image/Extensions.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <vector>

// One row of the list `KurzwahlListe`.
struct SpeedDialRow
{
    int entry = 0;     // 1..60
    QString entryText; // "301" ..
    QString name;
    QString number; // the number column: "<...>" when it differs from the stored number
    std::uint32_t attributes = 0;
    QString attributesText;
};

// The speed-dial editor's fields.
struct SpeedDialEditor
{
    QString entryText;                             // `KWNummer`, read-only
    QString name;                                  // `KWBezeichnung`, at most 40 characters
    QString number;                                // `KWRufnummer`, at most 20 digits
    bool dialBlock = false;                        // `WahlSperre`
    int rhythmChoice = -1;                         // `KurzwahlRufRhytmus`, index into ConfigChoices::rhythms()
    std::array<bool, Extensions::Max> permitted{}; // `Kurzwahl21` ..
    std::array<bool, Extensions::Max> baby{};      // `BabyRuf21` ..
    QString sound;                                 // `EditSoundDatei`
    bool babyEnabled = true;                       // the baby-call boxes are enabled exactly when no dial block is set
    bool operator==(const SpeedDialEditor&) const = default;
};

// The speed-dial list: 60 rows, sortable by column, filled by the read and changed by saves.
class SpeedDialList
{
public:
    enum Column
    {
        EntryColumn = 1,
        NameColumn = 2,
        NumberColumn = 3
    };

    // Names come from the store; the stored numbers are copied once, here (the comparison of a
    // read keeps using this copy even after saves).
    explicit SpeedDialList(SpeedDialStore& store);

    // Whether the entries were read (or a read was begun) in this run.
    bool isRead() const { return m_read; }
    void setRead() { m_read = true; }

    // Puts a read entry into its row (number column with the "<...>" rule, attributes).
    void applyEntry(const SpeedDialEntry& entry);

    // Rows in display order (entry order until the first column click).
    int rowCount() const { return static_cast<int>(m_rows.size()); }
    const SpeedDialRow& row(int index) const;
    const SpeedDialRow& rowOfEntry(int entry) const;

    // Column click: sorts by the column (texts compared without regard to case, empty names and
    // numbers after all others); the same column again reverses the order.
    void sortByColumn(int column);
    int sortColumn() const { return m_sortColumn; }
    bool sortDescending() const { return m_descending; }

    // Row click: the editor filled from the row (angle brackets removed) and the sound file.
    SpeedDialEditor rowClicked(int index) const;
    // Number typed: keeps the digits only; `removed` tells whether anything was removed (the
    // page then puts the caret at the end and beeps).
    static QString cleanNumber(const QString& typed, bool* removed = nullptr);
    // Dial block clicked: the baby-call boxes follow the dial block.
    static SpeedDialEditor dialBlockClicked(SpeedDialEditor editor);

    // Save: writes the settings, updates the row and returns the write payload to send.
    // `settingsSaved` tells whether the settings file took the write.
    QByteArray save(const SpeedDialEditor& editor, bool* settingsSaved = nullptr);

    // The number column's text for a number read from the exchange.
    QString numberColumn(int entry, const QString& number) const;

private:
    SpeedDialRow& mutableRow(int entry);

    SpeedDialStore& m_store;
    std::vector<SpeedDialRow> m_rows;
    std::array<QString, SpeedDialCodec::EntryCount> m_storedNumbers;
    int m_sortColumn = 0;
    bool m_descending = false;
    bool m_read = false;
};
