#include "PasswordPage.h"

#include "shell/AppCore.h"
#include "shell/PasswordStore.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The fields and the button under them share one width, so that the button ends with the fields.
constexpr int FieldWidth = 220;

QLineEdit* maskedField(const QString& name)
{
    auto* field = new QLineEdit;
    field->setObjectName(name);
    field->setEchoMode(QLineEdit::Password);
    field->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    field->setMaximumWidth(FieldWidth);
    return field;
}

} // namespace

PasswordPage::PasswordPage(AppCore& core, QWidget* parent)
    : Page(core, parent), m_old(maskedField(QStringLiteral("EditAltesPasswort"))),
      m_new1(maskedField(QStringLiteral("EditNeuesPasswort1"))),
      m_new2(maskedField(QStringLiteral("EditNeuesPasswort2"))),
      m_save(new QPushButton(QStringLiteral("Paßwort speichern")))
{
    m_save->setObjectName(QStringLiteral("PasswortMerken"));
    m_save->setMaximumWidth(FieldWidth);
    auto* group = new QGroupBox(QStringLiteral("Paßwort für das Schreiben in die Anlage"));
    auto* form = new QFormLayout(group);
    form->addRow(QStringLiteral("Altes Paßwort"), m_old);
    form->addRow(QStringLiteral("Neues Paßwort"), m_new1);
    form->addRow(QStringLiteral("Wiederholung"), m_new2);
    form->addRow(QString(), m_save);
    auto* note = new QLabel(
        QStringLiteral("Ist ein Paßwort gesetzt, wird es vor jedem Schreiben in die Anlage abgefragt. "
                       "Zum Ändern zuerst das alte Paßwort eingeben. Zwei leere Felder entfernen das Paßwort."));
    note->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(note);
    layout->addStretch(1);

    m_old->setWhatsThis(QStringLiteral("Das bisherige Paßwort; danach lassen sich die neuen Felder bearbeiten."));
    m_new1->setWhatsThis(QStringLiteral("Das neue Paßwort (Groß- und Kleinschreibung zählt)."));
    m_new2->setWhatsThis(QStringLiteral("Das neue Paßwort noch einmal."));
    m_save->setWhatsThis(QStringLiteral("Speichert das neue Paßwort; zwei leere Felder entfernen es."));

    connect(m_old, &QLineEdit::editingFinished, this, &PasswordPage::onOldPasswordLeft);
    connect(m_save, &QPushButton::clicked, this, &PasswordPage::onSave);
    // The page is built before the store is read at start-up: it follows every load and save,
    // so that new-password fields are never open while a password is set.
    connect(&core, &AppCore::passwordChanged, this, &PasswordPage::reset);
    reset();
}

void PasswordPage::refresh()
{
    // The fields follow the store only when nothing has been typed into them.
    if (m_old->text().isEmpty() && m_new1->text().isEmpty() && m_new2->text().isEmpty())
        reset();
}

void PasswordPage::store()
{
    // The frame calls this only on the page that shows, which is when the reset applies.
    reset();
}

void PasswordPage::setTransferLock(bool locked)
{
    m_locked = locked;
    applyState();
}

void PasswordPage::reset()
{
    m_old->clear();
    m_new1->clear();
    m_new2->clear();
    m_newFieldsOpen = !core().passwordStore().isSet();
    applyState();
    (m_newFieldsOpen ? m_new1 : m_old)->setFocus();
}

void PasswordPage::applyState()
{
    const bool set = core().passwordStore().isSet();
    m_old->setEnabled(!m_locked && set && !m_newFieldsOpen);
    m_new1->setEnabled(!m_locked && m_newFieldsOpen);
    m_new2->setEnabled(!m_locked && m_newFieldsOpen);
    m_save->setEnabled(!m_locked && m_newFieldsOpen);
}

void PasswordPage::onOldPasswordLeft()
{
    if (m_newFieldsOpen || !core().passwordStore().matches(m_old->text()))
        return;
    m_newFieldsOpen = true;
    applyState();
    m_new1->setFocus();
}

void PasswordPage::onSave()
{
    core().savePassword(m_new1->text(), m_new2->text());
}
