#pragma once

#include <QObject>
#include <initializer_list>

class QSocketNotifier;

// Turns the requests to end (SIGTERM, SIGINT, SIGHUP...) into a Qt signal on the event loop,
// where the normal shut-down can run.
//
// The handlers are installed before anything else (installEarly), so a request is never lost nor
// left to the default action at a random moment: until startDelivering() it ends the process at
// once, as the default action would, since nothing could be saved yet; afterwards the first
// request is handed to the event loop (received), and a second one, while the shut-down of the
// first is still under way, ends the process at once.
class UnixSignalWatcher : public QObject
{
    Q_OBJECT
public:
    // Catches `signalNumbers`, and `unlessIgnored` too unless the process was started with them
    // ignored (`nohup` ignores SIGHUP so that the program outlives its terminal).
    static void installEarly(std::initializer_list<int> signalNumbers,
                             std::initializer_list<int> unlessIgnored = {});
    static void ignore(std::initializer_list<int> signalNumbers);

    // Watches the requests installEarly() catches; needs the application object.
    explicit UnixSignalWatcher(QObject *parent = nullptr);
    ~UnixSignalWatcher() override;

    void startDelivering();

signals:
    void received(int signalNumber);

private:
    QSocketNotifier *m_notifier = nullptr;
};
