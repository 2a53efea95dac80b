#pragma once

#include "generic_tx/ControlLines.h"
#include "generic_tx/PinLogic.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>

class Notifier;
class ParallelPort;
class ParallelPortLines;
class GenericTxSettings;
struct StationState;

// Drives the generic transmitter's control lines: pulses on UP, DOWN and RESET, the PTT line,
// the squelch input and the rest levels, with the polarities of the setup dialog. The lines are
// the parallel port's (every write a read-modify-write of the control register at LptBase + 2;
// with LptBase 0, no port, the lines do nothing) unless other lines are in use.
class ControlLineDriver : public QObject
{
    Q_OBJECT
public:
    // `settings` gives the pulse lengths and the polarities, read at the moment of use.
    ControlLineDriver(StationState &state, ParallelPort &port, Notifier &notifier,
                      const GenericTxSettings &settings, QObject *parent = nullptr);
    ~ControlLineDriver() override;

    // The lines to drive from now on; nullptr: the parallel port. Not owned.
    void useLines(ControlLines *lines);
    ControlLines &lines() { return *m_lines; }
    bool onParallelPort() const;
    // Each output's rest level under the current polarities, indexed by TxLine.
    ControlLines::Levels restLevels() const;
    // Opens the lines at their rest levels, then keys PTT again if the transmitter is meant to
    // be keyed (the device came back while TRANSMIT was on). False: failure() says why.
    bool openLines();

    // A pulse on UP, DOWN or RESET, as long as the settings say; refused with a beep while the
    // same line's pulse is under way (the count of channels must match the pulses sent). PTT is
    // not pulsed.
    void pulse(TxLine line);
    bool pulsing(TxLine line) const;

    // Keys (on) or unkeys the PTT line, whatever it was before.
    void setPtt(bool on);
    // The PTT line flipped (the hidden test toggle). Without lines nothing changes.
    void togglePtt();
    // The PTT line is keyed, or is to be keyed again once its device is back.
    bool pttOn() const;
    // The PTT line was driven to its active level and is still held there: keyed for real, not
    // merely asked for (no device, a write refused, the device lost).
    bool pttDriven() const { return m_pttDriven; }

    // Squelch from its input; closed when there is no port or device, or the input cannot be
    // read, so a scan never stops on lines that are not there (a failed parallel-port read gives
    // 0xFF, which the "0v" setting would take for open).
    bool squelchIsOpen();

    LinePolarity polarity(TxLine line) const;

    // One line's rest level (on the parallel port a read-modify-write at LptBase, storing
    // LptControlValue); returns whether the lines reported success.
    bool writeIdle(TxLine line);
    // Rest levels of UP, DOWN, RESET and PTT at another address (the setup dialog's choice);
    // true when every write succeeded. LptControlValue is left alone.
    bool writeIdleLevelsAt(quint16 base);
    // The parallel port at LptBase is taken for the lines (the model's activation).
    void enablePort();

    // Exit, another model, other lines: every pulse under way ended, every output (UP, DOWN,
    // RESET, PTT) at rest whatever the program believed, then the port or device given back to
    // the system. Once given back, doing it again does nothing. Whether the transmitter is meant
    // to be keyed is kept for the lines that come next.
    void releasePort();

    ParallelPort &port() { return m_port; }

    // Receives the port's reason for a failure ("Cannot open /dev/parport0 ...: Permission
    // denied"), once: the same reason again is not repeated until an operation has worked. A
    // keying that fails is reported each time ("Transmitter not keyed: ...").
    std::function<void(const QString &)> reportFailure;

signals:
    // A pulse on UP, DOWN or RESET was asked (a step, a reset or a test button), whether the
    // line could take it or not.
    void pulseAsked(TxLine line);
    void pttDrivenChanged(bool driven);
    // Whether the PTT line is meant to be keyed, each time it is noted (changed or not, so that
    // a toggle flipped by a click that did nothing shows the truth again).
    void pttNoted(bool on);

private:
    // Whether the port's last operation worked; reports a new failure, and any failure when
    // `always` is given (the line then starts with it).
    bool lastOperationWorked(bool worked, const QString &always = QString());
    void notePtt(bool on);
    void noteDriven(bool driven);
    // Every output to its rest level, whatever the program believed.
    void restAll();
    bool write(TxLine line, bool active);
    bool present() const;
    // The pulse timer of UP, DOWN or RESET; nullptr for PTT.
    QTimer *pulseTimer(TxLine line);
    const QTimer *pulseTimer(TxLine line) const;
    void endPulse(TxLine line);

    StationState &m_state;
    ParallelPort &m_port;
    Notifier &m_notifier;
    const GenericTxSettings &m_settings;
    // One-shot, one per pulsed line (UP, DOWN, RESET): running while its pulse is under way.
    std::array<QTimer, 3> m_pulseTimers;
    std::unique_ptr<ParallelPortLines> m_parallelPort;
    ControlLines *m_lines;
    QString m_reportedFailure;
    bool m_pttOn = false;
    bool m_pttDriven = false;
    // The parallel port was enabled and not given back yet.
    bool m_portHeld = false;
};
