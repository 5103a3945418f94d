#include "shell/WriteGate.h"

#include "common/MessageTable.h"
#include "shell/PasswordStore.h"
#include "shell/StatusLine.h"

#include <QPointer>

WriteGate::WriteGate(PasswordStore& passwords, StatusLine& status, QObject* parent)
    : QObject(parent), m_passwords(passwords), m_status(status)
{}

void WriteGate::request(std::function<void()> write)
{
    if (m_passwords.isDamaged()) {
        // No entry could match: say why instead of answering the right password with message 39.
        m_status.showText(StatusLevel::Error, m_passwords.errorString());
        return;
    }
    if (!m_passwords.isSet()) {
        write();
        return;
    }
    m_waiting.push_back(std::move(write));
    if (!m_asking)
        askNext();
}

void WriteGate::askNext()
{
    if (m_waiting.empty())
        return;
    if (!m_prompt) {
        m_waiting.clear();
        return;
    }
    m_asking = true;
    const quint64 question = ++m_question;
    m_prompt([guard = QPointer<WriteGate>(this), question](std::optional<QString> entered) {
        if (guard)
            guard->answered(question, entered);
    });
}

void WriteGate::answered(quint64 question, const std::optional<QString>& entered)
{
    if (!m_asking || question != m_question)
        return;
    m_asking = false;
    std::function<void()> write = std::move(m_waiting.front());
    m_waiting.pop_front();
    if (entered && m_passwords.matches(*entered))
        write();
    else if (entered)
        m_status.showStatus(Msg::WrongPassword, StatusLevel::Error);
    askNext();
}
