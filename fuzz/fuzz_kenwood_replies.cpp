// Replies of the transceiver, garbled or not, through every reply reader and the memory list.
// The first byte chooses the model and the band; the rest is the reply text.
#include "FuzzStation.h"

#include "kenwood/KenwoodReplies.h"
#include "radio/MemoryEntry.h"

using namespace Kenwood;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    if (size < 1)
        return 0;
    const Model model = std::array{Model::TMD700, Model::TMD710, Model::TMV71}[data[0] % 3];
    const int band = (data[0] >> 2) & 1;
    const QString reply = QString::fromLatin1(fuzzBytes(data + 1, size - 1));

    isTimeout(reply);
    frequencyFromHertz(reply, model);
    offsetText(reply.left(4));
    shiftText(reply.isEmpty() ? QChar(u'0') : reply.at(0), reply.mid(1, 4));
    idReplyMatches(reply, model);
    replyShowsVfoMode(reply, band, model);
    replyShowsMemoryMode(reply, band, model);
    bandChoiceFromReply(reply);
    if (const std::optional<int> level = powerLevelFromReply(reply);
        level && (*level < 0 || *level > 2))
        __builtin_trap();
    vfoRangeFromReply(reply);
    const ChannelReply channel = channelFromReply(reply);
    if (!channel.channel.isEmpty() && channel.channel.size() != 3)
        __builtin_trap();
    replySaysNotScanning(reply);

    const QStringList entries = memoryListFromReplies(reply, model);
    for (const QString &entry : entries) {
        MemoryEntry::channel(entry);
        MemoryEntry::frequency(entry);
    }
    // Every record starts with the record letters, so there are never more entries than those.
    if (entries.size() > reply.count(memoryRecordLetters(model)))
        __builtin_trap();
    memoryListEntry(reply, model);

    for (const QString &start :
         {QStringLiteral("FO %1").arg(band), QStringLiteral("VR %1").arg(band)}) {
        if (const std::optional<QString> display = vfoDisplayText(reply, start, model))
            frequencyOfVfoDisplay(*display);
    }
    frequencyOfVfoDisplay(reply);
    return 0;
}
