#pragma once

#include <QString>
#include <QStringList>

struct StationState;

// How the DTMF interpreter's state (DtmfReceived, DtmfState, DtmfParameter, MemoryNumberText)
// moves from report to report. The caller runs the operations (the radio's, log lines, the
// entry window's timer); these functions only decide and keep the state.
//
// InterpretDtmf is meant to read:
//   if (DtmfState == 0) {
//       r = recognise(state, table);           stop unless r.kind == Recognised
//       log "Code " + r.entry
//       if figuresNeeded(r.action) == 0:       carry out r.action (close or not), stop
//       if actions 7/8 on the generic radio:   closeEntry, stop
//       beginWaiting(state, r)
//   }
//   w = resolveWaiting(state, the channel list or the memories of the radio in use)
//   if w.kind == Found: select w.index in that list, act and log, then finishWaiting(state)
namespace DtmfSession {

// ReceiveDtmf: appends DtmfLastChars to DtmfReceived (capped). The caller then shows
// DtmfReceived, restarts the entry window and interprets.
void receive(StationState &state);

struct Recognition
{
    enum Kind {
        NoCode,     // the table is empty or no code begins the collected text: keep collecting
        Unusable,   // a code matched but its entry has no usable action number: match consumed
        Recognised, // `action` holds the action number
    };
    Kind kind = NoCode;
    QString code;
    QString entry;     // the whole table entry, for the "Code " log line
    QString collected; // the collected text at the match, handed back to beginWaiting
    int action = -1;
};

// Phase 1. On a match the collected text is emptied (whether or not the action is usable).
Recognition recognise(StationState &state, const QStringList &table);

// Makes a recognised memory or frequency action wait for its figures.
void beginWaiting(StationState &state, const Recognition &recognition);

struct Resolution
{
    enum Kind {
        Waiting,   // not enough figures yet
        Abandoned, // DtmfState 0 and DtmfParameter empty; the collected text stays
        Found,     // the entry at `index` is the one to select; MemoryNumberText is set
    };
    Kind kind = Abandoned;
    int index = -1;
    QString value; // the code's last character and the figures: "015", or "5225" for action 11
};

// Phase 2 over the list the action searches (memories or the generic channels).
Resolution resolveWaiting(StationState &state, const QStringList &entries);

// After a found entry has been acted on: back to idle, collected text emptied.
void finishWaiting(StationState &state);

// CloseDtmfEntry without the timer: empties the collected text only.
void closeEntry(StationState &state);

// The entry window's end without the timer and the display: everything back to idle.
void expire(StationState &state);

} // namespace DtmfSession
