#include "generic_tx/ChannelList.h"
#include "generic_tx/ChannelStepping.h"
#include "generic_tx/GpioChipLines.h"
#include "generic_tx/LineSettings.h"
#include "generic_tx/LinesDiscovery.h"
#include "generic_tx/PinLogic.h"
#include "generic_tx/PortDiscovery.h"
#include "platform/MemoryParallelPort.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(TxLine)
Q_DECLARE_METATYPE(LinePolarity)
Q_DECLARE_METATYPE(StepDirection)
Q_DECLARE_METATYPE(LinesKind)

namespace {
constexpr auto Up = StepDirection::Up;
constexpr auto Down = StepDirection::Down;

// Channels visited by the stepping timer walking from start to target, one step per tick, as
// the timer composes the walk decision with the channel step.
QList<int> walkFrom(int start, int target, int count, bool circular)
{
    QList<int> visited;
    int channel = start;
    for (int tick = 0; tick < 100; ++tick) {
        const WalkDecision decision = ChannelStepping::walk(channel, target, count, circular);
        if (decision.clearTarget || decision.direction == StepDirection::None)
            return visited;
        const int position = ChannelStepping::movedPosition(channel, decision.direction, count);
        const StepResult result =
            ChannelStepping::step(position, decision.direction, count, circular);
        channel = result.channel;
        visited.append(channel);
        if (result.atLimit)
            return visited;
    }
    return visited; // a walk that does not end shows up as 100 channels
}

QList<int> scanFrom(int start, int count, bool circular, bool scanUp, int ticks)
{
    QList<int> visited;
    int channel = start;
    for (int tick = 0; tick < ticks; ++tick) {
        const StepDirection direction = ChannelStepping::scan(channel, count, circular, scanUp);
        const int position = ChannelStepping::movedPosition(channel, direction, count);
        const StepResult result = ChannelStepping::step(position, direction, count, circular);
        channel = result.channel;
        visited.append(channel);
        if (result.atLimit)
            break;
    }
    return visited;
}

void addParport(const QString &procRoot, int number, const QByteArray &record)
{
    const QString dir = procRoot + QStringLiteral("/sys/dev/parport/parport%1").arg(number);
    QVERIFY(QDir().mkpath(dir));
    QFile file(dir + QStringLiteral("/base-addr"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(record);
}

void addHidraw(const QString &root, const QString &name, const QByteArray &uevent)
{
    const QString dir = root + QLatin1Char('/') + name + QStringLiteral("/device");
    QVERIFY(QDir().mkpath(dir));
    if (uevent.isEmpty())
        return;
    QFile file(dir + QStringLiteral("/uevent"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(uevent);
}
} // namespace

class TestGenericLogic : public QObject
{
    Q_OBJECT

private slots:
    void pinLevels_data();
    void pinLevels();
    void squelch_data();
    void squelch();

    void channelStep_data();
    void channelStep();
    void walkToChannel_data();
    void walkToChannel();
    void scanning_data();
    void scanning();
    void scanningAfterCountLowered();
    void resynchronisation_data();
    void resynchronisation();
    void displayText();

    void entryFromGrid_data();
    void entryFromGrid();
    void gridFromEntry_data();
    void gridFromEntry();
    void gridRoundTrip();
    void entryNumbers();

    void hexAddress_data();
    void hexAddress();
    void addressTexts();
    void discoveryFromProc();
    void discoveryKeepsPreviousWithoutPorts();
    void discoveryFromDriver();

    void lineMap_data();
    void lineMap();
    void lineKeys_data();
    void lineKeys();
    void usbAudioDiscovery();
    void gpioChipRefused();
};

void TestGenericLogic::pinLevels_data()
{
    QTest::addColumn<TxLine>("line");
    QTest::addColumn<LinePolarity>("polarity");
    QTest::addColumn<bool>("active");
    QTest::addColumn<quint8>("before");
    QTest::addColumn<quint8>("after");

    const auto pos = LinePolarity::Positive;
    const auto neg = LinePolarity::Negative;
    // The connector levels: a set bit gives 0 V on UP, DOWN and PTT but +5 V on RESET.
    QTest::newRow("UP pos. idle sets bit 1")
        << TxLine::Up << pos << false << quint8(0x00) << quint8(0x02);
    QTest::newRow("UP pos. pulse clears bit 1")
        << TxLine::Up << pos << true << quint8(0x0F) << quint8(0x0D);
    QTest::newRow("UP neg. idle clears bit 1")
        << TxLine::Up << neg << false << quint8(0x0F) << quint8(0x0D);
    QTest::newRow("UP neg. pulse sets bit 1")
        << TxLine::Up << neg << true << quint8(0x00) << quint8(0x02);
    QTest::newRow("DOWN pos. idle sets bit 0")
        << TxLine::Down << pos << false << quint8(0x00) << quint8(0x01);
    QTest::newRow("DOWN pos. pulse clears bit 0")
        << TxLine::Down << pos << true << quint8(0x0F) << quint8(0x0E);
    QTest::newRow("DOWN neg. idle clears bit 0")
        << TxLine::Down << neg << false << quint8(0x0F) << quint8(0x0E);
    QTest::newRow("DOWN neg. pulse sets bit 0")
        << TxLine::Down << neg << true << quint8(0x00) << quint8(0x01);
    QTest::newRow("RESET pos. idle clears bit 2")
        << TxLine::Reset << pos << false << quint8(0x0F) << quint8(0x0B);
    QTest::newRow("RESET pos. pulse sets bit 2")
        << TxLine::Reset << pos << true << quint8(0x00) << quint8(0x04);
    QTest::newRow("RESET neg. idle sets bit 2")
        << TxLine::Reset << neg << false << quint8(0x00) << quint8(0x04);
    QTest::newRow("RESET neg. pulse clears bit 2")
        << TxLine::Reset << neg << true << quint8(0x0F) << quint8(0x0B);
    QTest::newRow("PTT +5v idle sets bit 3")
        << TxLine::Ptt << pos << false << quint8(0x00) << quint8(0x08);
    QTest::newRow("PTT +5v keyed clears bit 3")
        << TxLine::Ptt << pos << true << quint8(0x0F) << quint8(0x07);
    QTest::newRow("PTT 0v idle clears bit 3")
        << TxLine::Ptt << neg << false << quint8(0x0F) << quint8(0x07);
    QTest::newRow("PTT 0v keyed sets bit 3")
        << TxLine::Ptt << neg << true << quint8(0x00) << quint8(0x08);
    QTest::newRow("upper bits kept on set")
        << TxLine::Up << pos << false << quint8(0xE0) << quint8(0xE2);
    QTest::newRow("upper bits kept on clear")
        << TxLine::Reset << pos << false << quint8(0xFF) << quint8(0xFB);
    QTest::newRow("bit already at level")
        << TxLine::Down << pos << false << quint8(0xC1) << quint8(0xC1);
}

void TestGenericLogic::pinLevels()
{
    QFETCH(TxLine, line);
    QFETCH(LinePolarity, polarity);
    QFETCH(bool, active);
    QFETCH(quint8, before);
    QFETCH(quint8, after);

    QCOMPARE(PinLogic::apply(before, line, polarity, active), after);

    // Through a port: the value read from the control register is the one modified.
    MemoryParallelPort port(0x378);
    port.setControl(before);
    QCOMPARE(PinLogic::writeLevel(port, 0x378, line, polarity, active), after);
    QCOMPARE(port.control(), after);
    QCOMPARE(port.writes().size(), 1);
    QCOMPARE(port.writes().first().port, quint16(0x37A));
}

void TestGenericLogic::squelch_data()
{
    QTest::addColumn<quint8>("status");
    QTest::addColumn<LinePolarity>("openLevel");
    QTest::addColumn<bool>("open");

    QTest::newRow("bit 7 set, +5v") << quint8(0x80) << LinePolarity::Positive << false;
    QTest::newRow("bit 7 set, 0v") << quint8(0x80) << LinePolarity::Negative << true;
    QTest::newRow("bit 7 clear, +5v") << quint8(0x00) << LinePolarity::Positive << true;
    QTest::newRow("bit 7 clear, 0v") << quint8(0x00) << LinePolarity::Negative << false;
    QTest::newRow("other bits ignored, +5v") << quint8(0x7F) << LinePolarity::Positive << true;
    QTest::newRow("other bits ignored, 0v") << quint8(0xFF) << LinePolarity::Negative << true;
}

void TestGenericLogic::squelch()
{
    QFETCH(quint8, status);
    QFETCH(LinePolarity, openLevel);
    QFETCH(bool, open);
    QCOMPARE(PinLogic::squelchOpen(status, openLevel), open);
}

void TestGenericLogic::channelStep_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<StepDirection>("direction");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("circular");
    QTest::addColumn<int>("newChannel");
    QTest::addColumn<bool>("atLimit");

    QTest::newRow("up in the middle") << 5 << Up << 16 << false << 6 << false;
    QTest::newRow("down in the middle") << 5 << Down << 16 << false << 4 << false;
    QTest::newRow("elevator, up at N stays") << 16 << Up << 16 << false << 16 << true;
    QTest::newRow("elevator, down at 1 stays") << 1 << Down << 16 << false << 1 << true;
    QTest::newRow("circular, up at N wraps") << 16 << Up << 16 << true << 1 << false;
    QTest::newRow("circular, down at 1 wraps") << 1 << Down << 16 << true << 16 << false;
    QTest::newRow("elevator, up to N") << 15 << Up << 16 << false << 16 << false;
    QTest::newRow("elevator, down to 1") << 2 << Down << 16 << false << 1 << false;
    QTest::newRow("two channels, circular up") << 2 << Up << 2 << true << 1 << false;
    QTest::newRow("count lowered, elevator up") << 12 << Up << 10 << false << 10 << true;
    QTest::newRow("count lowered, circular up") << 12 << Up << 10 << true << 1 << false;
}

void TestGenericLogic::channelStep()
{
    QFETCH(int, channel);
    QFETCH(StepDirection, direction);
    QFETCH(int, count);
    QFETCH(bool, circular);
    QFETCH(int, newChannel);
    QFETCH(bool, atLimit);

    const int position = ChannelStepping::movedPosition(channel, direction, count);
    const StepResult result = ChannelStepping::step(position, direction, count, circular);
    QCOMPARE(result.channel, newChannel);
    QCOMPARE(result.position, newChannel);
    QCOMPARE(result.atLimit, atLimit);
}

void TestGenericLogic::walkToChannel_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("target");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("circular");
    QTest::addColumn<QList<int>>("visited");

    QTest::newRow("16 circular, 1 to 9 goes up")
        << 1 << 9 << 16 << true << QList<int>{2, 3, 4, 5, 6, 7, 8, 9};
    QTest::newRow("16 circular, 1 to 10 goes down")
        << 1 << 10 << 16 << true << QList<int>{16, 15, 14, 13, 12, 11, 10};
    QTest::newRow("16 elevator, 1 to 10 goes up")
        << 1 << 10 << 16 << false << QList<int>{2, 3, 4, 5, 6, 7, 8, 9, 10};
    QTest::newRow("17 circular, 1 to 10 goes down")
        << 1 << 10 << 17 << true << QList<int>{17, 16, 15, 14, 13, 12, 11, 10};
    QTest::newRow("16 circular, 9 to 1 at half goes direct")
        << 9 << 1 << 16 << true << QList<int>{8, 7, 6, 5, 4, 3, 2, 1};
    QTest::newRow("16 circular, 15 to 2 goes round")
        << 15 << 2 << 16 << true << QList<int>{16, 1, 2};
    QTest::newRow("16 elevator, 15 to 2 goes down")
        << 15 << 2 << 16 << false << QList<int>{14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2};
    QTest::newRow("already there") << 7 << 7 << 16 << true << QList<int>{};
    QTest::newRow("no target") << 7 << 0 << 16 << true << QList<int>{};
    QTest::newRow("target above a lowered count, circular") << 5 << 12 << 8 << true << QList<int>{};
    QTest::newRow("target above a lowered count, elevator")
        << 5 << 12 << 8 << false << QList<int>{};
}

void TestGenericLogic::walkToChannel()
{
    QFETCH(int, start);
    QFETCH(int, target);
    QFETCH(int, count);
    QFETCH(bool, circular);
    QFETCH(QList<int>, visited);

    QCOMPARE(walkFrom(start, target, count, circular), visited);
}

void TestGenericLogic::scanning_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("circular");
    QTest::addColumn<bool>("scanUp");
    QTest::addColumn<QList<int>>("visited");

    QTest::newRow("elevator from 3 of 4")
        << 3 << 4 << false << true << QList<int>{4, 3, 2, 1, 2, 3, 4, 3};
    QTest::newRow("elevator keeps its direction")
        << 3 << 4 << false << false << QList<int>{2, 1, 2, 3, 4, 3, 2, 1};
    QTest::newRow("circular from 3 of 4")
        << 3 << 4 << true << false << QList<int>{4, 1, 2, 3, 4, 1, 2, 3};
    QTest::newRow("two channels, elevator")
        << 1 << 2 << false << false << QList<int>{2, 1, 2, 1, 2, 1, 2, 1};
}

void TestGenericLogic::scanning()
{
    QFETCH(int, start);
    QFETCH(int, count);
    QFETCH(bool, circular);
    QFETCH(bool, scanUp);
    QFETCH(QList<int>, visited);

    QCOMPARE(scanFrom(start, count, circular, scanUp, 8), visited);
}

void TestGenericLogic::scanningAfterCountLowered()
{
    // The channel is above the new count: an up/down scan must head back into range and go on,
    // not run into the limit (which stops the stepping timer while SCAN still shows on).
    for (bool scanUp : {true, false}) {
        const QList<int> visited = scanFrom(7, 4, false, scanUp, 10);
        QCOMPARE(visited.size(), 10);
        QVERIFY(visited.first() < 7);
        for (int i = 3; i < visited.size(); ++i)
            QVERIFY(visited.at(i) >= 1 && visited.at(i) <= 4);
    }
}

void TestGenericLogic::resynchronisation_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<StepDirection>("direction");
    QTest::addColumn<bool>("allowed");

