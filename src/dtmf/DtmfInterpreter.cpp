#include "dtmf/DtmfInterpreter.h"

#include "core/EventLog.h"
#include "core/StationState.h"
#include "dtmf/DtmfMatcher.h"
#include "dtmf/DtmfSession.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

namespace {

QStringList itemTexts(const QListWidget *list)
{
    QStringList texts;
    texts.reserve(list->count());
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

} // namespace

DtmfInterpreter::DtmfInterpreter(StationState &state, EventLog &log, RadioSelector &radios,
                                 const DtmfControls &controls)
    : m_state(state), m_log(log), m_c(controls), m_actions(state, log, radios, controls.station)
{
    connect(m_c.TimerDTMF, &QTimer::timeout, this, &DtmfInterpreter::TimerDTMFTimer);
}

void DtmfInterpreter::ReceiveDtmf(const QString &chars)
{
    if (m_running) {
        if (m_pending.size() >= PendingCap) {
            ++m_dropped;
            return;
        }
        m_pending.enqueue({false, chars});
        // The sender is still keying: five seconds of silence count from this report.
        m_c.TimerDTMF->start();
        return;
    }
    m_pending.enqueue({false, chars});
    drain();
}

void DtmfInterpreter::TimerDTMFTimer()
{
    m_c.TimerDTMF->stop();
    if (m_running) {
        m_pending.enqueue({true, QString()});
        return;
    }
    expireEntry();
}

void DtmfInterpreter::CloseDtmfEntry()
{
    DtmfSession::closeEntry(m_state);
    m_c.TimerDTMF->stop();
}

void DtmfInterpreter::drain()
{
    m_running = true;
    while (!m_pending.isEmpty()) {
        const Event event = m_pending.dequeue();
        if (event.expiry)
            expireEntry();
        else
            handleReport(event.chars);
    }
    m_running = false;
}

void DtmfInterpreter::expireEntry()
{
    DtmfSession::expire(m_state);
    m_c.TimerDTMF->stop();
    m_c.StaticTextDTMF->clear();
}

void DtmfInterpreter::handleReport(const QString &chars)
{
    m_state.DtmfLastChars = chars;
    DtmfSession::receive(m_state);
    m_c.StaticTextDTMF->setText(m_state.DtmfReceived);
    m_c.TimerDTMF->start(); // restarts a running timer
    InterpretDtmf();
}

void DtmfInterpreter::InterpretDtmf()
{
    if (m_state.DtmfState == 0) {
        const DtmfSession::Recognition r =
            DtmfSession::recognise(m_state, itemTexts(m_c.ListBoxCodesDTMF));
        if (r.kind != DtmfSession::Recognition::Recognised)
            return;
        m_log.append(QStringLiteral("Code ") + r.entry);
        if (DtmfMatcher::figuresNeeded(r.action) == 0) {
            if (m_actions.carryOut(r.action))
                CloseDtmfEntry();
            return;
        }
        if (m_actions.stepsChannels() && (r.action == 7 || r.action == 8)) {
            CloseDtmfEntry();
            return;
        }
        DtmfSession::beginWaiting(m_state, r);
    }
    waitForFigures();
}

void DtmfInterpreter::waitForFigures()
{
    const DtmfSession::Resolution w = DtmfSession::resolveWaiting(m_state, m_actions.entries());
    if (w.kind != DtmfSession::Resolution::Found)
        return;
    const int action = m_state.DtmfState;
    m_actions.choose(w.index);
    m_actions.actOnFound(action, w.value, w.index);
    DtmfSession::finishWaiting(m_state);
    CloseDtmfEntry();
}
