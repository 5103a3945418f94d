#pragma once

#include <QObject>

class QSocketNotifier;

// SIGINT, SIGTERM and SIGHUP end the program like "&Beenden", so that it closes its port and stops
// the simulated exchange it started, instead of dying with them still open.
class TerminationSignals : public QObject
{
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

Q_SIGNALS:
    void requested();

private:
    static void handle(int signalNumber);
    void onReadable();

    QSocketNotifier* m_notifier = nullptr;
};
