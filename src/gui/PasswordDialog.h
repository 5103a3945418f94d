#pragma once

#include <QDialog>
#include <functional>
#include <optional>

class QLineEdit;

// "Kavex": asks for the configuration password before a write. The entry shows "*" per character.
class PasswordDialog : public QDialog
{
    Q_OBJECT
public:
    explicit PasswordDialog(QWidget* parent = nullptr);

    QLineEdit* entry() const { return m_entry; }

    // Opens centred over `window` with an empty entry and returns at once; `answer` gets the text
    // on "Ok", nothing on "Abbruch" or when the dialog is closed.
    static void askLater(QWidget* window, std::function<void(std::optional<QString>)> answer);

private:
    QLineEdit* m_entry;
};
