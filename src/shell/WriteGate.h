#pragma once

#include <QObject>
#include <QString>

#include <deque>
#include <functional>
#include <optional>

class PasswordStore;
class StatusLine;

// The configuration password on the way to every write. The question is asked before the write is
// queued and answered later, from the event loop: jobs that run or wait go on meanwhile, and a
// write reaches the queue only with the right password (message 39 when it is wrong, nothing on
// cancel). Writes asked for while a question is open wait for their own question, in order.
class WriteGate : public QObject
{
    Q_OBJECT

public:
    using Answer = std::function<void(std::optional<QString> entered)>;
    // Shows the question and calls `answer` once: with the text, or nothing when cancelled.
    using Prompt = std::function<void(Answer answer)>;

    WriteGate(PasswordStore& passwords, StatusLine& status, QObject* parent = nullptr);

    // No prompt: a set password refuses every write, as a cancel would.
    void setPrompt(Prompt prompt) { m_prompt = std::move(prompt); }
    // Runs `write` at once when no password is set, else after the right one has been entered.
    void request(std::function<void()> write);
    bool isAsking() const { return m_asking; }

private:
    void askNext();
    void answered(quint64 question, const std::optional<QString>& entered);

    PasswordStore& m_passwords;
    StatusLine& m_status;
    Prompt m_prompt;
    std::deque<std::function<void()>> m_waiting;
    bool m_asking = false;
    quint64 m_question = 0;
};
