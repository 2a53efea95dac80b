#pragma once

#include "dtmf/DtmfActions.h"
#include "dtmf/DtmfControls.h"

#include <QObject>
#include <QQueue>
#include <QString>

class EventLog;
struct StationState;

// Collects the DTMF characters reported by the server (or the simulation button), recognises
// the operator's codes at the start of what was collected, reads the figures some actions take
// and carries the actions out.
//
// An action may wait for the transceiver while the event loop runs, so a report or the end of
// the entry window can arrive in the middle of it. Those are queued and handled in order once
// the running action has returned: the interpreter's state is never changed under an action.
class DtmfInterpreter : public QObject
{
    Q_OBJECT
public:
    // Reports queued behind a running action beyond this many are dropped; by then the
    // collected text is long past anything a code can match.
    static constexpr int PendingCap = 64;

    DtmfInterpreter(StationState &state, EventLog &log, RadioSelector &radios,
                    const DtmfControls &controls);

    // One report: the characters are appended to the collected text, shown, the entry window
    // is restarted and the text interpreted.
    void ReceiveDtmf(const QString &chars);
    // The entry window's end: everything back to idle and the display emptied.
    void TimerDTMFTimer();
    // Empties the collected text and stops the entry window; the display keeps its text.
    void CloseDtmfEntry();

    // Whether an action is being carried out (reports arriving now wait for it).
    bool isBusy() const { return m_running; }
    int pendingCount() const { return int(m_pending.size()); }
    int droppedCount() const { return m_dropped; }

private:
    struct Event
    {
        bool expiry = false;
        QString chars;
    };

    void drain();
    void handleReport(const QString &chars);
    void InterpretDtmf();
    void expireEntry();
    void waitForFigures();

    StationState &m_state;
    EventLog &m_log;
    DtmfControls m_c;
    DtmfActions m_actions;
    QQueue<Event> m_pending;
    bool m_running = false;
    int m_dropped = 0;
};