    QTest::newRow("up below N") << 15 << Up << true;
    QTest::newRow("up at N") << 16 << Up << false;
    QTest::newRow("up beyond N") << 17 << Up << false;
    QTest::newRow("down at 2") << 2 << Down << true;
    QTest::newRow("down at 1") << 1 << Down << false;
    QTest::newRow("down at 0") << 0 << Down << false;
}

void TestGenericLogic::resynchronisation()
{
    QFETCH(int, position);
    QFETCH(StepDirection, direction);
    QFETCH(bool, allowed);
    QCOMPARE(ChannelStepping::resyncAllowed(position, direction, 16), allowed);
}

void TestGenericLogic::displayText()
{
    QCOMPARE(ChannelStepping::displayText(1), QStringLiteral("01"));
    QCOMPARE(ChannelStepping::displayText(9), QStringLiteral("09"));
    QCOMPARE(ChannelStepping::displayText(10), QStringLiteral("10"));
    QCOMPARE(ChannelStepping::displayText(40), QStringLiteral("40"));
}

void TestGenericLogic::entryFromGrid_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QString>("entry"); // empty: the row is refused

    QTest::newRow("frequency and comment") << 1 << "145.225000"
                                           << "Relais"
                                           << "001=145.225000 [Relais]";
    QTest::newRow("no frequency") << 1 << ""
                                  << "Relais"
                                  << "001= [Relais]";
    QTest::newRow("single blank frequency") << 1 << " "
                                            << "Relais"
                                            << "001= [Relais]";
    QTest::newRow("nothing") << 40 << ""
                             << ""
                             << "040= []";
    QTest::newRow("comma kept") << 12 << "430,125000"
                                << ""
                                << "012=430,125000 []";
    QTest::newRow("eight characters") << 1 << "145.2250"
                                      << ""
                                      << "";
    QTest::newRow("ten digits") << 1 << "1452250000"
                                << ""
                                << "";
    QTest::newRow("letter as last digit") << 1 << "145.22500x"
                                          << ""
                                          << "";
    QTest::newRow("sign in the MHz") << 1 << "-45.225000"
                                     << ""
                                     << "";
    QTest::newRow("blank in the decimals") << 1 << "145. 25000"
                                           << ""
                                           << "";
    QTest::newRow("closing bracket in comment") << 1 << "145.225000"
                                                << "a]b"
                                                << "";
    QTest::newRow("opening bracket in comment") << 1 << ""
                                                << "[x"
                                                << "";
}

