#include "service/CommandLine.h"

#include "web/WebSettings.h"

#include <QDir>
#include <QFile>

#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

const QString FolderOption = QStringLiteral("--folder");

bool setAction(CommandLine &line, CommandLine::Action action, const QString &option)
{
    if (line.action != CommandLine::Action::Run && line.action != action) {
        line.error = QStringLiteral("%1 cannot be combined with the other command").arg(option);
        return false;
    }
    line.action = action;
    return true;
}

} // namespace

CommandLine CommandLine::parse(const QStringList &arguments)
{
    CommandLine line;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        QString folder;
        if (argument == FolderOption) {
            if (i + 1 >= arguments.size()) {
                line.error = QStringLiteral("--folder needs a folder");
                return line;
            }
            folder = arguments.at(++i);
        } else if (argument.startsWith(FolderOption + QLatin1Char('='))) {
            folder = argument.mid(FolderOption.size() + 1);
        } else if (argument == QLatin1String("--reset")) {
            if (!setAction(line, Action::Reset, argument))
                return line;
            continue;
        } else if (argument == QLatin1String("--status")) {
            if (!setAction(line, Action::Status, argument))
                return line;
            continue;
        } else if (argument == QLatin1String("--check")) {
            if (!setAction(line, Action::Check, argument))
                return line;
            continue;
        } else if (argument == QLatin1String("--web-password")) {
            if (!setAction(line, Action::WebPassword, argument))
                return line;
            continue;
        } else if (argument == QLatin1String("--web") ||
                   argument.startsWith(QLatin1String("--web="))) {
            const QString web = argument == QLatin1String("--web")
                                    ? (i + 1 < arguments.size() ? arguments.at(++i) : QString())
                                    : argument.mid(6);
            if (!WebConfigKeys::parseEndpoint(web)) {
                line.error = QStringLiteral("--web needs ADDRESS:PORT (127.0.0.1:8080)");
                return line;
            }
            line.web = web;
            continue;
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            line.action = Action::Help;
            continue;
        } else {
            line.error = QStringLiteral("unknown option %1 (--help lists them)").arg(argument);
            return line;
        }
        if (folder.isEmpty()) {
            line.error = QStringLiteral("--folder needs a folder");
            return line;
        }
        line.folder = QDir::cleanPath(QDir(folder).absolutePath());
    }
    return line;
}

bool CommandLine::asksForCommand(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        for (const char *command :
             {"--reset", "--status", "--check", "--web-password", "--help", "-h"}) {
            if (std::strcmp(argv[i], command) == 0)
                return true;
        }
    }
    return false;
}

QString CommandLine::usage()
{
    return QStringLiteral(
        "Usage: ivrelane [--folder DIR] [--web ADDRESS:PORT]\n"
        "                [--reset | --status | --check | --web-password]\n"
        "  (no command)   run the station (with its window when there is a display)\n"
        "  --folder DIR   keep the configuration, log, lock and status in DIR\n"
        "                 (created if missing)\n"
        "  --reset        put the configured radio to receive, lines idle, and exit\n"
        "                 (0 done, 1 not: the reason on standard error)\n"
        "  --status       print the running copy's state and exit\n"
        "                 (0 running and up to date, 1 not)\n"
        "  --check        read the configuration: each key taken or ignored and why,\n"
        "                 the devices present, whether the radio answers (asked\n"
        "                 without keying or changing anything); 0 when the station\n"
        "                 would start and reach its radio, 1 not\n"
        "  --web ADDRESS:PORT  serve the station's web page there (WEB= in the\n"
        "                 configuration does the same; off by default)\n"
        "  --web-password read a password for the web page's controls (from the\n"
        "                 terminal, or standard input) and keep its hash in the\n"
        "                 configuration (WEBPASSWORD=); the station must be stopped\n");
}

bool makeFolder(const QString &folder, QString *reason)
{
    std::error_code error;
    const std::filesystem::path path(QFile::encodeName(folder).toStdString());
    std::filesystem::create_directories(path, error);
    if (!error && !std::filesystem::is_directory(path, error) && !error)
        error = std::make_error_code(std::errc::not_a_directory);
    if (error && reason)
        *reason = QString::fromLocal8Bit(error.message().c_str());
    return !error;
}
