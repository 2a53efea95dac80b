#include "kenwood/KenwoodCommands.h"
#include "kenwood/KenwoodReplies.h"
#include "radio/MemoryEntry.h"

#include <QTest>

using Kenwood::Model;

Q_DECLARE_METATYPE(Kenwood::Model)

namespace {

// Replies as the sets send them (TM-D710 captures and the documented TM-D700 layouts).
const QString Tmd700Record001 =
    QStringLiteral("MR 0,0,001,00145225000,0,2,0,0,0,0,09,0010,09,000600000,0,0");
const QString Tmd710Record005 =
    QStringLiteral("ME 005,0145430000,0,1,0,0,1,0,23,23,000,00600000,0,0000000000,0,0");
const QString Tmd710Record012 =
    QStringLiteral("ME 012,0430025000,0,2,0,0,0,0,08,08,000,09400000,0,0000000000,0,0");
const QString RealFoReply = QStringLiteral("FO 0,0441500000,0,0,0,0,0,0,13,41,051,05000000,1");

} // namespace

class TestKenwoodReplies : public QObject
{
    Q_OBJECT

private slots:
    void frequencyConversion_data();
    void frequencyConversion();
    void shiftAndOffset_data();
    void shiftAndOffset();
    void memoryEntry_data();
    void memoryEntry();
    void memoryListFromReplies_data();
    void memoryListFromReplies();
    void entryFieldsSitWhereCallersReadThem();
    void vfoDisplay_data();
    void vfoDisplay();
    void modelCheck_data();
    void modelCheck();
    void shortReplies_data();
    void shortReplies();
    void repliesBelongToTheirCommand();
    void channelQuery_data();
    void channelQuery();
    void commandTexts_data();
    void commandTexts();
};

void TestKenwoodReplies::frequencyConversion_data()
{
    QTest::addColumn<QString>("digits");
    QTest::addColumn<Model>("model");
    QTest::addColumn<QString>("expected");
    QTest::newRow("TM-D700 2 m") << "00145225000" << Model::TMD700 << "145.225000";
    QTest::newRow("TM-D700 70 cm") << "00430025000" << Model::TMD700 << "430.025000";
    QTest::newRow("TM-D710 2 m") << "0145225000" << Model::TMD710 << "145.225000";
    QTest::newRow("TM-V71 70 cm") << "0441500000" << Model::TMV71 << "441.500000";
    QTest::newRow("12.5 kHz step") << "0145787500" << Model::TMD710 << "145.787500";
    QTest::newRow("cut short") << "0014522" << Model::TMD700 << "145.22";
    QTest::newRow("empty") << "" << Model::TMD710 << ".";
}

void TestKenwoodReplies::frequencyConversion()
{
    QFETCH(QString, digits);
    QFETCH(Model, model);
    QFETCH(QString, expected);
    QCOMPARE(Kenwood::frequencyFromHertz(digits, model), expected);
}

void TestKenwoodReplies::shiftAndOffset_data()
{
    QTest::addColumn<QChar>("code");
    QTest::addColumn<QString>("offset");
    QTest::addColumn<QString>("expected");
    QTest::newRow("simplex ignores offset") << QChar('0') << "0600"
                                            << "shift=0";
    QTest::newRow("plus") << QChar('1') << "0600"
                          << "shift=+0.600";
    QTest::newRow("minus 9.4 MHz") << QChar('2') << "9400"
                                   << "shift=-9.400";
    QTest::newRow("code 3 is fixed") << QChar('3') << "0600"
                                     << "shift=-7.100";
    QTest::newRow("garbled code shown") << QChar('x') << "0600"
                                        << "shift=x";
    QTest::newRow("uninterpreted digit") << QChar('7') << "0600"
                                         << "shift=7";
    QTest::newRow("no code at all") << QChar() << ""
                                    << "shift=";
    QTest::newRow("offset cut short") << QChar('2') << "06"
                                      << "shift=-0.6";
}

void TestKenwoodReplies::shiftAndOffset()
{
    QFETCH(QChar, code);
    QFETCH(QString, offset);
    QFETCH(QString, expected);
    QCOMPARE(Kenwood::shiftText(code, offset), expected);
}