void TestGenericLogic::entryFromGrid()
{
    QFETCH(int, channel);
    QFETCH(QString, frequency);
    QFETCH(QString, comment);
    QFETCH(QString, entry);

    const std::optional<QString> made = ChannelList::entryFromGrid(channel, frequency, comment);
    if (entry.isEmpty())
        QVERIFY(!made.has_value());
    else
        QCOMPARE(made, std::optional<QString>(entry));
}

void TestGenericLogic::gridFromEntry_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("frequency"); // "<keep>": cell left as it was
    QTest::addColumn<QString>("comment");

    const QString keep = QStringLiteral("<keep>");
    QTest::newRow("frequency and comment") << 1 << "001=145.225000 [Relais]"
                                           << "145.225000"
                                           << "Relais";
    QTest::newRow("no frequency") << 3 << "003= [Local]"
                                  << ""
                                  << "Local";
    QTest::newRow("empty entry") << 3 << "003= []"
                                 << "" << keep;
    QTest::newRow("frequency, empty comment") << 2 << "002=430,125000 []"
                                              << "430,125000" << keep;
    QTest::newRow("another row's entry") << 2 << "001= [x]" << keep << keep;
    QTest::newRow("no equals sign") << 1 << "001 [x]" << keep << keep;
    QTest::newRow("short frequency") << 1 << "001=145.2 [x]" << keep << keep;
    QTest::newRow("garbage from a hand-edited file") << 1 << "001=garbage" << keep << keep;
    QTest::newRow("missing bracket") << 1 << "001= [x"
                                     << "" << keep;
    QTest::newRow("too short") << 1 << "00" << keep << keep;
}

