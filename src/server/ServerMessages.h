#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// What one message from the relay server asks for. The order of the enumerators is the order in
// which the keywords are looked for: the first one found in a message wins.
enum class ServerCommand {
    ReportFrequency, // "FREQUENCY"
    TransmitLeft,    // "TRANSMIT_L"
    ReceiveLeft,     // "RECEIVE_L"
    TransmitRight,   // "TRANSMIT_R"
    ReceiveRight,    // "RECEIVE_R"
    GenericUp,       // "GENERIC_U"
    GenericDown,     // "GENERIC_D"
    SMeter,          // "SMETER": known, ignored
    Idle,            // "ZZZZZ": known, ignored
    Dtmf,            // DTMF characters followed by a two-character line end
    Nothing          // anything else
};

// Which audio channel of the PC interface the transceiver transmits; it selects which of the
// transmit/receive keywords the station obeys.
enum class AudioChannel { Left, Right, Both };

// Widget-free handling of the text received from the relay server: splitting a received chunk
// into messages and deciding what each message asks for. Nothing here acts on the radio.
class ServerMessages
{
public:
    // Longest message handed on, line end not counted. Real messages are a few bytes; a stream
    // without line ends is cut into pieces of this size. Nothing is kept between calls,
    // so memory stays bounded as long as the caller bounds each read from the socket.
    static constexpr qsizetype MaxMessageBytes = 4096;

    // Splits a chunk at each CR LF. Each piece keeps its CR LF; the text after the last CR LF
    // (if any) is a message of its own, so a chunk holding one line or none yields itself.
    static QList<QByteArray> split(const QByteArray &chunk);

    // The keyword tests in their fixed order, case-sensitive, anywhere in the message.
    static ServerCommand classify(const QByteArray &message);

    // The DTMF characters of a message: the message minus its last two characters, when that is
    // not empty and holds only 0-9, A-D, a-d, '#' and '*'.
    static std::optional<QString> dtmfCharacters(const QByteArray &message);

    static bool isDtmfCharacter(char c);

    // Whether a transmit/receive command is obeyed on the given audio channel. Other commands
    // do not depend on the channel and are always obeyed here.
    static bool channelAccepts(ServerCommand command, AudioChannel channel);
};
