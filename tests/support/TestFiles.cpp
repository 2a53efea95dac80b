#include "support/TestFiles.h"

#include "platform/TextFile.h"

#include <QFile>

namespace TestFiles {

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeLines(const QString &path, const QStringList &lines)
{
    writeBytes(path, TextFile::encodeLines(lines));
}

QStringList readLines(const QString &path)
{
    return TextFile::decodeLines(readBytes(path));
}

} // namespace TestFiles
