#pragma once

#include <QDialog>

#include <optional>

class QLineEdit;

// "Namen ändern": one field "Name" of at most 30 characters, placed 5 pixels inside the bottom-right
// corner of the main window.
class RenameDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int MaxLength = 30;
    static constexpr int Inset = 5;

    RenameDialog(const QString& name, QWidget* window);
    QLineEdit* field() const { return m_name; }
    // The top-left corner that puts the dialog's bottom-right corner 5 pixels inside the window's.
    static QPoint placement(const QRect& windowFrame, const QSize& dialogSize);
    static std::optional<QString> ask(const QString& name, QWidget* window);

private:
    QLineEdit* m_name;
};
