#pragma once

#include "Page.h"

#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

// "Programmparameter": the program's own settings. Every change is written to the settings file
// at once.
class ProgramParameterPage : public Page
{
    Q_OBJECT
public:
    explicit ProgramParameterPage(AppCore& core, QWidget* parent = nullptr);

    void refresh() override;
    void setTransferLock(bool locked) override;
    // The port choice as start-up finds it, without reopening the port.
    void selectPort(int position);

    QComboBox* portChoice() const { return m_port; }
    QSpinBox* startWait() const { return m_startWait; }
    QComboBox* fontChoice() const { return m_font; }
    QComboBox* startPageChoice() const { return m_startPage; }
    QLineEdit* addressBookField() const { return m_addressBook; }
    QPushButton* addressBookChooser() const { return m_chooseAddressBook; }
    QPushButton* addressBookRemover() const { return m_dropAddressBook; }
    QPushButton* addressFolderChooser() const { return m_chooseAddressFolder; }
    // Tests answer the file dialog of "Telefonbuch (vCard)" with a path (empty: cancelled).
    void setFilePrompt(std::function<QString()> prompt) { m_filePrompt = std::move(prompt); }

Q_SIGNALS:
    // The face was changed: the window applies it to every control.
    void fontFaceChanged();

private:
    QWidget* buildConnectionGroup();
    QWidget* buildDisplayGroup();
    QWidget* buildMonitoringGroup();
    QWidget* buildAddressBookRow();
    void chooseAddressBook(bool folder);
    QString askAddressBookFile();
    QString askAddressBookFolder();
    void applyEnablingRules();
    void onActionChanged(int position);
    void onCapiToggled(bool on);

    QComboBox* m_port;
    QSpinBox* m_startWait;
    QSpinBox* m_displayDays;
    QComboBox* m_action;
    QCheckBox* m_standardVolume;
    QCheckBox* m_printBorder;
    QComboBox* m_startPage;
    QComboBox* m_font;
    QCheckBox* m_capi;
    QCheckBox* m_watchAll;
    QCheckBox* m_notify;
    QCheckBox* m_outgoing;
    QCheckBox* m_freeCalls;
    QLineEdit* m_addressBook;
    QPushButton* m_chooseAddressBook;
    QPushButton* m_dropAddressBook;
    QPushButton* m_chooseAddressFolder;
    std::function<QString()> m_filePrompt;
    bool m_locked = false;
    bool m_filling = false;
};
