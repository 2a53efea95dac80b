#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Text work of the DTMF interpreter: recognising a code at the start of the collected
// characters, reading the figures that follow it, and finding the memory or channel they name.
namespace DtmfMatcher {

// Upper bound of the collected text. A code is only ever recognised at its start, so the
// characters past any code and its three figures can never change the outcome; the cap only
// stops a stream of reports without a pause from growing the text without end.
constexpr int ReceivedCap = 256;

// One of the sixteen DTMF keys: 0-9, A-D (either case), # or *.
bool isDtmfCharacter(QChar c);
// True when the text is not empty and made only of DTMF characters.
bool isDtmfText(const QString &text);

// The collected text with a new report appended, cut to ReceivedCap characters.
QString appendCapped(const QString &received, const QString &report);

struct CodeMatch
{
    int line = -1; // line of the table holding the code
    QString code;  // text of the entry before its first blank
    QString entry; // the whole entry
};

// The first entry, from line 1 in table order, whose code begins `received`. The comparison is
// exact: a received "a" never matches a stored "A".
std::optional<CodeMatch> findCode(const QStringList &table, const QString &received);

// Figures an action reads after its code: 2 for the memory actions 7, 8 and 10, 3 for the
// frequency action 11, 0 for every other action.
int figuresNeeded(int action);

enum class FiguresStatus {
    Abandon, // the text no longer begins with the code, too many figures, or no figures wanted
    Wait,    // not enough figures yet
    Ready,   // `value` holds the last character of the code followed by the figures
};

struct Figures
{
    FiguresStatus status = FiguresStatus::Abandon;
    QString value; // "015" for a memory, "5225" for a frequency
};

// Reads the figures of a waiting `action` whose code is `code` from the collected text.
Figures collectFigures(const QString &received, const QString &code, int action);

// "5225" gives "5.225": units of the MHz, the point, three decimals.
QString frequencyKey(const QString &value);

// Index of the first list entry whose characters 1-3 equal `number`, or -1. A number that is
// not an integer finds nothing.
int findMemoryEntry(const QStringList &entries, const QString &number);

// Index of the first list entry that carries a frequency and whose characters 7-11 read `key`,
// or -1. A frequency written with a comma matches the same key as with a point; an entry
// without a frequency is never matched by the text of its comment.
int findFrequencyEntry(const QStringList &entries, const QString &key);

} // namespace DtmfMatcher