void TestKenwoodReplies::memoryEntry_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<Model>("model");
    QTest::addColumn<QString>("expected"); // empty: no entry
    QTest::newRow("TM-D700 minus shift")
        << Tmd700Record001 << Model::TMD700 << "001=145.225000 shift=-0.600";
    QTest::newRow("TM-D710 plus shift")
        << Tmd710Record005 << Model::TMD710 << "005=145.430000 shift=+0.600";
    QTest::newRow("TM-V71 9.4 MHz shift")
        << Tmd710Record012 << Model::TMV71 << "012=430.025000 shift=-9.400";
    QTest::newRow("TM-D700 code 3") << "MR 0,0,042,00145600000,0,3,0,0,0,0,09,0010,09,000600000,0,0"
                                    << Model::TMD700 << "042=145.600000 shift=-7.100";
    QTest::newRow("ends at its carriage return") << Tmd710Record005 + "\rME 006,0145500000,0,0"
                                                 << Model::TMD710 << "005=145.430000 shift=+0.600";
    QTest::newRow("garbled shift code kept")
        << "ME 007,0145500000,0,#,0,0,0,0,08,08,000,00600000,0,0000000000,0,0" << Model::TMD710
        << "007=145.500000 shift=#";
    QTest::newRow("offset missing after shift code")
        << "ME 008,0145500000,0,2" << Model::TMD710 << "008=145.500000 shift=-.";
    QTest::newRow("cut before shift code") << "ME 009,0145500000,0," << Model::TMD710 << "";
    QTest::newRow("empty channel") << "N" << Model::TMD710 << "";
    QTest::newRow("TM-D710 record on a TM-D700") << Tmd710Record005 << Model::TMD700 << "";
    QTest::newRow("TM-D700 record on a TM-D710") << Tmd700Record001 << Model::TMD710 << "";
    QTest::newRow("time-out") << "timerout" << Model::TMD700 << "";
}

void TestKenwoodReplies::memoryEntry()
{
    QFETCH(QString, record);
    QFETCH(Model, model);
    QFETCH(QString, expected);
    const std::optional<QString> entry = Kenwood::memoryListEntry(record, model);
    QCOMPARE(entry.has_value(), !expected.isEmpty());
    if (entry)
        QCOMPARE(*entry, expected);
}

void TestKenwoodReplies::memoryListFromReplies_data()
{
    QTest::addColumn<QString>("replies");
    QTest::addColumn<Model>("model");
    QTest::addColumn<QStringList>("expected");
    const QString cr = QStringLiteral("\r");
    QTest::newRow("empty channel between two")
        << Tmd710Record005 + cr + "N" + cr + Tmd710Record012 + cr << Model::TMD710
        << QStringList{"005=145.430000 shift=+0.600", "012=430.025000 shift=-9.400"};
    QTest::newRow("first reply not a record") << "?\r" + Tmd700Record001 + cr << Model::TMD700
                                              << QStringList{"001=145.225000 shift=-0.600"};
    QTest::newRow("garbled shift does not stop the list")
        << "ME 003,0145500000,0,x,0,0,0,0,08,08,000,00600000,0,0000000000,0,0\r" + Tmd710Record005 +
               cr
        << Model::TMD710 << QStringList{"003=145.500000 shift=x", "005=145.430000 shift=+0.600"};
    // A short record must not take its shift code and offset from the record after it.
    QTest::newRow("short record stays short")
        << "ME 004,0145500000\r" + Tmd710Record005 + cr << Model::TMD710
        << QStringList{"005=145.430000 shift=+0.600"};
    QTest::newRow("channel replies are not memory records")
        << "MR 0,005\r" + Tmd710Record005 + cr << Model::TMD710
        << QStringList{"005=145.430000 shift=+0.600"};
    QTest::newRow("last record without carriage return")
        << Tmd700Record001 << Model::TMD700 << QStringList{"001=145.225000 shift=-0.600"};
    QTest::newRow("nothing") << "" << Model::TMD700 << QStringList();
    QTest::newRow("only time-outs") << "timerout" << Model::TMD710 << QStringList();
}

void TestKenwoodReplies::memoryListFromReplies()
{
    QFETCH(QString, replies);
    QFETCH(Model, model);
    QFETCH(QStringList, expected);
    QCOMPARE(Kenwood::memoryListFromReplies(replies, model), expected);
}

