#include "service/WebPasswordCommand.h"

#include "core/ConfigValues.h"
#include "core/StationState.h"
#include "platform/InstanceLock.h"
#include "platform/TextFile.h"
#include "web/WebPassword.h"

#include <QDir>
#include <QFile>

#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>

namespace {

int fail(const QString &why)
{
    std::fprintf(stderr, "Ivrelane: %s\n", qPrintable(why));
    return 1;
}

// One line from standard input; on a terminal, asked for without echo.
bool readLine(const char *prompt, QString *line)
{
    const bool terminal = ::isatty(STDIN_FILENO) == 1;
    termios saved{};
    if (terminal) {
        std::fprintf(stderr, "%s", prompt);
        std::fflush(stderr);
        ::tcgetattr(STDIN_FILENO, &saved);
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    std::string text;
    const bool read = bool(std::getline(std::cin, text));
    if (terminal) {
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::fprintf(stderr, "\n");
    }
    if (!text.empty() && text.back() == '\r')
        text.pop_back();
    *line = QString::fromStdString(text);
    return read;
}

} // namespace

namespace WebPasswordCommand {

int run(const QString &folder)
{
    InstanceLock lock(folder);
    if (!lock.acquire())
        return fail(lock.refusal() + QStringLiteral(": stop it first (it writes its configuration "
                                                    "when it quits), then set the password"));
    QString password;
    if (!readLine("Password for the web page: ", &password) || password.isEmpty())
        return fail(QStringLiteral("no password given: nothing changed"));
    if (::isatty(STDIN_FILENO) == 1) {
        QString again;
        if (!readLine("The same again: ", &again) || again != password)
            return fail(QStringLiteral("the two passwords differ: nothing changed"));
    }

    const StationState names;
    const QDir dir(folder);
    const QString path = dir.filePath(names.IniFileName);
    QStringList lines;
    if (QFile::exists(path)) {
        if (!TextFile::readLines(path, &lines))
            return fail(QStringLiteral("cannot read %1").arg(path));
    } else if (!TextFile::readLines(dir.filePath(names.IniFileNameTMD700), &lines)) {
        lines = QStringList{QString::fromLatin1(ConfigValues::Header)};
    }
    lines.removeIf([](const QString &line) {
        const auto kv = ConfigValues::splitLine(line);
        return kv && kv->key == QLatin1String("WEBPASSWORD=");
    });
    lines << QStringLiteral("WEBPASSWORD=") + WebPassword::hash(password);
    // Written as the station's own save writes it: through the temporary file, read-only.
    const QString temporary = dir.filePath(names.IniBackupFileName);
    if (QFile::exists(temporary)) {
        QFile::setPermissions(temporary, QFile::ReadOwner | QFile::WriteOwner);
        QFile::remove(temporary);
    }
    if (!TextFile::writeLinesAtomically(path, temporary, lines, 0444)) {
        QFile::remove(temporary);
        return fail(QStringLiteral("cannot write %1").arg(path));
    }
    std::printf("Password set in %s; the web page's controls take it at the station's next start\n",
                qPrintable(QDir::toNativeSeparators(path)));
    return 0;
}

} // namespace WebPasswordCommand
