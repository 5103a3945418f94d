#pragma once

#include "config/BaseConfig.h"
#include "image/Extensions.h"

#include <QWidget>

#include <array>

class AppCore;
class QCheckBox;
class QComboBox;
class QLineEdit;

// "Grundparameter": edits one MSN at a time (number, ring rhythm, ringing extensions, monitoring)
// and the hold setting. Every edit goes through the base model; the page keeps no rule of its own.
class MsnPage : public QWidget
{
    Q_OBJECT
public:
    explicit MsnPage(AppCore& core, QWidget* parent = nullptr);

    // Fills the controls from the model's selected MSN (choices sized to the extension count).
    void refresh();
    // Writes the controls into the model (image, settings, change marks).
    void store();
    void setTransferLock(bool locked);

    MsnPageFields fields() const;

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void showFields(const MsnPageFields& fields);
    void onMsnChosen(int index);
    void applyGates();

    AppCore& m_core;
    bool m_locked = false;
    bool m_filling = false;
    QComboBox* m_msn;
    QLineEdit* m_number; // `TelefonNummer`
    QComboBox* m_rhythm;
    QCheckBox* m_watched;
    std::array<QCheckBox*, Extensions::Max> m_assigned{}; // `Zuordnung21` ..
    QComboBox* m_hold;
};
