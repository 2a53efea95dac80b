#include "platform/ProgramFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>

#include <sys/stat.h>
#include <unistd.h>

namespace ProgramFiles {

namespace {

void adoptEarlierFiles(const QDir &from, const QDir &to)
{
    const QStringList configurations{QString::fromLatin1(ConfigurationFile),
                                     QString::fromLatin1(EarlierConfigurationFile)};
    const QStringList logs{QString::fromLatin1(LogFile), QString::fromLatin1(EarlierLogFile)};
    const auto anyIn = [&to](const QStringList &names) {
        return std::any_of(names.begin(), names.end(),
                           [&to](const QString &name) { return to.exists(name); });
    };
    QStringList files;
    if (!anyIn(configurations))
        files << configurations;
    if (!anyIn(logs))
        files << logs;
    for (const QString &name : std::as_const(files)) {
        if (from.exists(name))
            QFile::rename(from.filePath(name), to.filePath(name));
    }
}

} // namespace

bool isWritable(const QString &directory)
{
    return ::access(QFile::encodeName(directory).constData(), W_OK) == 0;
}

bool isInstalled(const QString &programDirectory)
{
    static const QRegularExpression installLayout(QStringLiteral("/lib[^/]*(/[^/]+)?/ivrelane$"));
    const QString dir = QDir::cleanPath(programDirectory);
    return dir.startsWith(QLatin1String("/usr/")) || installLayout.match(dir).hasMatch();
}

Location locate(const QString &programDirectory)
{
    const bool installed = isInstalled(programDirectory);
    const bool writable = isWritable(programDirectory);
    if (!installed) {
        if (writable)
            return {programDirectory, true};
        const QDir dir(programDirectory);
        for (const char *name : {ConfigurationFile, EarlierConfigurationFile}) {
            if (QFileInfo::exists(dir.filePath(QString::fromLatin1(name))))
                return {programDirectory, false};
        }
    }
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(config);
    if (installed && writable)
        adoptEarlierFiles(QDir(programDirectory), QDir(config));
    return {config, isWritable(config)};
}

void provideRuntimeDirectory()
{
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return;
    // The folder Qt itself would fall back to, but made here, so that only one that is
    // private and ours is used; anything else is left for Qt to complain about.
    const QByteArray path =
        QFile::encodeName(QDir::tempPath()) + "/runtime-" + QByteArray::number(::getuid());
    ::mkdir(path.constData(), 0700);
    struct stat info
    {
    };
    if (::lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
        info.st_uid == ::getuid() && (info.st_mode & 0777) == 0700)
        qputenv("XDG_RUNTIME_DIR", path);
}

} // namespace ProgramFiles
