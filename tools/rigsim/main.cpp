#include "RigOptions.h"
#include "RigSession.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(signalPipe[1], &byte, 1);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("rigsim"));

    QString message;
    int exitCode = 0;
    const std::optional<RigOptions> options =
        RigOptions::parse(QCoreApplication::arguments(), &message, &exitCode);
    if (!options) {
        std::fprintf(exitCode == 0 ? stdout : stderr, "%s\n", qPrintable(message));
        return exitCode;
    }

    // SIGTERM and SIGINT end the event loop, so the link is removed and the pty closed.
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) {
        std::perror("rigsim: socketpair");
        return 1;
    }
    QSocketNotifier signalNotifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    RigSession session(*options);
    if (!session.start(&message)) {
        std::fprintf(stderr, "rigsim: %s\n", qPrintable(message));
        return 1;
    }
    std::printf("PTY %s\n", qPrintable(session.ptyPath()));
    std::fflush(stdout);

    // Orders on standard input, a line each, while it stays open.
    QSocketNotifier controlNotifier(STDIN_FILENO, QSocketNotifier::Read);
    controlNotifier.setEnabled(options->control);
    QByteArray controlInput;
    QObject::connect(&controlNotifier, &QSocketNotifier::activated, &app, [&] {
        char buffer[512];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            controlNotifier.setEnabled(false);
            return;
        }
        controlInput.append(buffer, n);
        qsizetype end;
        while ((end = controlInput.indexOf('\n')) >= 0) {
            const QByteArray order = controlInput.left(end).trimmed();
            controlInput.remove(0, end + 1);
            if (!order.isEmpty() && !session.obey(order))
                std::fprintf(stderr, "rigsim: order not understood: %s\n", order.constData());
        }
    });
    return app.exec();
}
