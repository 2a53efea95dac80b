#include "kenwood/KenwoodReplies.h"

#include "kenwood/KenwoodCommands.h"

namespace Kenwood {

namespace {

constexpr QChar CarriageReturn = QLatin1Char('\r');

// Where the fields of a record sit, 1-based from its first letter.
struct RecordLayout
{
    int numberPos; // 0 for a VFO record, which carries no channel number
    int frequencyPos;
    int shiftPos;
    int offsetPos;
};

// The TM-D710/TM-V71 "FO" record carries an 8-digit offset at 39-46, so its megahertz units and
// three decimals are at 40-43 (a real set answers "FO 0,0441500000,...,05000000,1" for 5.000).
constexpr RecordLayout MemoryRecordTmd700{8, 12, 26, 49};
constexpr RecordLayout MemoryRecordTmd710{4, 8, 21, 42};
constexpr RecordLayout VfoRecordTmd700{0, 6, 20, 43};
constexpr RecordLayout VfoRecordTmd710{0, 6, 19, 40};

// Characters pos..pos+length-1 (1-based); whatever part of them exists.
QStringView field(QStringView text, int pos, int length)
{
    return text.mid(pos - 1, length);
}

QChar charAt(QStringView text, int pos)
{
    return pos >= 1 && pos <= text.size() ? text[pos - 1] : QChar();
}

// The record up to, not including, its carriage return.
QStringView oneRecord(QStringView text)
{
    const qsizetype end = text.indexOf(CarriageReturn);
    return end < 0 ? text : text.first(end);
}

// Frequency and shift text of a record, or nothing when it stops before its shift code.
std::optional<QString> frequencyAndShift(QStringView record, const RecordLayout &layout,
                                         Model model)
{
    if (record.size() < layout.shiftPos)
        return std::nullopt;
    const QChar code = charAt(record, layout.shiftPos);
    const QString frequency =
        frequencyFromHertz(field(record, layout.frequencyPos, frequencyDigits(model)), model);
    return frequency + QLatin1Char(' ') + shiftText(code, field(record, layout.offsetPos, 4));
}

} // namespace

bool isTimeout(QStringView reply)
{
    return reply == TimeoutReply;
}

bool replyAnswers(QStringView command, QStringView reply)
{
    qsizetype letters = 0;
    while (letters < command.size() && command.at(letters).isLetter())
        ++letters;
    if (letters > 0 && reply.startsWith(command.left(letters)))
        return true;
    const QStringView body = reply.endsWith(QLatin1Char('\r')) ? reply.chopped(1) : reply;
    return body == u"?" || body == u"N";
}

QString frequencyFromHertz(QStringView digits, Model model)
{
    const int leading = frequencyDigits(model) - 9; // zeros in front of the megahertz
    return digits.mid(leading, 3).toString() + QLatin1Char('.') +
           digits.mid(leading + 3).toString();
}

QString offsetText(QStringView fourChars)
{
    const QStringView four = fourChars.first(qMin<qsizetype>(4, fourChars.size()));
    return four.first(qMin<qsizetype>(1, four.size())).toString() + QLatin1Char('.') +
           four.mid(1).toString();
}

QString shiftText(QChar code, QStringView offsetChars)
{
    switch (code.unicode()) {
    case '0':
        return QStringLiteral("shift=0");
    case '1':
        return QStringLiteral("shift=+") + offsetText(offsetChars);
    case '2':
        return QStringLiteral("shift=-") + offsetText(offsetChars);
    case '3':
        return QStringLiteral("shift=-7.100");
    default:
        return QStringLiteral("shift=") + (code.isNull() ? QString() : QString(code));
    }
}

bool idReplyMatches(QStringView reply, Model model)
{
    return reply.contains(idText(model));
}

std::optional<Model> modelOfIdReply(QStringView reply)
{
    for (Model model : Models) {
        if (idReplyMatches(reply, model))
            return model;
    }
    return std::nullopt;
}

QString memoryRecordLetters(Model model)
{
    return model == Model::TMD700 ? QStringLiteral("MR") : QStringLiteral("ME");
}

std::optional<QString> memoryListEntry(QStringView record, Model model)
{
    const QStringView own = oneRecord(record);
    if (!own.startsWith(memoryRecordLetters(model)))
        return std::nullopt;
    const RecordLayout &layout = model == Model::TMD700 ? MemoryRecordTmd700 : MemoryRecordTmd710;
    const std::optional<QString> rest = frequencyAndShift(own, layout, model);
    if (!rest)
        return std::nullopt;
    return field(own, layout.numberPos, 3).toString() + QLatin1Char('=') + *rest;
}

QStringList memoryListFromReplies(QStringView replies, Model model)
{
    const QString letters = memoryRecordLetters(model);
    QStringList entries;
    auto addRecordAt = [&](qsizetype index) {
        if (!replies.mid(index).startsWith(letters))
            return;
        if (const std::optional<QString> entry = memoryListEntry(replies.mid(index), model))
            entries.append(*entry);
    };
    addRecordAt(0);
    for (qsizetype cr = replies.indexOf(CarriageReturn); cr >= 0;
         cr = replies.indexOf(CarriageReturn, cr + 1))
        addRecordAt(cr + 1);
    return entries;
}

std::optional<QString> vfoDisplayText(QStringView replies, QStringView recordStart, Model model)
{
    if (recordStart.isEmpty())
        return std::nullopt;
    const qsizetype found = replies.indexOf(recordStart);
    if (found < 0)
        return std::nullopt;
    const RecordLayout &layout = model == Model::TMD700 ? VfoRecordTmd700 : VfoRecordTmd710;
    const std::optional<QString> text =
        frequencyAndShift(oneRecord(replies.mid(found)), layout, model);
    if (!text)
        return std::nullopt;
    return QStringLiteral("F=") + *text;
}

bool replyShowsVfoMode(QStringView reply, int band, Model model)
{
    return reply.contains(vfoModeCommand(band, model));
}

bool replyShowsMemoryMode(QStringView reply, int band, Model model)
{
    return reply.contains(memoryModeCommand(band, model));
}

BandChoice bandChoiceFromReply(QStringView reply)
{
    return {reply.contains(u"BC 0"), reply.contains(u"BC 1")};
}

std::optional<int> powerLevelFromReply(QStringView reply)
{
    const QChar level = charAt(reply, 6);
    if (level < QLatin1Char('0') || level > QLatin1Char('2'))
        return std::nullopt;
    return level.unicode() - '0';
}

std::optional<QChar> vfoRangeFromReply(QStringView reply)
{
    if (!reply.startsWith(u"RBN") || reply.size() <= 4)
        return std::nullopt;
    return reply[4];
}

ChannelReply channelFromReply(QStringView reply)
{
    ChannelReply result;
    if (reply.contains(QLatin1Char('N'))) {
        result.noChannel = true;
        return result;
    }
    const QStringView channel = field(reply, 6, 3);
    bool allDigits = channel.size() == 3;
    for (QChar c : channel)
        allDigits = allDigits && c.isDigit();
    if (allDigits)
        result.channel = channel.toString();
    return result;
}

bool replySaysNotScanning(QStringView reply)
{
    return reply.contains(u"SC 0");
}

QString frequencyOfVfoDisplay(QStringView vfoDisplay)
{
    return field(vfoDisplay, 3, 10).toString();
}

} // namespace Kenwood
