#pragma once

#include <QDialog>
#include <optional>

class QLineEdit;

// "Kavex": asks for the configuration password before a write. The entry shows "*" per character.
class PasswordDialog : public QDialog
{
    Q_OBJECT
public:
    explicit PasswordDialog(QWidget* parent = nullptr);

    QLineEdit* entry() const { return m_entry; }

    // Centred over `window` with an empty entry; the text on "Ok", nothing on "Abbruch".
    static std::optional<QString> ask(QWidget* window);

private:
    QLineEdit* m_entry;
};
