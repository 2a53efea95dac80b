#pragma once

#include <QString>
#include <QStringList>

// The rules of the DTMF code editor as a pure function over the table's lines (line 0 is the
// header). The window only shows the message, sounds the beep or asks the question that the
// outcome names, and adopts the lines it returns.
namespace DtmfCodeTable {

// Warnings of the ending rule; they read the same in both languages.
extern const QString MustEndIn01Message;
extern const QString MustEndIn45Message;

enum class Outcome {
    Nothing,               // empty code, no or unknown action, or deleting a code not in the table
    MustEndIn01,           // warning MustEndIn01Message; table unchanged
    MustEndIn45,           // warning MustEndIn45Message; table unchanged
    BadCharacter,          // beep and focus the code edit, no message; table unchanged
    Deleted,               // "00= nil" on an existing code: `lines` no longer hold it
    ConfirmReplace,        // same code exists: on Yes adopt `lines`, on No keep the table
    ExistingStartsWithNew, // warning: an existing code begins with the new code
    NewStartsWithExisting, // warning: the new code begins with an existing code
    Added,                 // `lines` hold the new entry, sorted
};

struct EditResult
{
    Outcome outcome = Outcome::Nothing;
    // The table to show afterwards; for ConfirmReplace, the table the answer Yes gives.
    QStringList lines;
    // Deleted, ConfirmReplace and both conflicts: index of the existing entry in the given
    // lines. Added: index of the new entry in `lines`. Otherwise -1.
    int entryIndex = -1;
    QString code;  // the code as it would be stored (upper case) once the character check passed
    QString entry; // the entry that would be added (Added, ConfirmReplace)
};

// One press of the Add button: `typedCode` as typed, `actionText` as shown in the action box,
// `catalogue` the action texts that box offers (the catalogue of the current language).
EditResult addCode(const QStringList &lines, const QString &typedCode, const QString &actionText,
                   const QStringList &catalogue);

// The table sorted by entry text, the header kept at line 0. The collation ignores case first
// (codes are upper case but entries read from the file are not checked) and breaks ties by
// exact text, so the order never depends on the previous order.
QStringList sorted(const QStringList &lines);

// Whether every character of a code is one an operator can key: 0-9, A-D, a-d, # and *.
bool isValidCode(const QString &code);

} // namespace DtmfCodeTable
