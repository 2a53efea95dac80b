#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// The fixed catalogue of DTMF actions and the text form of a code-table entry
// ("1230 : action 07= Mémoire Nnn sur TXA (Kenwood)").
namespace DtmfCatalogue {

constexpr int ActionCount = 30;

// Action numbers in catalogue order: item n of either catalogue describes ActionNumbers[n].
constexpr std::array<int, ActionCount> ActionNumbers = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,
                                                        10, 11, 20, 21, 22, 23, 24, 25, 26, 27,
                                                        30, 31, 32, 33, 34, 35, 36, 40, 41, 99};

// The texts are stored with the code entries, so they must keep their exact form, blanks and
// all: the French entries 06 and 20 hold two blanks, the English entry 99 ends with one.
extern const QStringList DtmfActionsFr;
extern const QStringList DtmfActionsEn;

// Line 0 of the code table. It begins with a blank so that it sorts before every code.
extern const QString DtmfListHeader;

// Separator between the code and the action text of an entry.
extern const QString EntrySeparator;

// The code of an entry: its text before the first blank. Empty when the entry has no blank or
// begins with one (the header, or a malformed line read from the configuration file); such
// entries never take part in matching or in the editor's checks.
QString codeOf(const QString &entry);

// The action number of an entry: the text from just after "action " to just before the
// entry's first "=". Nothing when either is missing, the "=" comes first, or the text is not
// an integer.
std::optional<int> actionNumberOf(const QString &entry);

// The action number of a catalogue text ("07= ..." gives 7): the text before its first "=".
std::optional<int> actionNumberOfText(const QString &actionText);

// code + " : action " + the catalogue text of the chosen action.
QString entryText(const QString &code, const QString &actionText);

} // namespace DtmfCatalogue