void TestGenericLogic::gridFromEntry()
{
    QFETCH(int, row);
    QFETCH(QString, entry);
    QFETCH(QString, frequency);
    QFETCH(QString, comment);

    const ChannelGridCells cells = ChannelList::gridCellsFromEntry(row, entry);
    const QString keep = QStringLiteral("<keep>");
    QCOMPARE(cells.frequency.value_or(keep), frequency);
    QCOMPARE(cells.comment.value_or(keep), comment);
}

void TestGenericLogic::gridRoundTrip()
{
    const QList<QPair<QString, QString>> rows{{"145.225000", "Relais"},
                                              {"", "sans fréquence"},
                                              {"430,125000", "virgule"},
                                              {"029.600000", "  blancs  "}};
    for (int i = 0; i < rows.size(); ++i) {
        const int channel = i + 1;
        const std::optional<QString> entry =
            ChannelList::entryFromGrid(channel, rows[i].first, rows[i].second);
        QVERIFY(entry.has_value());
        QVERIFY(ChannelList::hasContent(*entry));
        const ChannelGridCells cells = ChannelList::gridCellsFromEntry(channel, *entry);
        QCOMPARE(cells.frequency, std::optional<QString>(rows[i].first));
        QCOMPARE(cells.comment, std::optional<QString>(rows[i].second));
    }
}