void TestKenwoodReplies::entryFieldsSitWhereCallersReadThem()
{
    const QString entry = *Kenwood::memoryListEntry(Tmd710Record012, Model::TMD710);
    QCOMPARE(MemoryEntry::channel(entry), QStringLiteral("012"));
    QCOMPARE(MemoryEntry::frequency(entry), QStringLiteral("430.025000"));
    // The DTMF frequency action compares characters 7-11.
    QCOMPARE(entry.mid(6, 5), QStringLiteral("0.025"));
    const QString vfo = *Kenwood::vfoDisplayText(RealFoReply, u"FO 0", Model::TMD710);
    QCOMPARE(Kenwood::frequencyOfVfoDisplay(vfo), QStringLiteral("441.500000"));
    QCOMPARE(MemoryEntry::frequency(u"01"), QString());
}

void TestKenwoodReplies::vfoDisplay_data()
{
    QTest::addColumn<QString>("replies");
    QTest::addColumn<QString>("recordStart");
    QTest::addColumn<Model>("model");
    QTest::addColumn<QString>("expected"); // empty: nothing shown
    QTest::newRow("real TM-D710 reply") << RealFoReply + "\r?\r"
                                        << "FO 0" << Model::TMD710 << "F=441.500000 shift=0";
    // The offset's megahertz digits follow the 8-digit field's first character.
    QTest::newRow("TM-V71 5 MHz plus")
        << "FO 1,0441500000,0,1,0,0,0,0,13,41,051,05000000,1\rREP 0\r"
        << "FO 1" << Model::TMV71 << "F=441.500000 shift=+5.000";
    QTest::newRow("TM-D710 600 kHz minus")
        << "FO 0,0145225000,0,2,0,0,0,0,08,08,000,00600000,0\r"
        << "FO 0" << Model::TMD710 << "F=145.225000 shift=-0.600";
    QTest::newRow("TM-D700 VR record") << "VR 2,00145225000,0,2,0,0,0,0,09,0010,09,000600000,0\r?\r"
                                       << "VR 2" << Model::TMD700 << "F=145.225000 shift=-0.600";
    QTest::newRow("record after another reply")
        << "N\r" + RealFoReply << "FO 0" << Model::TMD710 << "F=441.500000 shift=0";
    QTest::newRow("garbled shift code") << "FO 0,0145225000,0,x,0,0,0,0,08,08,000,00600000,0\r"
                                        << "FO 0" << Model::TMD710 << "F=145.225000 shift=x";
    QTest::newRow("other band's record") << RealFoReply << "FO 1" << Model::TMD710 << "";
    QTest::newRow("short record, reply after it") << "FO 0,0145225000\rREP 0,0,0,0,0,0,0,0,0,0,0\r"
                                                  << "FO 0" << Model::TMD710 << "";
    QTest::newRow("time-out") << "timerout"
                              << "FO 0" << Model::TMD710 << "";
    QTest::newRow("no VFO range known") << "?\r"
                                        << "" << Model::TMD700 << "";
}

void TestKenwoodReplies::vfoDisplay()
{
    QFETCH(QString, replies);
    QFETCH(QString, recordStart);
    QFETCH(Model, model);
    QFETCH(QString, expected);
    const std::optional<QString> text = Kenwood::vfoDisplayText(replies, recordStart, model);
    QCOMPARE(text.has_value(), !expected.isEmpty());
    if (text)
        QCOMPARE(*text, expected);
}

void TestKenwoodReplies::modelCheck_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<Model>("model");
    QTest::addColumn<bool>("matches");
    QTest::newRow("TM-D700") << "ID TM-D700" << Model::TMD700 << true;
    QTest::newRow("TM-D710G suffix") << "ID TM-D710G" << Model::TMD710 << true;
    QTest::newRow("TM-V71") << "ID TM-V71" << Model::TMV71 << true;
    QTest::newRow("after other text") << "?\rID TM-V71" << Model::TMV71 << true;
    QTest::newRow("D710 answering as V71 chosen") << "ID TM-D710" << Model::TMV71 << false;
    QTest::newRow("V71 answering as D710 chosen") << "ID TM-V71" << Model::TMD710 << false;
    QTest::newRow("D700 answering as D710 chosen") << "ID TM-D700" << Model::TMD710 << false;
    QTest::newRow("time-out") << "timerout" << Model::TMD700 << false;
    QTest::newRow("unknown command") << "?" << Model::TMD710 << false;
}

void TestKenwoodReplies::modelCheck()
{
    QFETCH(QString, reply);
    QFETCH(Model, model);
    QFETCH(bool, matches);
    QCOMPARE(Kenwood::idReplyMatches(reply, model), matches);
}

