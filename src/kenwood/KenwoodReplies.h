#pragma once

#include "kenwood/KenwoodModel.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

// Reading the transceiver's replies. As the radios lay them out, fields are taken by substring
// search and fixed 1-based character positions. Bands are 0 for A and 1 for B.
namespace Kenwood {

// What an exchange returns when no reply came in time.
inline constexpr QStringView TimeoutReply = u"timerout";
bool isTimeout(QStringView reply);

// Whether a line from the radio can be the reply to `command`: the sets answer with the
// command's own letters ("ME 005,..." to "ME 005"), or "?" / "N" alone. Anything else (a line
// the radio sent unasked, the late reply of an exchange that gave up) belongs to no command.
bool replyAnswers(QStringView command, QStringView reply);

// Hertz digits to "xxx.yyyyyy": 11 digits on the TM-D700 ("00145225000"), 10 on the others
// ("0145225000"); both give "145.225000". Short text gives what its characters allow.
QString frequencyFromHertz(QStringView digits, Model model);

// Four characters of offset to "d.ddd": "0600" -> "0.600".
QString offsetText(QStringView fourChars);

// "shift=0", "shift=+" / "shift=-" with the offset, or "shift=-7.100" for code 3. Any other code,
// a garbled character included, is shown as it came ("shift=x") instead of stopping the caller.
QString shiftText(QChar code, QStringView offsetChars);

// The "ID" reply names the model anywhere in it ("ID TM-D710G" passes for a TM-D710).
bool idReplyMatches(QStringView reply, Model model);
// The set an "ID" reply names, when it names one of the three.
std::optional<Model> modelOfIdReply(QStringView reply);

// "MR" on the TM-D700, "ME" on the other two: the letters a memory record starts with.
QString memoryRecordLetters(Model model);

// One memory record (starting with its letters, ending at its carriage return or the end of the
// text) to a memory-list entry "001=145.225000 shift=-0.600". A record too short to hold its
// shift code gives no entry: its fields would not sit at the positions the list relies on.
std::optional<QString> memoryListEntry(QStringView record, Model model);

// All memory records in the concatenated replies, in order: a record counts where the text starts
// with the record letters or where they follow a carriage return. Other replies are passed over.
QStringList memoryListFromReplies(QStringView replies, Model model);

// The VFO display text "F=145.225000 shift=-0.600" from the reply text that holds the VFO record;
// recordStart ("FO 0", "VR 1") is searched for and the fields are counted from where it starts.
// Nothing when the record is absent or too short.
std::optional<QString> vfoDisplayText(QStringView replies, QStringView recordStart, Model model);

// Mode replies: "VMC b,0" / "VM b,0" for VFO mode, "VMC b,2" / "VM b,1" for memory mode.
bool replyShowsVfoMode(QStringView reply, int band, Model model);
bool replyShowsMemoryMode(QStringView reply, int band, Model model);

// "BC c,p": which bands the reply names ("BC 0" and "BC 1" searched independently).
struct BandChoice
{
    bool bandA = false;
    bool bandB = false;
};
BandChoice bandChoiceFromReply(QStringView reply);

// "PC 0,2": the power code at character 6, 0 (high) to 2 (low); nothing for any other character.
std::optional<int> powerLevelFromReply(QStringView reply);

// "RBN" reply longer than 4 characters: its 5th character, the VFO range for the "VR" command.
std::optional<QChar> vfoRangeFromReply(QStringView reply);

// Reply to "MC b" / "MR b": an "N" anywhere means the band is on no channel; otherwise characters
// 6-8 are the channel. A time-out is neither: no channel is known and nothing is to be cleared.
struct ChannelReply
{
    bool noChannel = false;
    QString channel; // empty unless three digits were read
};
ChannelReply channelFromReply(QStringView reply);

// Reply to "SC": only a reply holding "SC 0" says the set is not scanning.
bool replySaysNotScanning(QStringView reply);

// The frequency of the VFO display "F=145.225000 shift=0" (characters 3-12).
QString frequencyOfVfoDisplay(QStringView vfoDisplay);

} // namespace Kenwood
