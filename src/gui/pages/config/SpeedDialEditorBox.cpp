#include "SpeedDialEditorBox.h"

#include "config/ConfigChoices.h"
#include "image/Extensions.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

SpeedDialEditorBox::SpeedDialEditorBox(QWidget* parent) : QGroupBox(QStringLiteral("Kurzwahl bearbeiten"), parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(buildFieldsColumn());
    layout->addWidget(buildExtensionsGrid(), 0, Qt::AlignTop);
    connect(m_number, &QLineEdit::textEdited, this, &SpeedDialEditorBox::onNumberTyped);
    connect(m_dialBlock, &QCheckBox::clicked, this, &SpeedDialEditorBox::onDialBlockClicked);
    connect(m_save, &QPushButton::clicked, this, &SpeedDialEditorBox::saveRequested);
    applyGates();
}

QWidget* SpeedDialEditorBox::buildFieldsColumn()
{
    auto* column = new QWidget(this);
    auto* form = new QFormLayout(column);
    form->setContentsMargins(0, 0, 0, 0);
    m_entry = new QLineEdit(column);
    m_entry->setReadOnly(true);
    m_entry->setMaximumWidth(m_entry->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    m_name = new QLineEdit(column);
    m_name->setMaxLength(40);
    m_name->setWhatsThis(QStringLiteral("Name der Kurzwahl; er erscheint auch in den Gesprächslisten."));
    m_number = new QLineEdit(column);
    m_number->setMaxLength(20);
    m_number->setWhatsThis(QStringLiteral("Die Rufnummer der Kurzwahl, nur Ziffern."));
    m_dialBlock = new QCheckBox(QStringLiteral("Wahlsperre"), column);
    m_dialBlock->setWhatsThis(QStringLiteral("Die Rufnummer ist gesperrt: sie kann nicht gewählt werden."));
    m_rhythm = new QComboBox(column);
    m_rhythm->addItems(ConfigChoices::rhythms());
    m_rhythm->setCurrentIndex(-1); // nothing chosen until a row is
    m_sound = new QLineEdit(column);
    m_sound->setWhatsThis(QStringLiteral("Klangdatei, die bei einem Anruf von dieser Rufnummer abgespielt wird."));
    m_save = new QPushButton(QStringLiteral("&Speichern"), column);
    m_save->setWhatsThis(QStringLiteral("Speichert die Kurzwahl in der Anlage und Name, Rufnummer und Klangdatei "
                                        "in den Programmeinstellungen."));
    m_entry->setObjectName(QStringLiteral("KWNummer"));
    m_name->setObjectName(QStringLiteral("KWBezeichnung"));
    m_number->setObjectName(QStringLiteral("KWRufnummer"));
    m_dialBlock->setObjectName(QStringLiteral("WahlSperre"));
    m_rhythm->setObjectName(QStringLiteral("KurzwahlRufRhytmus"));
    m_sound->setObjectName(QStringLiteral("EditSoundDatei"));
    m_save->setObjectName(QStringLiteral("KurzwahlSpeichern"));
    form->addRow(QStringLiteral("Kurzwahl:"), m_entry);
    form->addRow(QStringLiteral("Bezeichnung:"), m_name);
    form->addRow(QStringLiteral("Rufnummer:"), m_number);
    form->addRow(QStringLiteral("Rufrhythmus:"), m_rhythm);
    form->addRow(QStringLiteral("Klangdatei:"), m_sound);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_dialBlock);
    buttons->addStretch();
    buttons->addWidget(m_save);
    form->addRow(buttons);
    return column;
}

QWidget* SpeedDialEditorBox::buildExtensionsGrid()
{
    auto* grid = new QWidget(this);
    auto* layout = new QGridLayout(grid);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Kurzwahl"), grid), 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("Babyruf"), grid), 0, 2);
    for (int i = 0; i < Extensions::Max; ++i) {
        layout->addWidget(new QLabel(Extensions::numberText(i), grid), i + 1, 0);
        m_permitted[i] = new QCheckBox(grid);
        m_permitted[i]->setWhatsThis(QStringLiteral("Die Nebenstelle darf diese Kurzwahl benutzen."));
        m_baby[i] = new QCheckBox(grid);
        m_permitted[i]->setObjectName(QStringLiteral("Kurzwahl%1").arg(Extensions::number(i)));
        m_baby[i]->setObjectName(QStringLiteral("BabyRuf%1").arg(Extensions::number(i)));
        m_permitted[i]->setAccessibleName(QStringLiteral("Kurzwahl %1").arg(Extensions::number(i)));
        m_baby[i]->setAccessibleName(QStringLiteral("Babyruf %1").arg(Extensions::number(i)));
        m_baby[i]->setWhatsThis(QStringLiteral("Die Nebenstelle wählt diese Rufnummer beim Abheben (Babyruf)."));
        layout->addWidget(m_permitted[i], i + 1, 1, Qt::AlignHCenter);
        layout->addWidget(m_baby[i], i + 1, 2, Qt::AlignHCenter);
    }
    return grid;
}

void SpeedDialEditorBox::setEditor(const SpeedDialEditor& e)
{
    m_hasEntry = true;
    m_entry->setText(e.entryText);
    m_name->setText(e.name);
    m_number->setText(e.number);
    m_dialBlock->setChecked(e.dialBlock);
    m_rhythm->setCurrentIndex(e.rhythmChoice);
    for (int i = 0; i < Extensions::Max; ++i) {
        m_permitted[i]->setChecked(e.permitted[i]);
        m_baby[i]->setChecked(e.baby[i]);
    }
    m_sound->setText(e.sound);
    m_babyEnabled = e.babyEnabled;
    applyGates();
}

SpeedDialEditor SpeedDialEditorBox::editor() const
{
    SpeedDialEditor e;
    e.entryText = m_entry->text();
    e.name = m_name->text();
    e.number = m_number->text();
    e.dialBlock = m_dialBlock->isChecked();
    e.rhythmChoice = m_rhythm->currentIndex();
    for (int i = 0; i < Extensions::Max; ++i) {
        e.permitted[i] = m_permitted[i]->isChecked();
        e.baby[i] = m_baby[i]->isChecked();
    }
    e.sound = m_sound->text();
    e.babyEnabled = m_babyEnabled;
    return e;
}

void SpeedDialEditorBox::setExtensionCount(int count)
{
    m_extensionCount = count;
    applyGates();
}

void SpeedDialEditorBox::setTransferLock(bool locked)
{
    m_locked = locked;
    applyGates();
}

void SpeedDialEditorBox::onNumberTyped(const QString& text)
{
    bool removed = false;
    const QString digits = SpeedDialList::cleanNumber(text, &removed);
    if (!removed)
        return;
    m_number->setText(digits);
    m_number->setCursorPosition(static_cast<int>(digits.size()));
    QApplication::beep();
}

void SpeedDialEditorBox::onDialBlockClicked()
{
    m_babyEnabled = SpeedDialList::dialBlockClicked(editor()).babyEnabled;
    applyGates();
}

void SpeedDialEditorBox::applyGates()
{
    const bool open = !m_locked && m_hasEntry;
    for (QWidget* control : std::initializer_list<QWidget*>{m_name, m_number, m_dialBlock, m_rhythm, m_sound, m_save})
        control->setEnabled(open);
    for (int i = 0; i < Extensions::Max; ++i) {
        const bool present = open && i < m_extensionCount;
        m_permitted[i]->setEnabled(present);
        m_baby[i]->setEnabled(present && m_babyEnabled);
    }
}
