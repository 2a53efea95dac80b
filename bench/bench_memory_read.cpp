// Reads 199 memories from rigsim paced like a 9600-baud line, in one run: with a raw client (a
// few lines that write the pty and read it to the carriage return) and with the program's own
// serial exchange showing its traffic in the main window's traffic line. Prints each one's time
// beyond the wire time per exchange, and the difference; then what one append to the traffic
// line costs after 64 KiB of traffic against an empty line, and the time to give up on a silent
// radio. Usage: bench_memory_read [passes [append-only]]
#include "core/StationState.h"
#include "core/TrafficLine.h"
#include "kenwood/KenwoodCommands.h"
#include "kenwood/KenwoodReplies.h"
#include "kenwood/RigLink.h"
#include "platform/LinkSettings.h"
#include "support/RigSimProcess.h"
#include "ui/TrafficDisplay.h"
#include "ui/UnitTMD700.h"

#include <QApplication>
#include <QCoroTask>
#include <QElapsedTimer>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Channels = 199;
constexpr double BitsPerByte = 10.0; // start, 8 data, stop
constexpr double Baud = 9600.0;
const auto Model = Kenwood::Model::TMD710;

struct Pass
{
    int answered = 0;
    qint64 bytes = 0;
    double seconds = 0;

    double overheadMs() const
    {
        return (seconds - double(bytes) * BitsPerByte / Baud) * 1000.0 / Channels;
    }
};

