#include "PasswordDialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

PasswordDialog::PasswordDialog(QWidget* parent) : QDialog(parent), m_entry(new QLineEdit(this))
{
    setWindowTitle(QStringLiteral("Kavex"));
    setObjectName(QStringLiteral("TPasswortEingabe"));
    m_entry->setObjectName(QStringLiteral("EditPasswort"));
    m_entry->setEchoMode(QLineEdit::Password);
    m_entry->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));

    auto* label = new QLabel(QStringLiteral("Paßwort"), this);
    label->setBuddy(m_entry);
    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    auto* cancel = new QPushButton(QStringLiteral("Abbruch"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QGridLayout(this);
    layout->addWidget(label, 0, 0);
    layout->addWidget(m_entry, 0, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons, 1, 0, 1, 2);
    m_entry->setMinimumWidth(160);
    m_entry->setFocus();
}

void PasswordDialog::askLater(QWidget* window, std::function<void(std::optional<QString>)> answer)
{
    auto* dialog = new PasswordDialog(window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->adjustSize();
    if (window) {
        const QRect outer = window->frameGeometry();
        dialog->move(outer.left() + (outer.width() - dialog->width()) / 2,
                     outer.top() + (outer.height() - dialog->height()) / 2);
    }
    connect(dialog, &QDialog::finished, dialog, [dialog, answer = std::move(answer)](int result) {
        answer(result == QDialog::Accepted ? std::optional<QString>(dialog->m_entry->text()) : std::nullopt);
    });
    dialog->m_entry->clear();
    dialog->open();
    dialog->m_entry->setFocus();
}