void TestGenericLogic::entryNumbers()
{
    QCOMPARE(ChannelList::emptyEntry(7), QStringLiteral("007= []"));
    QVERIFY(!ChannelList::hasContent(ChannelList::emptyEntry(7)));
    QCOMPARE(ChannelList::channelOf(QStringLiteral("040= []")), std::optional<int>(40));
    QVERIFY(!ChannelList::channelOf(QStringLiteral("")).has_value());
    QVERIFY(!ChannelList::channelOf(QStringLiteral("x01= []")).has_value());
    QVERIFY(!ChannelList::channelOf(QStringLiteral(" 1= []")).has_value());

    // The list follows the count: the first entry carrying the number, bad entries passed over.
    const QStringList entries{QStringLiteral("abc"), QStringLiteral(""),
                              QStringLiteral("005= [first]"), QStringLiteral("005= [second]"),
                              QStringLiteral("006= []")};
    QCOMPARE(ChannelList::indexOfChannel(entries, 5), 2);
    QCOMPARE(ChannelList::indexOfChannel(entries, 6), 4);
    QCOMPARE(ChannelList::indexOfChannel(entries, 7), -1);
}

void TestGenericLogic::hexAddress_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("address");

    QTest::newRow("four digits") << "0378" << 0x378;
    QTest::newRow("lower case") << "03bc" << 0x3BC;
    QTest::newRow("three digits") << "278" << 0x278;
    QTest::newRow("blanks around") << " 0378 " << 0x378;
    QTest::newRow("largest") << "FFFF" << 0xFFFF;
    QTest::newRow("none") << "0000" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("not hexadecimal") << "03G8" << 0;
    QTest::newRow("too long") << "10378" << 0;
    QTest::newRow("C prefix") << "0x37" << 0;
    QTest::newRow("sign") << "-378" << 0;
}

