#include "server/ServerMessages.h"

#include <array>
#include <utility>

namespace {

constexpr char LineEnd[] = "\r\n";
constexpr qsizetype LineEndSize = 2;

// Appends a piece to the list, cutting an over-long one into bounded messages. The line end, if
// the piece has one, stays on the last of them.
void appendBounded(QList<QByteArray> &out, const QByteArray &body, bool hasLineEnd)
{
    if (body.size() <= ServerMessages::MaxMessageBytes) {
        out.append(hasLineEnd ? body + LineEnd : body);
        return;
    }
    qsizetype pos = 0;
    while (body.size() - pos > ServerMessages::MaxMessageBytes) {
        out.append(body.mid(pos, ServerMessages::MaxMessageBytes));
        pos += ServerMessages::MaxMessageBytes;
    }
    const QByteArray last = body.mid(pos);
    out.append(hasLineEnd ? last + LineEnd : last);
}

} // namespace

QList<QByteArray> ServerMessages::split(const QByteArray &chunk)
{
    QList<QByteArray> messages;
    qsizetype start = 0;
    while (start < chunk.size()) {
        const qsizetype end = chunk.indexOf(LineEnd, start);
        if (end < 0) {
            appendBounded(messages, chunk.mid(start), false);
            break;
        }
        appendBounded(messages, chunk.mid(start, end - start), true);
        start = end + LineEndSize;
    }
    return messages;
}

ServerCommand ServerMessages::classify(const QByteArray &message)
{
    static const std::array<std::pair<const char *, ServerCommand>, 9> keywords{{
        {"FREQUENCY", ServerCommand::ReportFrequency},
        {"TRANSMIT_L", ServerCommand::TransmitLeft},
        {"RECEIVE_L", ServerCommand::ReceiveLeft},
        {"TRANSMIT_R", ServerCommand::TransmitRight},
        {"RECEIVE_R", ServerCommand::ReceiveRight},
        {"GENERIC_U", ServerCommand::GenericUp},
        {"GENERIC_D", ServerCommand::GenericDown},
        {"SMETER", ServerCommand::SMeter},
        {"ZZZZZ", ServerCommand::Idle},
    }};
    for (const auto &[text, command] : keywords) {
        if (message.contains(text))
            return command;
    }
    return dtmfCharacters(message) ? ServerCommand::Dtmf : ServerCommand::Nothing;
}

std::optional<QString> ServerMessages::dtmfCharacters(const QByteArray &message)
{
    // The last two characters are taken as the line end whatever they are, so "12\n" gives "1".
    if (message.size() <= LineEndSize)
        return std::nullopt;
    const QByteArray body = message.left(message.size() - LineEndSize);
    for (const char c : body) {
        if (!isDtmfCharacter(c))
            return std::nullopt;
    }
    return QString::fromLatin1(body);
}

bool ServerMessages::isDtmfCharacter(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'D') || (c >= 'a' && c <= 'd') || c == '#' ||
           c == '*';
}

bool ServerMessages::channelAccepts(ServerCommand command, AudioChannel channel)
{
    switch (command) {
    case ServerCommand::TransmitLeft:
    case ServerCommand::ReceiveLeft:
        return channel == AudioChannel::Left || channel == AudioChannel::Both;
    case ServerCommand::TransmitRight:
    case ServerCommand::ReceiveRight:
        return channel == AudioChannel::Right || channel == AudioChannel::Both;
    default:
        return true;
    }
}
