#pragma once

#include "kenwood/KenwoodModel.h"

#include <QCoroTask>
#include <QStringList>

class RigLink;

// Reads channels 1..count one exchange each and turns the records among the replies into
// memory-list entries ("001=145.225000 shift=-0.600"). The entries come from the replies as
// they were received, not from the traffic display, which keeps only its newest text.
struct MemoryListRead
{
    bool timedOut = false; // a channel got no reply: the list is to stay empty
    QStringList entries;
};

QCoro::Task<MemoryListRead> readMemoryList(RigLink &link, Kenwood::Model model, int count);

// Channels first..last, their replies appended to `replies` as they came (for
// memoryListFromReplies once all are in); false as soon as one gets no reply.
QCoro::Task<bool> readMemoryRecords(RigLink &link, Kenwood::Model model, int first, int last,
                                    QString &replies);