// The least a client can do: write the command, read to the carriage return.
Pass rawClient(const QString &pty)
{
    Pass pass;
    const int fd = ::open(pty.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    if (fd < 0)
        return pass;
    termios raw = {};
    ::tcgetattr(fd, &raw);
    ::cfmakeraw(&raw);
    ::cfsetspeed(&raw, B9600);
    ::tcsetattr(fd, TCSANOW, &raw);
    QElapsedTimer clock;
    clock.start();
    for (int channel = 1; channel <= Channels; ++channel) {
        const QByteArray command = Kenwood::memoryReadCommand(channel, Model).toLatin1() + '\r';
        if (::write(fd, command.constData(), size_t(command.size())) != command.size())
            break;
        QByteArray reply;
        char byte = 0;
        while (!reply.endsWith('\r') && ::read(fd, &byte, 1) == 1)
            reply += byte;
        ++pass.answered;
        pass.bytes += command.size() + reply.size();
    }
    pass.seconds = double(clock.nsecsElapsed()) / 1e9;
    ::close(fd);
    return pass;
}

// The program's exchange, its replies appended to the window's traffic line as in a memory read.
Pass ivrelane(const QString &pty, TForm1 &window)
{
    Pass pass;
    StationState state;
    SerialPortSettings settings;
    TrafficLine traffic;
    QObject::connect(&traffic, &TrafficLine::appended, [&window](const QString &text) {
        TrafficDisplay::append(window.ui.EditTXdata, text);
    });
    RigLink link(state, settings, &traffic);
    if (!link.open(pty))
        return pass;
    TrafficDisplay::clear(window.ui.EditTXdata);
    QElapsedTimer clock;
    clock.start();
    // One coroutine awaits every exchange, as the initialisation does.
    auto readAll = [&]() -> QCoro::Task<> {
        for (int channel = 1; channel <= Channels; ++channel) {
            const QString command = Kenwood::memoryReadCommand(channel, Model);
            const QString reply = co_await link.exchange(command);
            if (Kenwood::isTimeout(reply))
                continue;
            ++pass.answered;
            pass.bytes += command.size() + 1 + reply.size();
        }
    };
    QCoro::waitFor(readAll());
    pass.seconds = double(clock.nsecsElapsed()) / 1e9;
    link.close();
    return pass;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// The reply to "ME nnn": each record differs, as the line edit skips a text that did not change.
QString memoryRecord(int channel)
{
    return QStringLiteral("ME %1,0145430000,0,1,0,0,1,0,23,23,000,00600000,0,0000000000,0,0\r")
        .arg(channel % 1000, 3, 10, QLatin1Char('0'));
}

// Median microseconds of one append of a memory record, the line repainted as on screen; the
// line is emptied before each append when `empty`, else given 64 KiB of records first.
double appendMicroseconds(QLineEdit *display, bool empty)
{
    TrafficDisplay::clear(display);
    int channel = 0;
    if (!empty) {
        for (qsizetype shown = 0; shown < 64 * 1024; ++channel)
            shown += memoryRecord(channel).size();
        for (int i = 0; i < channel; ++i)
            TrafficDisplay::append(display, memoryRecord(i));
    }
    std::vector<double> times;
    for (int i = 0; i < 300; ++i, ++channel) {
        if (empty)
            TrafficDisplay::clear(display);
        display->repaint();
        const QString record = memoryRecord(channel);
        QElapsedTimer clock;
        clock.start();
        TrafficDisplay::append(display, record);
        display->repaint();
        times.push_back(double(clock.nsecsElapsed()) / 1e3);
    }
    return median(times);
}

void printAppendCosts(QLineEdit *display)
{
    const double onEmpty = appendMicroseconds(display, true);
    const double onFull = appendMicroseconds(display, false);
    std::printf("append + repaint, empty line:           %.1f us\n", onEmpty);
    std::printf("append + repaint, after 64 KiB shown:   %.1f us (line holds %lld characters)\n",
                onFull, static_cast<long long>(display->text().size()));
}

} // namespace

int main(int argc, char *argv[])
{
    // A bench run over ssh has no display; the offscreen platform lays out and paints the same.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int passes = argc > 1 ? qMax(1, atoi(argv[1])) : 3;
    const bool appendOnly = argc > 2; // any second argument: the append figures only

    TForm1 window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "the window was never shown\n");
        return 1;
    }
    if (appendOnly)
        return printAppendCosts(window.ui.EditTXdata), 0;
    RigSimProcess rig;
    const QString pty = rig.start(
        {QStringLiteral("--pace"), QStringLiteral("--memories"), QString::number(Channels)});
    if (pty.isEmpty()) {
        std::fprintf(stderr, "rigsim did not start\n");
        return 1;
    }

    std::printf("%d memories on rigsim --pace, time beyond the wire per exchange (ms):\n",
                Channels);
    std::printf("pass  raw client  Ivrelane  (replies raw/Ivrelane)\n");
    std::vector<double> raw;
    std::vector<double> ours;
    for (int i = 1; i <= passes; ++i) {
        const Pass r = rawClient(pty);
        const Pass o = ivrelane(pty, window);
        raw.push_back(r.overheadMs());
        ours.push_back(o.overheadMs());
        std::printf("%4d  %10.3f  %8.3f  (%d/%d)\n", i, r.overheadMs(), o.overheadMs(), r.answered,
                    o.answered);
    }
    const double rawMedian = median(raw);
    const double oursMedian = median(ours);
    std::printf("median raw client:        %.3f ms per exchange\n", rawMedian);
    std::printf("median Ivrelane:          %.3f ms per exchange\n", oursMedian);
    std::printf("difference:               %.3f ms per exchange\n", oursMedian - rawMedian);
    rig.stop();

    printAppendCosts(window.ui.EditTXdata);

    RigSimProcess silent;
    StationState state;
    SerialPortSettings settings;
    RigLink link(state, settings, nullptr);
    if (silent.start({QStringLiteral("--silent")}).isEmpty() || !link.open(silent.ptyPath())) {
        std::fprintf(stderr, "rigsim did not start\n");
        return 1;
    }
    QElapsedTimer clock;
    clock.start();
    const QString reply = QCoro::waitFor(link.exchange(QStringLiteral("ID")));
    std::printf("silent radio:             \"%s\" after %.3f s\n", qPrintable(reply),
                double(clock.nsecsElapsed()) / 1e9);
    return 0;
}
