#include "dtmf/DtmfCodeTable.h"

#include "dtmf/DtmfCatalogue.h"
#include "dtmf/DtmfMatcher.h"

#include <algorithm>

namespace DtmfCodeTable {

const QString MustEndIn01Message = QStringLiteral("Le code doit se terminer par 0 ou 1 !");
const QString MustEndIn45Message = QStringLiteral("Le code doit se terminer par 4 ou 5 !");

namespace {

EditResult unchanged(const QStringList &lines, Outcome outcome, int index = -1)
{
    EditResult result;
    result.outcome = outcome;
    result.lines = lines;
    result.entryIndex = index;
    return result;
}

} // namespace

bool isValidCode(const QString &code)
{
    return !code.isEmpty() && DtmfMatcher::isDtmfText(code);
}

QStringList sorted(const QStringList &lines)
{
    if (lines.size() <= 2)
        return lines;
    QStringList result = lines;
    std::stable_sort(result.begin() + 1, result.end(), [](const QString &a, const QString &b) {
        const int folded = QString::compare(a, b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : QString::compare(a, b, Qt::CaseSensitive) < 0;
    });
    return result;
}

EditResult addCode(const QStringList &lines, const QString &typedCode, const QString &actionText,
                   const QStringList &catalogue)
{
    // A table always has its header; an empty one gets it so that line 0 is never an entry.
    const QStringList table = lines.isEmpty() ? QStringList{DtmfCatalogue::DtmfListHeader} : lines;

    if (typedCode.isEmpty() || actionText.isEmpty() || !catalogue.contains(actionText))
        return unchanged(table, Outcome::Nothing);
    const std::optional<int> action = DtmfCatalogue::actionNumberOfText(actionText);
    if (!action)
        return unchanged(table, Outcome::Nothing);

    // The last character of these codes is the first figure the interpreter reads after them.
    const QChar last = typedCode.back();
    if ((*action == 7 || *action == 8 || *action == 10) && last != u'0' && last != u'1')
        return unchanged(table, Outcome::MustEndIn01);
    if (*action == 11 && last != u'4' && last != u'5')
        return unchanged(table, Outcome::MustEndIn45);

    const QString code = typedCode.toUpper();
    if (!isValidCode(code))
        return unchanged(table, Outcome::BadCharacter);

    const QString entry = DtmfCatalogue::entryText(code, actionText);
    const bool deleting = *action == 0;
    for (int i = 1; i < table.size(); ++i) {
        const QString existing = DtmfCatalogue::codeOf(table.at(i));
        if (existing.isEmpty())
            continue;
        if (existing == code) {
            QStringList changed = table;
            changed.removeAt(i);
            EditResult result;
            result.entryIndex = i;
            result.code = code;
            if (deleting) {
                result.outcome = Outcome::Deleted;
                result.lines = changed;
            } else {
                changed.append(entry);
                result.outcome = Outcome::ConfirmReplace;
                result.lines = sorted(changed);
                result.entry = entry;
            }
            return result;
        }
        if (existing.size() > code.size() && existing.startsWith(code)) {
            EditResult result = unchanged(table, Outcome::ExistingStartsWithNew, i);
            result.code = code;
            return result;
        }
        if (existing.size() < code.size() && code.startsWith(existing)) {
            EditResult result = unchanged(table, Outcome::NewStartsWithExisting, i);
            result.code = code;
            return result;
        }
    }

    if (deleting) {
        EditResult result = unchanged(table, Outcome::Nothing);
        result.code = code;
        return result;
    }
    QStringList changed = table;
    changed.append(entry);
    EditResult result;
    result.outcome = Outcome::Added;
    result.lines = sorted(changed);
    result.entryIndex = int(result.lines.indexOf(entry));
    result.code = code;
    result.entry = entry;
    return result;
}

} // namespace DtmfCodeTable
