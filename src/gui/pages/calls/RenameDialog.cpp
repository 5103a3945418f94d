#include "RenameDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

RenameDialog::RenameDialog(const QString& name, QWidget* window) : QDialog(window), m_name(new QLineEdit(this))
{
    setWindowTitle(QStringLiteral("Namen ändern"));
    setObjectName(QStringLiteral("TFormNamenAendern"));
    m_name->setMaxLength(MaxLength);
    m_name->setText(name);
    m_name->selectAll();
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("Ok"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("Abbruch"), QDialogButtonBox::RejectRole);
    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("Name"), m_name);
    layout->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_name->setMinimumWidth(m_name->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 18);
    adjustSize();
    if (window)
        move(placement(window->frameGeometry(), frameGeometry().size()));
}

QPoint RenameDialog::placement(const QRect& windowFrame, const QSize& dialogSize)
{
    return windowFrame.bottomRight() - QPoint(Inset + dialogSize.width() - 1, Inset + dialogSize.height() - 1);
}

std::optional<QString> RenameDialog::ask(const QString& name, QWidget* window)
{
    RenameDialog dialog(name, window);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.m_name->text();
}