// The small replies: power, VFO range, band choice and scan state, each with what a time-out or
// a wrong character gives. Results are written as text so that one table holds them all.
void TestKenwoodReplies::shortReplies_data()
{
    QTest::addColumn<QString>("reader");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("expected");
    QTest::newRow("power low") << "power"
                               << "PC 0,2"
                               << "2";
    QTest::newRow("power high band B") << "power"
                                       << "PC 1,0"
                                       << "0";
    QTest::newRow("power out of range") << "power"
                                        << "PC 0,7"
                                        << "none";
    QTest::newRow("power garbled") << "power"
                                   << "PC 0,x"
                                   << "none";
    QTest::newRow("power time-out") << "power"
                                    << "timerout"
                                    << "none";
    QTest::newRow("power cut short") << "power"
                                     << "PC 0,"
                                     << "none";
    QTest::newRow("VFO range") << "range"
                               << "RBN 2"
                               << "2";
    QTest::newRow("VFO range missing") << "range"
                                       << "RBN "
                                       << "none";
    QTest::newRow("VFO range unknown command") << "range"
                                               << "?"
                                               << "none";
    QTest::newRow("band A") << "bands"
                            << "BC 0,0"
                            << "A";
    QTest::newRow("band B") << "bands"
                            << "BC 1,1"
                            << "B";
    QTest::newRow("both bands named") << "bands"
                                      << "BC 0,0\rBC 1,1"
                                      << "AB";
    QTest::newRow("bands time-out") << "bands"
                                    << "timerout"
                                    << "";
    QTest::newRow("not scanning") << "scan"
                                  << "SC 0"
                                  << "idle";
    QTest::newRow("scanning") << "scan"
                              << "SC 1"
                              << "scanning";
    QTest::newRow("scan time-out") << "scan"
                                   << "timerout"
                                   << "scanning";
    QTest::newRow("scan unknown command") << "scan"
                                          << "?"
                                          << "scanning";
}

void TestKenwoodReplies::shortReplies()
{
    QFETCH(QString, reader);
    QFETCH(QString, reply);
    QFETCH(QString, expected);
    QString result;
    if (reader == QLatin1String("power")) {
        const std::optional<int> level = Kenwood::powerLevelFromReply(reply);
        result = level ? QString::number(*level) : QStringLiteral("none");
    } else if (reader == QLatin1String("range")) {
        const std::optional<QChar> range = Kenwood::vfoRangeFromReply(reply);
        result = range ? QString(*range) : QStringLiteral("none");
    } else if (reader == QLatin1String("bands")) {
        const Kenwood::BandChoice choice = Kenwood::bandChoiceFromReply(reply);
        result = QLatin1String(choice.bandA ? "A" : "") + QLatin1String(choice.bandB ? "B" : "");
    } else {
        result = QLatin1String(Kenwood::replySaysNotScanning(reply) ? "idle" : "scanning");
    }
    QCOMPARE(result, expected);
}

void TestKenwoodReplies::repliesBelongToTheirCommand()
{
    // Every reply a real set sends is taken for its own command.
    const QList<std::pair<QString, QString>> real{{"ID", "ID TM-D710G\r"},
                                                  {"AI 0", "AI 0\r"},
                                                  {"BC", "BC 0,0\r"},
                                                  {"BC 1,1", "BC 1,1\r"},
                                                  {"FO 0", RealFoReply},
                                                  {"ME 005", Tmd710Record005 + '\r'},
                                                  {"VM 0", "VM 0,1\r"},
                                                  {"MR 0", "MR 0,005\r"},
                                                  {"MR 0,015", "N\r"},
                                                  {"PC 0,1", "PC 0,1\r"},
                                                  {"TX", "TX 0\r"},
                                                  {"RX", "RX 0\r"},
                                                  {"MR 0,0,001", Tmd700Record001},
                                                  {"VMC 0", "VMC 0,2\r"},
                                                  {"MC 0", "MC 0,005\r"},
                                                  {"SC", "SC 0\r"},
                                                  {"RBN", "RBN 2\r"},
                                                  {"REP 0", "?\r"},
                                                  {"VR 2", "VR 2,00145225000,0,0\r"}};
    for (const auto &[command, reply] : real)
        QVERIFY2(Kenwood::replyAnswers(command, reply), qPrintable(command + " / " + reply));
    // Lines of other commands, sent unasked or late, belong to none.
    const QList<std::pair<QString, QString>> foreign{
        {"SC", "BY 0,1\r"}, {"MR 0", "SC 0\r"}, {"ME 006", "ID TM-D710\r"},
        {"FO 0", "N0\r"},   {"PC 0", "?PC\r"},  {"", "BY 0,1\r"},
        {"ID", "\rID\r"}};
    for (const auto &[command, reply] : foreign)
        QVERIFY2(!Kenwood::replyAnswers(command, reply), qPrintable(command + " / " + reply));
}

