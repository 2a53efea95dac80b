#include "dtmf/DtmfSession.h"

#include "core/StationState.h"
#include "dtmf/DtmfCatalogue.h"
#include "dtmf/DtmfMatcher.h"

namespace DtmfSession {

void receive(StationState &state)
{
    state.DtmfReceived = DtmfMatcher::appendCapped(state.DtmfReceived, state.DtmfLastChars);
}

Recognition recognise(StationState &state, const QStringList &table)
{
    Recognition result;
    const std::optional<DtmfMatcher::CodeMatch> match =
        DtmfMatcher::findCode(table, state.DtmfReceived);
    if (!match)
        return result;
    result.code = match->code;
    result.entry = match->entry;
    result.collected = state.DtmfReceived;
    state.DtmfReceived.clear();
    const std::optional<int> action = DtmfCatalogue::actionNumberOf(match->entry);
    if (!action) {
        result.kind = Recognition::Unusable;
        return result;
    }
    result.kind = Recognition::Recognised;
    result.action = *action;
    return result;
}

void beginWaiting(StationState &state, const Recognition &recognition)
{
    state.DtmfParameter = recognition.code;
    state.DtmfState = recognition.action;
    state.DtmfReceived = recognition.collected;
}

static Resolution abandon(StationState &state)
{
    state.DtmfParameter.clear();
    state.DtmfState = 0;
    return {};
}

Resolution resolveWaiting(StationState &state, const QStringList &entries)
{
    const DtmfMatcher::Figures figures =
        DtmfMatcher::collectFigures(state.DtmfReceived, state.DtmfParameter, state.DtmfState);
    if (figures.status == DtmfMatcher::FiguresStatus::Wait)
        return {Resolution::Waiting, -1, QString()};
    if (figures.status == DtmfMatcher::FiguresStatus::Abandon)
        return abandon(state);

    state.MemoryNumberText.clear();
    const int index =
        state.DtmfState == 11
            ? DtmfMatcher::findFrequencyEntry(entries, DtmfMatcher::frequencyKey(figures.value))
            : DtmfMatcher::findMemoryEntry(entries, figures.value);
    if (index < 0)
        return abandon(state);
    state.MemoryNumberText = entries.at(index).left(3);
    return {Resolution::Found, index, figures.value};
}

void finishWaiting(StationState &state)
{
    state.DtmfState = 0;
    state.DtmfParameter.clear();
    closeEntry(state);
}

void closeEntry(StationState &state)
{
    state.DtmfReceived.clear();
}

void expire(StationState &state)
{
    state.DtmfReceived.clear();
    state.DtmfParameter.clear();
    state.DtmfState = 0;
}

} // namespace DtmfSession
