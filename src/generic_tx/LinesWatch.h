#pragma once

#include <QObject>
#include <QTimer>

class ControlLines;
class ControlLineDriver;

// Looks for lost lines (an unplugged USB interface) every 2 s and opens them again: at rest
// first, then keyed again only if the transmitter is still meant to be keyed.
class LinesWatch : public QObject
{
    Q_OBJECT
public:
    static constexpr int RetryMs = 2000;

    explicit LinesWatch(ControlLineDriver &driver, QObject *parent = nullptr);

    // The lines to watch; nullptr for none (the parallel port is never lost).
    void watch(ControlLines *lines);
    // The lines could not be opened: look for them as for lost ones, without saying "lost".
    void keepLooking();
    bool looking() const { return m_retry.isActive(); }
    // One attempt to open the lines again.
    void retry();

signals:
    void lost(const QString &device, const QString &reason);
    void back(const QString &device);

private:
    void linesLost(const QString &reason);

    ControlLineDriver &m_driver;
    ControlLines *m_lines = nullptr;
    QTimer m_retry;
};
