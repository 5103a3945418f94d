#pragma once

#include <QObject>

class QSocketNotifier;

// SIGINT, SIGTERM and SIGHUP reach the event loop as requested(), so that a program ends as it
// would on its own: a running ring sends its stops, the port closes, the simulated exchange it
// started stops, instead of dying with them still open. signalNumber() tells the last one.
class TerminationSignals : public QObject
{
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

    static int signalNumber();

Q_SIGNALS:
    void requested();

private:
    static void handle(int signalNumber);
    void onReadable();

    QSocketNotifier* m_notifier = nullptr;
};
