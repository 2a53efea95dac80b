#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM and SIGINT into a Qt signal so the simulator closes its connections cleanly
// instead of dying in the middle of a write.
class SignalWatcher : public QObject
{
    Q_OBJECT

public:
    explicit SignalWatcher(QObject *parent = nullptr);
    ~SignalWatcher() override;

    bool install(QString *error);

signals:
    void terminationRequested(int signalNumber);

private:
    void readSignal();
    static void handle(int signalNumber);

    static int s_fds[2];
    QSocketNotifier *m_notifier = nullptr;
};