void TestGenericLogic::hexAddress()
{
    QFETCH(QString, text);
    QFETCH(int, address);
    QCOMPARE(int(PortDiscovery::parseHexAddress(text)), address);
}

void TestGenericLogic::addressTexts()
{
    QCOMPARE(PortDiscovery::hex4(0x3bc), QStringLiteral("03BC"));
    QCOMPARE(PortDiscovery::choiceCaption(888), QStringLiteral("0378h"));
    QCOMPARE(PortDiscovery::choiceCaption(0), QStringLiteral("0000h"));
    QCOMPARE(PortDiscovery::portOkText(0x378), QStringLiteral("LPT 0378h OK"));
    QCOMPARE(PortDiscovery::portOkText(0xBC00), QStringLiteral("LPT BC00h OK"));
}

void TestGenericLogic::discoveryFromProc()
{
    QTemporaryDir proc;
    QVERIFY(proc.isValid());
    addParport(proc.path(), 0, "888\t1912\n");
    addParport(proc.path(), 1, "0\t0\n"); // no I/O base (a USB adapter)
    addParport(proc.path(), 2, "garbled");
    addParport(proc.path(), 3, "632\t-1\n"); // LPT4 is not offered

    PortDiscovery::AddressTexts texts{QStringLiteral("0278"), QStringLiteral("0278"),
                                      QStringLiteral("0278")};
    PortDiscovery::discover(proc.path(), texts);
    QCOMPARE(texts, (PortDiscovery::AddressTexts{QStringLiteral("0378"), QStringLiteral("0000"),
                                                 QStringLiteral("0000")}));
    QCOMPARE(PortDiscovery::addresses(texts), (PortDiscovery::Addresses{0x378, 0, 0}));
}

void TestGenericLogic::discoveryKeepsPreviousWithoutPorts()
{
    QTemporaryDir proc;
    QVERIFY(proc.isValid());
    PortDiscovery::AddressTexts texts{QStringLiteral("0378"), QStringLiteral("0000"),
                                      QStringLiteral("03BC")};
    const PortDiscovery::AddressTexts before = texts;

    PortDiscovery::discover(proc.path(), texts); // no parport directory at all
    QCOMPARE(texts, before);
    QVERIFY(QDir().mkpath(proc.path() + QStringLiteral("/sys/dev/parport/default")));
    PortDiscovery::discover(proc.path(), texts); // the directory, but no port in it
    QCOMPARE(texts, before);
}

void TestGenericLogic::discoveryFromDriver()
{
    MemoryParallelPort port(0x3BC);
    port.setLptAddresses({0x3BC, 0, 0x278});
    PortDiscovery::AddressTexts texts{QStringLiteral("0000"), QStringLiteral("0378"),
                                      QStringLiteral("0000")};
    PortDiscovery::discoverFromDriver(port, texts);
    QCOMPARE(texts, (PortDiscovery::AddressTexts{QStringLiteral("03BC"), QStringLiteral("0378"),
                                                 QStringLiteral("0278")}));
}

