#include "platform/VersionCheckFile.h"

#include <QFile>

namespace VersionCheckFile {

namespace {

// Adds `weight` times the first character of `part` when it is a digit; false when it is not.
bool addDigit(const QString &part, int weight, int *sum)
{
    const QChar c = part.at(0);
    if (c < QLatin1Char('0') || c > QLatin1Char('9'))
        return false;
    *sum += weight * (c.unicode() - '0');
    return true;
}

QString afterFirstDot(const QString &text)
{
    return text.mid(text.indexOf(QLatin1Char('.')) + 1);
}

} // namespace

int versionValue(const QString &text)
{
    int sum = 0;
    if (text.isEmpty())
        return sum;
    if (!text.startsWith(QLatin1Char('.')) && !addDigit(text, 100, &sum))
        return sum;
    if (!text.contains(QLatin1Char('.')))
        return sum;
    const QString minor = afterFirstDot(text);
    if (minor.isEmpty())
        return sum;
    if (!minor.startsWith(QLatin1Char('.')) && !addDigit(minor, 10, &sum))
        return sum;
    if (!minor.contains(QLatin1Char('.')))
        return sum;
    const QString patch = afterFirstDot(minor);
    if (!patch.isEmpty() && !patch.startsWith(QLatin1Char('.')))
        addDigit(patch, 1, &sum);
    return sum;
}

QString latestVersion(const QString &path, const QString &key)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        QFile::remove(path);
        return QString();
    }
    // An error page instead of the file: nothing in it is a version.
    if (file.peek(3).contains('<')) {
        file.close();
        QFile::remove(path);
        return QString();
    }
    const QByteArray content = file.readAll();
    file.close();
    if (content.isEmpty())
        return QString();

    const QList<QByteArray> lines = content.split('\n');
    for (QByteArray line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        const qsizetype equals = line.indexOf('=');
        if (equals >= 1 && QString::fromLatin1(line.left(equals)) == key) {
            QFile::remove(path);
            return QString::fromLatin1(line.mid(equals + 1));
        }
    }
    QFile::remove(path);
    return QString();
}

} // namespace VersionCheckFile
