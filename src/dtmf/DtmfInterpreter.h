#pragma once

#include "dtmf/DtmfActions.h"
#include "dtmf/DtmfControls.h"

#include <QCoroTask>
#include <QObject>
#include <QString>
#include <QTimer>

class EventLog;
class RadioRequests;
struct StationState;

// Collects the DTMF characters reported by the server (or the simulation button), recognises
// the operator's codes at the start of what was collected, reads the figures some actions take
// and carries the actions out.
//
// A report and the end of the entry window are requests for the radio like any other: they run
// one at a time, so the interpreter's state is never changed under an action that waits for
// the transceiver.
class DtmfInterpreter : public QObject
{
    Q_OBJECT
public:
    // How long an entry stays open after the last report.
    static constexpr int EntryWindowMs = 5000;

    DtmfInterpreter(StationState &state, EventLog &log, RadioSelector &radios,
                    RadioRequests &requests, const DtmfControls &controls);

    // One report: the characters are appended to the collected text, shown, the entry window
    // is restarted and the text interpreted. Runs as (part of) a request.
    QCoro::Task<> ReceiveDtmf(QString chars);
    // The entry window's end: everything back to idle and the display emptied, in its turn
    // among the requests.
    void TimerDTMFTimer();
    // Empties the collected text and stops the entry window; the display keeps its text.
    void CloseDtmfEntry();
    // The entry window runs: characters reported are collected.
    bool entryOpen() const { return m_entryWindow.isActive(); }
    // Another length of the entry window, from now on (a running one starts again).
    void setEntryWindow(int ms) { m_entryWindow.setInterval(ms); }
    const QTimer &entryWindow() const { return m_entryWindow; }

private:
    QCoro::Task<> InterpretDtmf();
    void expireEntry();
    QCoro::Task<> waitForFigures();

    StationState &m_state;
    EventLog &m_log;
    RadioRequests &m_requests;
    DtmfControls m_c;
    DtmfActions m_actions;
    QTimer m_entryWindow;
};