void TestGenericLogic::lineMap_data()
{
    QTest::addColumn<LinesKind>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("expected"); // UP, DOWN, RESET, PTT, squelch; empty: refused

    const auto usb = LinesKind::UsbAudio;
    const auto gpio = LinesKind::GpioChip;
    QTest::newRow("usb default") << usb << "1,2,4,3,VOLDN" << QList<int>{1, 2, 4, 3, 0x02};
    QTest::newRow("usb, blanks and case")
        << usb << " 8, 7 ,6,5, recmute" << QList<int>{8, 7, 6, 5, 0x08};
    QTest::newRow("usb, lines not wired") << usb << "1,2,-,3,-" << QList<int>{1, 2, -1, 3, -1};
    QTest::newRow("usb, no GPIO 9") << usb << "1,2,4,9,VOLDN" << QList<int>{};
    QTest::newRow("usb, no GPIO 0") << usb << "0,2,4,3,VOLDN" << QList<int>{};
    QTest::newRow("usb, a pin twice") << usb << "1,1,4,3,VOLDN" << QList<int>{};
    QTest::newRow("usb, squelch on a GPIO") << usb << "1,2,4,3,5" << QList<int>{};
    QTest::newRow("usb, four fields") << usb << "1,2,4,3" << QList<int>{};
    QTest::newRow("gpio") << gpio << "17,27,22,23,24" << QList<int>{17, 27, 22, 23, 24};
    QTest::newRow("gpio, line 0") << gpio << "0,1,2,3,4" << QList<int>{0, 1, 2, 3, 4};
    QTest::newRow("gpio, squelch on an output") << gpio << "17,27,22,23,17" << QList<int>{};
    QTest::newRow("gpio, button name") << gpio << "17,27,22,23,VOLDN" << QList<int>{};
    QTest::newRow("gpio, negative") << gpio << "-2,27,22,23,24" << QList<int>{};
    QTest::newRow("gpio, empty") << gpio << "" << QList<int>{};
    QTest::newRow("parallel port has no map")
        << LinesKind::ParallelPort << "1,2,4,3,VOLDN" << QList<int>{};
}

void TestGenericLogic::lineMap()
{
    QFETCH(LinesKind, kind);
    QFETCH(QString, text);
    QFETCH(QList<int>, expected);
    const std::optional<LineMap> map = LineConfig::parseMap(kind, text);
    QCOMPARE(map.has_value(), !expected.isEmpty());
    if (map) {
        QCOMPARE((QList<int>{map->outputs[0], map->outputs[1], map->outputs[2], map->outputs[3],
                             map->squelch}),
                 expected);
    }
}

void TestGenericLogic::lineKeys_data()
{
    QTest::addColumn<QStringList>("file");
    QTest::addColumn<QStringList>("saved");

    QTest::newRow("parallel port: today's file") << QStringList{} << QStringList{};
    QTest::newRow("usb: default map")
        << QStringList{"LINES=CM108", "LINESDEVICE=/dev/hidraw1"}
        << QStringList{"LINES=CM108", "LINESDEVICE=/dev/hidraw1", "LINESMAP=1,2,4,3,VOLDN"};
    QTest::newRow("gpio") << QStringList{"LINES=GPIO", "LINESDEVICE=/dev/gpiochip0",
                                         "LINESMAP=17,27,22,23,24"}
                          << QStringList{"LINES=GPIO", "LINESDEVICE=/dev/gpiochip0",
                                         "LINESMAP=17,27,22,23,24"};
    QTest::newRow("map before kind") << QStringList{"LINESMAP=5,6,13,19,26", "LINES=GPIO"}
                                     << QStringList{"LINES=GPIO", "LINESMAP=5,6,13,19,26"};
    QTest::newRow("unknown kind ignored") << QStringList{"LINES=USB"} << QStringList{};
    QTest::newRow("map of the other kind ignored")
        << QStringList{"LINES=GPIO", "LINESMAP=1,2,4,3,VOLDN", "LINESMAP=17,27,22,23"}
        << QStringList{"LINES=GPIO"};
    QTest::newRow("bad devices ignored")
        << QStringList{"LINES=CM108", "LINESDEVICE=/dev/hidraw2", "LINESDEVICE=hidraw1",
                       "LINESDEVICE=/dev/hid raw", "LINESDEVICE="}
        << QStringList{"LINES=CM108", "LINESDEVICE=/dev/hidraw2", "LINESMAP=1,2,4,3,VOLDN"};
    QTest::newRow("back to the parallel port keeps the device")
        << QStringList{"LINES=CM108", "LINESDEVICE=/dev/hidraw1", "LINES=LPT"}
        << QStringList{"LINESDEVICE=/dev/hidraw1", "LINESMAP=1,2,4,3,VOLDN"};
}

