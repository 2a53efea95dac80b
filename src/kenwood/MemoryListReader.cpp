#include "kenwood/MemoryListReader.h"

#include "kenwood/KenwoodCommands.h"
#include "kenwood/KenwoodReplies.h"
#include "kenwood/RigLink.h"

QCoro::Task<bool> readMemoryRecords(RigLink &link, Kenwood::Model model, int first, int last,
                                    QString &replies)
{
    for (int channel = first; channel <= last; ++channel) {
        const QString reply = co_await link.exchange(Kenwood::memoryReadCommand(channel, model));
        if (Kenwood::isTimeout(reply))
            co_return false;
        replies += reply;
    }
    co_return true;
}

QCoro::Task<MemoryListRead> readMemoryList(RigLink &link, Kenwood::Model model, int count)
{
    MemoryListRead result;
    QString replies;
    if (!co_await readMemoryRecords(link, model, 1, count, replies)) {
        result.timedOut = true;
        co_return result;
    }
    result.entries = Kenwood::memoryListFromReplies(replies, model);
    co_return result;
}
