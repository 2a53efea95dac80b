#pragma once

#include <QObject>
#include <initializer_list>

class QSocketNotifier;

// Turns SIGTERM/SIGINT into a Qt signal on the event loop, where the normal shut-down can run.
class UnixSignalWatcher : public QObject
{
    Q_OBJECT
public:
    explicit UnixSignalWatcher(std::initializer_list<int> signalNumbers, QObject *parent = nullptr);
    ~UnixSignalWatcher() override;

signals:
    void received(int signalNumber);

private:
    QSocketNotifier *m_notifier = nullptr;
};
