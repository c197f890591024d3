#pragma once
// Requests to end the process from outside (SIGTERM, SIGHUP, SIGINT), delivered as a signal on
// the main thread, where the program can still save what it must. A signal handler itself may do
// almost nothing; it only passes the signal's number through a pipe the event loop watches.

#include <QObject>

class QSocketNotifier;

class TerminationWatcher : public QObject
{
    Q_OBJECT

public:
    // Only one watcher can exist at a time; a second one stays inactive.
    explicit TerminationWatcher(QObject* parent = nullptr);
    ~TerminationWatcher() override;

    bool isActive() const { return m_notifier != nullptr; }

signals:
    void requested(int signalNumber);

private:
    QSocketNotifier* m_notifier = nullptr;
};
