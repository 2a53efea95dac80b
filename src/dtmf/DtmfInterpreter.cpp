#include "dtmf/DtmfInterpreter.h"

#include "core/EventLog.h"
#include "core/StationState.h"
#include "dtmf/DtmfMatcher.h"
#include "dtmf/DtmfSession.h"
#include "radio/RadioRequests.h"

#include "dtmf/DtmfCodeList.h"

DtmfInterpreter::DtmfInterpreter(StationState &state, EventLog &log, RadioSelector &radios,
                                 RadioRequests &requests, const DtmfControls &controls)
    : m_state(state), m_log(log), m_requests(requests), m_c(controls),
      m_actions(state, log, radios, controls.station)
{
    m_entryWindow.setInterval(EntryWindowMs);
    // A coarse timer may end 5 % early and close an entry 250 ms soon.
    m_entryWindow.setTimerType(Qt::PreciseTimer);
    connect(&m_entryWindow, &QTimer::timeout, this, &DtmfInterpreter::TimerDTMFTimer);
}

QCoro::Task<> DtmfInterpreter::ReceiveDtmf(QString chars)
{
    m_state.DtmfLastChars = chars;
    DtmfSession::receive(m_state);
    m_c.showEntry(m_state.DtmfReceived);
    m_entryWindow.start(); // restarts a running timer
    co_await InterpretDtmf();
}

void DtmfInterpreter::TimerDTMFTimer()
{
    m_entryWindow.stop();
    m_requests.submit([this]() -> QCoro::Task<> {
        expireEntry();
        co_return;
    });
}

void DtmfInterpreter::CloseDtmfEntry()
{
    DtmfSession::closeEntry(m_state);
    m_entryWindow.stop();
}

void DtmfInterpreter::expireEntry()
{
    DtmfSession::expire(m_state);
    m_entryWindow.stop();
    m_c.showEntry(QString());
}

QCoro::Task<> DtmfInterpreter::InterpretDtmf()
{
    if (m_state.DtmfState == 0) {
        const DtmfSession::Recognition r = DtmfSession::recognise(m_state, m_c.codes->lines());
        if (r.kind != DtmfSession::Recognition::Recognised)
            co_return;
        m_log.append(QStringLiteral("Code ") + r.entry);
        const auto action = static_cast<DtmfAction>(r.action);
        if (DtmfMatcher::figuresNeeded(r.action) == 0) {
            if (co_await m_actions.carryOut(action))
                CloseDtmfEntry();
            co_return;
        }
        if (!m_actions.recallsMemories() &&
            (action == DtmfAction::MemoryA || action == DtmfAction::MemoryB)) {
            CloseDtmfEntry();
            co_return;
        }
        DtmfSession::beginWaiting(m_state, r);
    }
    co_await waitForFigures();
}

QCoro::Task<> DtmfInterpreter::waitForFigures()
{
    const DtmfSession::Resolution w = DtmfSession::resolveWaiting(m_state, m_actions.entries());
    if (w.kind != DtmfSession::Resolution::Found)
        co_return;
    const auto action = static_cast<DtmfAction>(m_state.DtmfState);
    m_actions.choose(w.index);
    co_await m_actions.actOnFound(action, w.value, w.index);
    DtmfSession::finishWaiting(m_state);
    CloseDtmfEntry();
}
