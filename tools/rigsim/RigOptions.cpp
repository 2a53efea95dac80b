#include "RigOptions.h"

#include <QCommandLineParser>

namespace {

constexpr char Description[] =
    "Behaves like a Kenwood TM-D700, TM-D710 or TM-V71 on a pseudo-terminal.\n"
    "\n"
    "The first line on standard output is \"PTY <path>\": open that path (or the --link) at\n"
    "9600 8N1. Each command ends with a carriage return and gets one reply ended by a carriage\n"
    "return: \"?\" for an unknown or empty command, \"N\" for invalid parameters, otherwise the\n"
    "set's own reply. The radio keeps its band modes, memories, VFOs, power, scan, transmit and\n"
    "control band between commands.\n"
    "\n"
    "Commands: ID, AI, BC, PC, TX, RX, REP on all models;\n"
    "  TM-D700: VMC, MC, MR 0,0,ccc (memory record), RBN, VR, VSC, RC, SC (query and 0/1);\n"
    "  TM-D710/TM-V71: VM, MR, ME ccc (memory record), MN ccc (name: RELAISccc for a\n"
    "  channel with a shift, SIMPLEXccc without, none for channels divisible by 5), FO, SC (the "
    "query only, answered \"SC 0\";\n"
    "  \"SC 0\" and \"SC 1\" are answered \"?\").\n"
    "Channel queries and selections answer \"N\" unless the band is in memory mode.\n"
    "\n"
    "Channels 001 to --memories are programmed; band A starts in VFO mode, band B in memory mode\n"
    "on channel 003 when it is programmed.\n"
    "\n"
    "--garble spoils records: memory records of channels divisible by 3 and every VFO record "
    "carry\n"
    "the shift code \"x\"; other memory records of channels divisible by 5 are cut short.\n"
    "\n"
    "--control reads orders from standard input, one a line:\n"
    "  send TEXT      send TEXT and a carriage return at once, unasked;\n"
    "  late CMD MS    answer the next command CMD (its whole text) MS milliseconds late; the\n"
    "                 commands after it wait their turn behind it;\n"
    "  silent on|off  stop answering (the radio switched off) or answer again;\n"
    "  spoil CMD      the next reply to CMD comes with line noise after its first three\n"
    "                 characters (still ended by a carriage return); twice, the next two;\n"
    "  id TEXT        answer \"ID\" with \"ID TEXT\" from now on (another set plugged in);\n"
    "  lost on|off    carry out each command but lose its reply (a broken receive wire), or\n"
    "                 send the replies again.\n"
    "\n"
    "Each command received and each reply is logged with a time stamp (\"<\" received, \">\"\n"
    "sent, \"-\" not answered, \"=\" an order taken). SIGTERM or SIGINT ends the simulator and "
    "removes the --link.";

bool toCount(const QString &text, int low, int high, int *value)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < low || v > high)
        return false;
    *value = v;
    return true;
}

} // namespace

std::optional<RigOptions> RigOptions::parse(const QStringList &arguments, QString *message,
                                            int *exitCode)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(Description));
    const QCommandLineOption help({"h", "help"}, "Show this help.");
    const QCommandLineOption model("model", "TMD700, TMD710 (default) or TMV71.", "MODEL",
                                   "TMD710");
    const QCommandLineOption link("link", "Make a symbolic link PATH to the pty.", "PATH");
    const QCommandLineOption log("log", "Log to FILE instead of standard error.", "FILE");
    const QCommandLineOption id("id", "Answer \"ID\" with \"ID TEXT\" (a wrong model).", "TEXT");
    const QCommandLineOption memories("memories", "Programmed channels, from 001 (default 10).",
                                      "N", "10");
    const QCommandLineOption delay("delay", "Wait MS milliseconds before each reply.", "MS", "0");
    const QCommandLineOption pace("pace", "Take as long as a 9600-baud line (about 1.04 ms per "
                                          "character, each way).");
    const QCommandLineOption silent("silent", "Never answer (commands are still logged).");
    const QCommandLineOption garble("garble", "Spoil memory and VFO records (see above).");
    const QCommandLineOption control("control", "Take orders on standard input (see above).");
    parser.addOptions({help, model, link, log, id, memories, delay, pace, silent, garble, control});

    *exitCode = 2;
    if (!parser.parse(arguments)) {
        *message = parser.errorText();
        return std::nullopt;
    }
    if (parser.isSet(help)) {
        *message = parser.helpText();
        *exitCode = 0;
        return std::nullopt;
    }
    if (!parser.positionalArguments().isEmpty()) {
        *message = QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments()[0]);
        return std::nullopt;
    }

    RigOptions options;
    const QString modelName = parser.value(model).toUpper();
    if (modelName == "TMD700")
        options.kind = RigKind::TMD700;
    else if (modelName == "TMD710")
        options.kind = RigKind::TMD710;
    else if (modelName == "TMV71")
        options.kind = RigKind::TMV71;
    else {
        *message = QStringLiteral("unknown model %1 (TMD700, TMD710 or TMV71)").arg(modelName);
        return std::nullopt;
    }
    const int lastChannel = options.kind == RigKind::TMD700 ? 199 : 999;
    if (!toCount(parser.value(memories), 0, lastChannel, &options.channelCount)) {
        *message = QStringLiteral("--memories takes 0 to %1").arg(lastChannel);
        return std::nullopt;
    }
    if (!toCount(parser.value(delay), 0, 60'000, &options.delayMs)) {
        *message = QStringLiteral("--delay takes 0 to 60000 milliseconds");
        return std::nullopt;
    }
    options.linkPath = parser.value(link);
    options.logPath = parser.value(log);
    options.idText = parser.value(id).toLatin1();
    options.paced = parser.isSet(pace);
    options.silent = parser.isSet(silent);
    options.garble = parser.isSet(garble);
    options.control = parser.isSet(control);
    return options;
}
