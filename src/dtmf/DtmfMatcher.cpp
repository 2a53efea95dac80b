#include "dtmf/DtmfMatcher.h"

#include "dtmf/DtmfCatalogue.h"

namespace DtmfMatcher {

bool isDtmfCharacter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'D') || (u >= u'a' && u <= u'd') ||
           u == u'#' || u == u'*';
}

bool isDtmfText(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (!isDtmfCharacter(c))
            return false;
    }
    return true;
}

QString appendCapped(const QString &received, const QString &report)
{
    if (received.size() >= ReceivedCap)
        return received.left(ReceivedCap);
    return (received + report.left(ReceivedCap - received.size()));
}

std::optional<CodeMatch> findCode(const QStringList &table, const QString &received)
{
    for (int i = 1; i < table.size(); ++i) {
        const QString code = DtmfCatalogue::codeOf(table.at(i));
        if (!code.isEmpty() && received.startsWith(code, Qt::CaseSensitive))
            return CodeMatch{i, code, table.at(i)};
    }
    return std::nullopt;
}

int figuresNeeded(int action)
{
    switch (action) {
    case 7:
    case 8:
    case 10:
        return 2;
    case 11:
        return 3;
    default:
        return 0;
    }
}

Figures collectFigures(const QString &received, const QString &code, int action)
{
    const int needed = figuresNeeded(action);
    if (needed == 0 || code.isEmpty() || !received.startsWith(code, Qt::CaseSensitive))
        return {};
    const qsizetype figures = received.size() - code.size();
    if (figures < needed)
        return {FiguresStatus::Wait, QString()};
    if (figures > needed)
        return {};
    return {FiguresStatus::Ready, received.mid(code.size() - 1)};
}

QString frequencyKey(const QString &value)
{
    if (value.isEmpty())
        return value;
    return value.left(1) + QLatin1Char('.') + value.mid(1);
}

int findMemoryEntry(const QStringList &entries, const QString &number)
{
    bool ok = false;
    number.toInt(&ok);
    if (!ok)
        return -1;
    for (int i = 0; i < entries.size(); ++i) {
        if (entries.at(i).left(3) == number)
            return i;
    }
    return -1;
}

// Characters 5-14 are a frequency: three digits, "." or ",", six digits.
static bool carriesFrequency(const QString &entry)
{
    if (entry.size() < 14)
        return false;
    for (int i = 4; i < 14; ++i) {
        const QChar c = entry.at(i);
        if (i == 7) {
            if (c != u'.' && c != u',')
                return false;
        } else if (!c.isDigit() || c.unicode() > 0x7f) {
            return false;
        }
    }
    return true;
}

int findFrequencyEntry(const QStringList &entries, const QString &key)
{
    if (key.size() != 5)
        return -1;
    for (int i = 0; i < entries.size(); ++i) {
        const QString &entry = entries.at(i);
        if (!carriesFrequency(entry))
            continue;
        QString figures = entry.mid(6, 5);
        figures[1] = u'.';
        if (figures == key)
            return i;
    }
    return -1;
}

} // namespace DtmfMatcher
