#include "kenwood/MemoryListReader.h"

#include "kenwood/KenwoodCommands.h"
#include "kenwood/KenwoodReplies.h"
#include "kenwood/RigLink.h"

QCoro::Task<MemoryListRead> readMemoryList(RigLink &link, Kenwood::Model model, int count)
{
    MemoryListRead result;
    QString replies;
    for (int channel = 1; channel <= count; ++channel) {
        const QString reply = co_await link.exchange(Kenwood::memoryReadCommand(channel, model));
        if (Kenwood::isTimeout(reply)) {
            result.timedOut = true;
            co_return result;
        }
        replies += reply;
    }
    result.entries = Kenwood::memoryListFromReplies(replies, model);
    co_return result;
}
