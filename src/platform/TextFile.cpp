#include "platform/TextFile.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace TextFile {

QStringList decodeLines(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        QStringDecoder cp1252("windows-1252");
        text = cp1252.isValid() ? cp1252.decode(bytes) : QString::fromLatin1(bytes);
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QByteArray encodeLines(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    QStringEncoder cp1252("windows-1252");
    if (!cp1252.isValid())
        return text.toLatin1();
    QByteArray bytes = cp1252.encode(text);
    return bytes;
}

bool readLines(const QString &path, QStringList *lines)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *lines = decodeLines(file.readAll());
    return true;
}

static bool writeAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += n;
    }
    return true;
}

bool writeLinesAtomically(const QString &path, const QString &temporaryPath,
                          const QStringList &lines, int permissions, bool durable)
{
    const QByteArray tmp = QFile::encodeName(temporaryPath);
    const int fd = ::open(tmp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool written = writeAll(fd, encodeLines(lines)) && (!durable || ::fsync(fd) == 0);
    if (::close(fd) != 0 || !written) {
        ::unlink(tmp.constData());
        return false;
    }
    if (::chmod(tmp.constData(), mode_t(permissions)) != 0 ||
        ::rename(tmp.constData(), QFile::encodeName(path).constData()) != 0) {
        ::unlink(tmp.constData());
        return false;
    }
    if (!durable)
        return true;
    // Make the rename itself durable.
    QByteArray dir = QFile::encodeName(path);
    const qsizetype slash = dir.lastIndexOf('/');
    dir = slash >= 0 ? dir.left(qMax<qsizetype>(slash, 1)) : QByteArray(".");
    const int dirFd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

bool appendLine(const QString &path, const QString &line)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat before = {};
    bool written = ::fstat(fd, &before) == 0 && S_ISREG(before.st_mode);
    if (written && !writeAll(fd, encodeLines({line}))) {
        written = false;
        // Nothing else writes this file while the station runs: its end is the line's start.
        [[maybe_unused]] const int kept = ::ftruncate(fd, before.st_size);
    }
    return ::close(fd) == 0 && written;
}

bool writeLines(const QString &path, const QStringList &lines)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray bytes = encodeLines(lines);
    return file.write(bytes) == bytes.size() && file.flush();
}

} // namespace TextFile
