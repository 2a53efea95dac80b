#pragma once

#include "generic_tx/LineSettings.h"
#include "generic_tx/LinesWatch.h"

#include <QObject>
#include <QString>
#include <memory>

class ControlLineDriver;
class ControlLines;
class EventLog;
class GenericTxSettings;
class Notifier;
class ParallelPort;
class RadioState;
struct StationState;

// What carries the generic transmitter's lines, taken and given back: the parallel port at
// LptBase or the other lines the settings name (USB audio interface, GPIO chip), brought to rest
// when taken, watched while in use, and how they fare for the lines' status line.
class GenericTxLines : public QObject
{
    Q_OBJECT
public:
    // What the lines' status line says.
    enum class Health { None, Ok, Error, Lost };

    GenericTxLines(StationState &state, EventLog &log, Notifier &notifier, ParallelPort &port,
                   ControlLineDriver &driver, RadioState &radio, const GenericTxSettings &settings,
                   QObject *parent = nullptr);
    ~GenericTxLines() override;

    // The lines the settings name taken and brought to rest; the log says when the transmitter is
    // ready, the status line how the lines fare.
    void take();
    // Every output at rest, then the port or device given back; nothing watched any more.
    void letGo();
    // The setup dialog's OK changed what carries the lines: the new ones taken (the parallel
    // port's rest levels are the dialog's to write).
    void changed();
    // The setup dialog's OK brought the parallel port at `base` to rest, or the port refused.
    void portConfirmed(quint16 base, bool atRest);

    Health health() const { return m_health; }
    // LPT, CM108 or GPIO.
    QString kindText() const;
    LinesWatch &watch() { return m_watch; }

    // LINES=, LINESDEVICE=, LINESMAP=: read when the lines are taken, changed by the setup
    // dialog's OK.
    LineSettings settings;

signals:
    // The status line's text: green when the lines work (Ok), red otherwise.
    void healthChanged(Health health, const QString &text);

private:
    void takeParallelPort();
    // Lines other than the parallel port: built from the settings and opened at rest.
    void takeOtherLines();
    void show(Health health, const QString &text);
    void logReady(quint16 base);
    void logReady(const QString &device);

    StationState &m_state;
    EventLog &m_log;
    Notifier &m_notifier;
    ParallelPort &m_port;
    ControlLineDriver &m_driver;
    RadioState &m_radio;
    const GenericTxSettings &m_settings;
    std::unique_ptr<ControlLines> m_lines;
    LinesWatch m_watch;
    Health m_health = Health::None;
};