void TestKenwoodReplies::channelQuery_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<bool>("noChannel");
    QTest::addColumn<QString>("channel");
    QTest::newRow("TM-D710 channel") << "MR 0,005" << false << "005";
    QTest::newRow("TM-D700 band B") << "MC 1,012" << false << "012";
    QTest::newRow("not in memory mode") << "N" << true << "";
    QTest::newRow("time-out is no answer") << "timerout" << false << "";
    QTest::newRow("cut short") << "MR 0,0" << false << "";
    QTest::newRow("unknown command") << "?" << false << "";
}

void TestKenwoodReplies::channelQuery()
{
    QFETCH(QString, reply);
    QFETCH(bool, noChannel);
    QFETCH(QString, channel);
    const Kenwood::ChannelReply result = Kenwood::channelFromReply(reply);
    QCOMPARE(result.noChannel, noChannel);
    QCOMPARE(result.channel, channel);
    QCOMPARE(Kenwood::isTimeout(reply), reply == QLatin1String("timerout"));
}

// The texts sent, and the mode replies read back with the same texts, per model and band.
void TestKenwoodReplies::commandTexts_data()
{
    QTest::addColumn<Model>("model");
    QTest::addColumn<int>("band");
    QTest::addColumn<QStringList>("commands");
    QTest::newRow("TM-D700 A") << Model::TMD700 << 0
                               << QStringList{"MR 0,0,007", "VMC 0",    "VMC 0,0",
                                              "VMC 0,2",    "MC 0,015", "MC 0",
                                              "VR 2",       "BC 0,0",   "PC 0,1"};
    QTest::newRow("TM-D700 B") << Model::TMD700 << 1
                               << QStringList{"MR 0,0,007", "VMC 1",    "VMC 1,0",
                                              "VMC 1,2",    "MC 1,015", "MC 1",
                                              "VR 2",       "BC 1,1",   "PC 1,1"};
    QTest::newRow("TM-D710 A") << Model::TMD710 << 0
                               << QStringList{"ME 007", "VM 0", "VM 0,0", "VM 0,1", "MR 0,015",
                                              "MR 0",   "FO 0", "BC 0,0", "PC 0,1"};
    QTest::newRow("TM-V71 B") << Model::TMV71 << 1
                              << QStringList{"ME 007", "VM 1", "VM 1,0", "VM 1,1", "MR 1,015",
                                             "MR 1",   "FO 1", "BC 1,1", "PC 1,1"};
}

void TestKenwoodReplies::commandTexts()
{
    QFETCH(Model, model);
    QFETCH(int, band);
    QFETCH(QStringList, commands);
    const QStringList built{Kenwood::memoryReadCommand(7, model),
                            Kenwood::modeQueryCommand(band, model),
                            Kenwood::vfoModeCommand(band, model),
                            Kenwood::memoryModeCommand(band, model),
                            Kenwood::selectMemoryCommand(band, u"015", model),
                            Kenwood::channelQueryCommand(band, model),
                            Kenwood::vfoReadCommand(band, u"2", model),
                            Kenwood::bandSelectCommand(band),
                            Kenwood::powerSetCommand(band, 1)};
    QCOMPARE(built, commands);
    QVERIFY(Kenwood::replyShowsVfoMode(commands[2], band, model));
    QVERIFY(!Kenwood::replyShowsMemoryMode(commands[2], band, model));
    QVERIFY(Kenwood::replyShowsMemoryMode(commands[3], band, model));
    QVERIFY(!Kenwood::replyShowsVfoMode(commands[3], 1 - band, model));
    QCOMPARE(Kenwood::memoryNumberText(1), QStringLiteral("001"));
    QCOMPARE(Kenwood::memoryNumberText(150), QStringLiteral("150"));
    QCOMPARE(Kenwood::memoryNumberText(1000), QStringLiteral("1000"));
    QCOMPARE(Kenwood::modelFromName(u"TMV71"), std::optional<Model>(Model::TMV71));
    QCOMPARE(Kenwood::modelFromName(u"TX16UD"), std::optional<Model>());
}

QTEST_GUILESS_MAIN(TestKenwoodReplies)
#include "tst_kenwood_replies.moc"
