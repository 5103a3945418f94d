#pragma once

#include "config/ExtensionConfig.h"

#include <QWidget>

class AppCore;
class CallWaitingList;
class QCheckBox;
class QComboBox;
class QLineEdit;

// "Nebenstellen": edits one extension at a time (permission, service, charge pulse, trunk access,
// charge units, PIN, call forwarding and the call-waiting list). Every edit goes through the
// extension model; the page keeps no rule of its own.
class ExtensionPage : public QWidget
{
    Q_OBJECT
public:
    explicit ExtensionPage(AppCore& core, QWidget* parent = nullptr);

    void refresh();
    void store();
    void setTransferLock(bool locked);

    ExtensionPageFields fields() const;

protected:
    void hideEvent(QHideEvent* event) override;

private:
    QWidget* buildPropertiesBox();
    QWidget* buildForwardingBox();
    QWidget* buildWaitingBox();
    void showFields(const ExtensionPageFields& fields);
    void onExtensionChosen(int index);
    void onTargetTyped();
    void onWaitingToggled(int row);
    void onChargesDecoded();
    void applyGates();

    AppCore& m_core;
    bool m_locked = false;
    bool m_filling = false;
    bool m_modeEnabled = false;
    QComboBox* m_extension;
    QComboBox* m_permission;
    QComboBox* m_service;
    QCheckBox* m_chargePulse;
    QCheckBox* m_trunkAccess;
    QLineEdit* m_units;
    QLineEdit* m_pin;
    QLineEdit* m_target;
    QComboBox* m_mode;
    CallWaitingList* m_waiting;
};
