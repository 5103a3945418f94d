#include "common/TerminationSignals.h"

#include "common/Cancellation.h"

#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The handler may only write to a pipe; the event loop reads the other end.
int g_pipe[2] = {-1, -1};
volatile sig_atomic_t g_signal = 0;

} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent)
{
    if (g_pipe[0] < 0 && pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::onReadable);
    struct sigaction action = {};
    action.sa_handler = &TerminationSignals::handle;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : {SIGINT, SIGTERM, SIGHUP})
        sigaction(number, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    for (int number : {SIGINT, SIGTERM, SIGHUP})
        sigaction(number, &action, nullptr);
}

void TerminationSignals::handle(int signalNumber)
{
    g_signal = signalNumber;
    // A long file read on the event loop's thread stops at once, so that the loop gets to the pipe.
    Cancellation::request();
    const char byte = 1;
    [[maybe_unused]] const auto written = write(g_pipe[1], &byte, 1);
}

int TerminationSignals::signalNumber()
{
    return g_signal;
}

void TerminationSignals::onReadable()
{
    char buffer[16];
    while (read(g_pipe[0], buffer, sizeof buffer) > 0) {
    }
    Q_EMIT requested();
}
