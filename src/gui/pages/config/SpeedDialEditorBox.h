#pragma once

#include "config/SpeedDialList.h"
#include "image/Extensions.h"

#include <QGroupBox>

#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

// The speed-dial editor below the list: the fields of one entry and "&Speichern". The rules (what
// a row click fills in, which characters a number keeps, when baby calls are allowed) are the list
// model's; the box shows its fields and hands them back.
class SpeedDialEditorBox : public QGroupBox
{
    Q_OBJECT
public:
    explicit SpeedDialEditorBox(QWidget* parent = nullptr);

    void setEditor(const SpeedDialEditor& editor);
    SpeedDialEditor editor() const;
    // Check boxes of extensions beyond the count stay disabled.
    void setExtensionCount(int count);
    void setTransferLock(bool locked);
    bool hasEntry() const { return m_hasEntry; }

Q_SIGNALS:
    void saveRequested();

private:
    QWidget* buildFieldsColumn();
    QWidget* buildExtensionsGrid();
    void onNumberTyped(const QString& text);
    void onDialBlockClicked();
    void applyGates();

    bool m_hasEntry = false;
    bool m_locked = false;
    bool m_babyEnabled = true;
    int m_extensionCount = 8;
    QLineEdit* m_entry;                                    // `KWNummer`
    QLineEdit* m_name;                                     // `KWBezeichnung`
    QLineEdit* m_number;                                   // `KWRufnummer`
    QCheckBox* m_dialBlock;                                // `WahlSperre`
    QComboBox* m_rhythm;                                   // `KurzwahlRufRhytmus`
    std::array<QCheckBox*, Extensions::Max> m_permitted{}; // `Kurzwahl21` ..
    std::array<QCheckBox*, Extensions::Max> m_baby{};      // `BabyRuf21` ..
    QLineEdit* m_sound;                                    // `EditSoundDatei`
    QPushButton* m_save;
};