void TestGenericLogic::lineKeys()
{
    QFETCH(QStringList, file);
    QFETCH(QStringList, saved);
    LineSettings settings;
    for (const QString &line : file) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        QVERIFY(LineConfig::apply(settings, line.left(equals + 1), line.mid(equals + 1)));
    }
    QVERIFY(!LineConfig::apply(settings, QStringLiteral("LPT="), QStringLiteral("888")));
    QCOMPARE(LineConfig::lines(settings), saved);
}

void TestGenericLogic::usbAudioDiscovery()
{
    QTemporaryDir sys;
    const QString root = sys.path();
    addHidraw(root, "hidraw0",
              "DRIVER=hid-generic\nHID_ID=0003:0000046D:0000C52B\n"
              "HID_NAME=Logitech USB Receiver\n");
    addHidraw(root, "hidraw10", "HID_ID=0003:00000D8C:0000000C\nHID_NAME=C-Media USB Audio\n");
    addHidraw(root, "hidraw2", "HID_ID=0003:00000D8C:0000013C\n");
    addHidraw(root, "hidraw3", {}); // no uevent: skipped
    addHidraw(root, "hidraw4", "HID_ID=0005:00000D8D:0000000C\n");

    const QList<LinesDiscovery::Device> found = LinesDiscovery::usbAudioInterfaces(root, "/dev");
    QCOMPARE(found.size(), 2);
    QCOMPARE(found.at(0).path, QStringLiteral("/dev/hidraw2"));
    QCOMPARE(found.at(0).description, QStringLiteral("0d8c:013c"));
    QCOMPARE(found.at(1).path, QStringLiteral("/dev/hidraw10"));
    QCOMPARE(found.at(1).description, QStringLiteral("C-Media USB Audio (0d8c:000c)"));
    QVERIFY(LinesDiscovery::usbAudioInterfaces(root + QStringLiteral("/none")).isEmpty());
}

void TestGenericLogic::gpioChipRefused()
{
    // No GPIO chip on these machines: what can be checked is that a wrong one is refused
    // plainly, before a line is touched.
    QTemporaryDir dev;
    QFile notAChip(dev.filePath(QStringLiteral("gpiochip0")));
    QVERIFY(notAChip.open(QIODevice::WriteOnly));
    notAChip.close();
    const LineMap map = *LineConfig::parseMap(LinesKind::GpioChip, QStringLiteral("1,2,3,4,5"));
    const ControlLines::Levels rest{false, false, false, false};

    const QString missing = dev.filePath(QStringLiteral("gpiochip9"));
    GpioChipLines absent(missing, map, LinePolarity::Positive);
    QVERIFY(!absent.open(rest));
    QCOMPARE(absent.failure(),
             QStringLiteral("Cannot open %1: No such file or directory").arg(missing));
    QVERIFY(!absent.isOpen());
    QVERIFY(!absent.setLevel(TxLine::Ptt, true));
    QVERIFY(!absent.squelchHigh());

    for (const QString &path : {notAChip.fileName(), QStringLiteral("/dev/null")}) {
        GpioChipLines wrong(path, map, LinePolarity::Positive);
        QVERIFY(!wrong.open(rest));
        QCOMPARE(wrong.failure(), QStringLiteral("%1 is not a GPIO chip").arg(path));
    }
    QVERIFY(LinesDiscovery::gpioChips(dev.path()).isEmpty());
}

QTEST_GUILESS_MAIN(TestGenericLogic)
#include "tst_generic_logic.moc"
