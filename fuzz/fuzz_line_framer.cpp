// One chunk received from the relay server: split into messages, each classified.
#include "FuzzStation.h"

#include "server/ServerMessages.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    const QByteArray chunk = fuzzBytes(data, size);
    const QList<QByteArray> messages = ServerMessages::split(chunk);
    QByteArray joined;
    for (const QByteArray &message : messages) {
        if (message.isEmpty() || message.size() > ServerMessages::MaxMessageBytes + 2)
            __builtin_trap();
        joined += message;
        const ServerCommand command = ServerMessages::classify(message);
        if (command == ServerCommand::Dtmf) {
            const std::optional<QString> characters = ServerMessages::dtmfCharacters(message);
            if (characters && characters->isEmpty())
                __builtin_trap();
        }
        for (AudioChannel channel : {AudioChannel::Left, AudioChannel::Right, AudioChannel::Both})
            ServerMessages::channelAccepts(command, channel);
    }
    // Splitting neither loses nor adds a byte.
    if (joined != chunk)
        __builtin_trap();
    return 0;
}
