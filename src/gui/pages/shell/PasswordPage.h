#pragma once

#include "Page.h"

class QLineEdit;
class QPushButton;

// "Parametrierungspaßwort": set, change or remove the password that guards writes to the exchange.
class PasswordPage : public Page
{
    Q_OBJECT
public:
    explicit PasswordPage(AppCore& core, QWidget* parent = nullptr);

    void refresh() override;
    // The commit step before a write, save or printout resets the page.
    void store() override;
    void setTransferLock(bool locked) override;

    QLineEdit* oldPassword() const { return m_old; }
    QLineEdit* newPassword() const { return m_new1; }
    QLineEdit* repetition() const { return m_new2; }
    QPushButton* saveButton() const { return m_save; }

private:
    void reset();
    void applyState();
    void onOldPasswordLeft();
    void onSave();

    QLineEdit* m_old;
    QLineEdit* m_new1;
    QLineEdit* m_new2;
    QPushButton* m_save;
    bool m_newFieldsOpen = false; // no password set, or the old one was entered
    bool m_locked = false;
};
