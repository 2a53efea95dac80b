#include "core/StationState.h"
#include "dtmf/DtmfMatcher.h"
#include "dtmf/DtmfSession.h"
#include "support/DtmfPanel.h"

#include <QtTest>

using DtmfMatcher::FiguresStatus;

Q_DECLARE_METATYPE(DtmfMatcher::FiguresStatus)

namespace {

const QString H = QStringLiteral(" [DTMF]");
const QString Code1230 = QStringLiteral("1230 : action 07= Mémoire Nnn sur TXA (Kenwood)");
const QString Code125 = QStringLiteral("125 : action 11= Fréquence Ffff sur TX actif (Tous)");

const QStringList Memories = {
    QStringLiteral("001=145.225000 shift=-0.600"), QStringLiteral("015=145.600000 shift=0"),
    QStringLiteral("016=435.225000 shift=-7.600"), QStringLiteral("017=145.225000 shift=+0.600"),
    QStringLiteral("115=438.500000 shift=+1.600")};

const QStringList Channels = {
    QStringLiteral("001= [5.225 relay]"), QStringLiteral("002=145,225000 [Comma]"),
    QStringLiteral("003=435.225000 []"), QStringLiteral("004="), QStringLiteral("015= []")};

// The real interpreter on recording radios, its code table set to `table`.
struct Interpreter : DtmfPanel
{
    explicit Interpreter(const QStringList &table) { codes.setLines(table); }
};

} // namespace

class TestDtmfMatcher : public QObject
{
    Q_OBJECT

private slots:
    void dtmfText_data();
    void dtmfText();
    void appendCapped_data();
    void appendCapped();
    void findCode_data();
    void findCode();
    void collectFigures_data();
    void collectFigures();
    void findMemory_data();
    void findMemory();
    void findFrequency_data();
    void findFrequency();

    void memoryCodeDigitByDigitOrAtOnce_data();
    void memoryCodeDigitByDigitOrAtOnce();
    void frequencyCodePicksFirstListed();
    void tooManyFiguresAbandon();
    void unknownMemoryAbandons();
    void strayPrefixBlocksUntilExpiry();
    void unusableEntryConsumesMatch();
    void genericRadio();
    void floodStaysBounded();
};

void TestDtmfMatcher::dtmfText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");

    QTest::newRow("digits") << "0123456789" << true;
    QTest::newRow("letters and signs") << "ABCDabcd#*" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("letter past D") << "12E" << false;
    QTest::newRow("lower-case past d") << "1e" << false;
    QTest::newRow("blank") << "1 2" << false;
    QTest::newRow("line end left in") << "12\r\n" << false;
    QTest::newRow("arabic-indic digit") << QString(QChar(0x0663)) << false;
    QTest::newRow("accented letter") << "é" << false;
}

void TestDtmfMatcher::dtmfText()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(DtmfMatcher::isDtmfText(text), valid);
}

void TestDtmfMatcher::appendCapped_data()
{
    const int cap = DtmfMatcher::ReceivedCap;
    QTest::addColumn<QString>("received");
    QTest::addColumn<QString>("report");
    QTest::addColumn<QString>("expected");

    QTest::newRow("short") << "12"
                           << "30"
                           << "1230";
    QTest::newRow("reaches the cap")
        << QString(cap - 2, u'1') << "2345" << QString(cap - 2, u'1') + "23";
    QTest::newRow("already full") << QString(cap, u'1') << "9" << QString(cap, u'1');
    QTest::newRow("huge report") << "" << QString(cap * 4, u'7') << QString(cap, u'7');
}

void TestDtmfMatcher::appendCapped()
{
    QFETCH(QString, received);
    QFETCH(QString, report);
    QFETCH(QString, expected);
    QCOMPARE(DtmfMatcher::appendCapped(received, report), expected);
}

void TestDtmfMatcher::findCode_data()
{
    QTest::addColumn<QStringList>("table");
    QTest::addColumn<QString>("received");
    QTest::addColumn<int>("line");

    const QStringList table = {H, Code1230, "#9 : action 26= TX", "1A : action 01= x"};
    QTest::newRow("header only") << QStringList{H} << "1230" << -1;
    QTest::newRow("empty list") << QStringList{} << "1230" << -1;
    QTest::newRow("exact code") << table << "1230" << 1;
    QTest::newRow("code and figures") << table << "123015" << 1;
    QTest::newRow("code not complete") << table << "123" << -1;
    QTest::newRow("code not at the start") << table << "91230" << -1;
    QTest::newRow("signs") << table << "#9" << 2;
    QTest::newRow("upper-case only") << table << "1a" << -1;
    QTest::newRow("upper-case") << table << "1A" << 3;
    QTest::newRow("nothing collected") << table << "" << -1;
    QTest::newRow("header text is no code") << table << " [DTMF]" << -1;
    QTest::newRow("first in table order")
        << QStringList{H, "12 : action 01= a", "123 : action 02= b"} << "1234" << 1;
    QTest::newRow("entries without a blank or starting with one skipped")
        << QStringList{H, "1230", " 12 : action 01= a", "12 : action 02= b"} << "1230" << 3;
}

void TestDtmfMatcher::findCode()
{
    QFETCH(QStringList, table);
    QFETCH(QString, received);
    QFETCH(int, line);
    const std::optional<DtmfMatcher::CodeMatch> match = DtmfMatcher::findCode(table, received);
    QCOMPARE(match ? match->line : -1, line);
    if (match)
        QCOMPARE(match->entry, table.at(line));
}

void TestDtmfMatcher::collectFigures_data()
{
    QTest::addColumn<QString>("received");
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("action");
    QTest::addColumn<FiguresStatus>("status");
    QTest::addColumn<QString>("value");

    QTest::newRow("code alone") << "1230"
                                << "1230" << 7 << FiguresStatus::Wait << "";
    QTest::newRow("one figure") << "12301"
                                << "1230" << 8 << FiguresStatus::Wait << "";
    QTest::newRow("memory ready") << "123015"
                                  << "1230" << 7 << FiguresStatus::Ready << "015";
    QTest::newRow("memory from code ending in 1") << "1123"
                                                  << "11" << 10 << FiguresStatus::Ready << "123";
    QTest::newRow("too many figures") << "1230123"
                                      << "1230" << 7 << FiguresStatus::Abandon << "";
    QTest::newRow("text lost the code") << "9123015"
                                        << "1230" << 7 << FiguresStatus::Abandon << "";
    QTest::newRow("frequency ready") << "125225"
                                     << "125" << 11 << FiguresStatus::Ready << "5225";
    QTest::newRow("frequency short") << "12522"
                                     << "125" << 11 << FiguresStatus::Wait << "";
    QTest::newRow("frequency too long") << "1252255"
                                        << "125" << 11 << FiguresStatus::Abandon << "";
    QTest::newRow("action without figures") << "123015"
                                            << "1230" << 1 << FiguresStatus::Abandon << "";
    QTest::newRow("no code") << "123015"
                             << "" << 7 << FiguresStatus::Abandon << "";
    QTest::newRow("figures are not checked here") << "12300#"
                                                  << "1230" << 10 << FiguresStatus::Ready << "00#";
}

void TestDtmfMatcher::collectFigures()
{
    QFETCH(QString, received);
    QFETCH(QString, code);
    QFETCH(int, action);
    QFETCH(FiguresStatus, status);
    QFETCH(QString, value);
    const DtmfMatcher::Figures figures = DtmfMatcher::collectFigures(received, code, action);
    QCOMPARE(figures.status, status);
    QCOMPARE(figures.value, value);
}

void TestDtmfMatcher::findMemory_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("index");

    QTest::newRow("first") << Memories << "001" << 0;
    QTest::newRow("middle") << Memories << "015" << 1;
    QTest::newRow("hundreds") << Memories << "115" << 4;
    QTest::newRow("absent") << Memories << "099" << -1;
    QTest::newRow("not an integer") << Memories << "0#5" << -1;
    QTest::newRow("empty") << Memories << "" << -1;
    QTest::newRow("generic channel without frequency") << Channels << "015" << 4;
    QTest::newRow("short entries") << QStringList{"", "01"} << "01" << 1;
    QTest::newRow("empty list") << QStringList{} << "001" << -1;
}

void TestDtmfMatcher::findMemory()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, number);
    QFETCH(int, index);
    QCOMPARE(DtmfMatcher::findMemoryEntry(entries, number), index);
}

void TestDtmfMatcher::findFrequency_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("index");

    QTest::newRow("first of 145.225 and 435.225") << Memories << "5225" << 0;
    QTest::newRow("438.500") << Memories << "8500" << 4;
    QTest::newRow("no such figures") << Memories << "5226" << -1;
    QTest::newRow("comment is not a frequency; comma is a point") << Channels << "5225" << 1;
    QTest::newRow("signs never match") << Channels << "5#25" << -1;
    QTest::newRow("value too short") << Memories << "522" << -1;
}

void TestDtmfMatcher::findFrequency()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, value);
    QFETCH(int, index);
    QCOMPARE(DtmfMatcher::findFrequencyEntry(entries, DtmfMatcher::frequencyKey(value)), index);
}

void TestDtmfMatcher::memoryCodeDigitByDigitOrAtOnce_data()
{
    QTest::addColumn<QStringList>("reports");
    QTest::newRow("one by one") << QStringList{"1", "2", "3", "0", "1", "5"};
    QTest::newRow("code then figures") << QStringList{"1230", "15"};
    QTest::newRow("all at once") << QStringList{"123015"};
}

void TestDtmfMatcher::memoryCodeDigitByDigitOrAtOnce()
{
    QFETCH(QStringList, reports);
    Interpreter p({H, "9 : action 01= x", Code1230});
    p.state.MemoryNumberText = "007";
    for (const QString &chars : reports)
        p.report(chars);
    QCOMPARE(p.logged(), (QStringList{"Code " + Code1230, "MEM A=015"}));
    QCOMPARE(p.pressed, QStringList{"SpeedButtonMEMA 015"});
    QCOMPARE(p.state.MemoryNumberText, QString("015"));
    QVERIFY(p.idle());
}

void TestDtmfMatcher::frequencyCodePicksFirstListed()
{
    Interpreter p({H, Code125});
    p.report("125");
    QCOMPARE(p.state.DtmfState, 11);
    QCOMPARE(p.state.DtmfParameter, QString("125"));
    QCOMPARE(p.state.DtmfReceived, QString("125"));
    // 145.225 and 435.225 both end in 5.225: the first listed is taken.
    p.report("225");
    QCOMPARE(p.pressed, QStringList{"SpeedButtonMEMA 001"});
    QCOMPARE(p.logged().constFirst(), "Code " + Code125);
    QCOMPARE(p.state.MemoryNumberText, QString("001"));
    QVERIFY(p.idle());
}

void TestDtmfMatcher::tooManyFiguresAbandon()
{
    Interpreter p({H, Code1230});
    p.report("1230");
    p.report("1");
    p.report("23");
    QCOMPARE(p.logged(), QStringList{"Code " + Code1230});
    QCOMPARE(p.state.DtmfState, 0);
    QVERIFY(p.state.DtmfParameter.isEmpty());
    QCOMPARE(p.state.DtmfReceived, QString("1230123"));

    // Still beginning with the code, each further report is recognised and abandoned again;
    // nothing is selected until the entry window ends.
    p.report("5");
    QCOMPARE(p.logged().size(), 2);
    QCOMPARE(p.state.DtmfState, 0);
    QCOMPARE(p.state.DtmfReceived, QString("12301235"));
    QVERIFY(p.pressed.isEmpty());

    p.expire();
    QVERIFY(p.idle());
    p.report("123015");
    QCOMPARE(p.pressed, QStringList{"SpeedButtonMEMA 015"});
}

void TestDtmfMatcher::unknownMemoryAbandons()
{
    Interpreter p({H, Code1230, "12A : action 08= Mémoire Nnn sur TXB (Kenwood)"});
    p.state.MemoryNumberText = "015";
    p.report("123099");
    QCOMPARE(p.logged(), QStringList{"Code " + Code1230});
    QVERIFY(p.state.MemoryNumberText.isEmpty());
    QCOMPARE(p.state.DtmfState, 0);
    QCOMPARE(p.state.DtmfReceived, QString("123099"));

    // A code from the file ending in a letter gives a memory number that is no integer.
    p.expire();
    p.report("12A15");
    QCOMPARE(p.logged().size(), 2);
    QCOMPARE(p.state.DtmfState, 0);
    QCOMPARE(p.state.DtmfReceived, QString("12A15"));
    QVERIFY(p.pressed.isEmpty());
}

void TestDtmfMatcher::strayPrefixBlocksUntilExpiry()
{
    Interpreter p({H, Code1230});
    p.report("9");
    p.report("1230");
    QVERIFY(p.logged().isEmpty());
    QCOMPARE(p.state.DtmfReceived, QString("91230"));
    p.report("1a");
    QVERIFY(p.logged().isEmpty());

    p.expire();
    QVERIFY(p.idle());
    p.report("1230");
    QCOMPARE(p.logged(), QStringList{"Code " + Code1230});
    QCOMPARE(p.state.DtmfState, 7);

    // The entry window ending while figures are awaited drops the waiting action.
    p.expire();
    QVERIFY(p.idle());
    p.report("15");
    QVERIFY(p.pressed.isEmpty());
}

void TestDtmfMatcher::unusableEntryConsumesMatch()
{
    StationState state;
    state.DtmfReceived = "77";
    const QStringList table = {H, "77 : nonsense", "7 : action 26= TX"};
    const DtmfSession::Recognition first = DtmfSession::recognise(state, table);
    QCOMPARE(first.kind, DtmfSession::Recognition::Unusable);
    QVERIFY(state.DtmfReceived.isEmpty());

    state.DtmfReceived = "7";
    const DtmfSession::Recognition second = DtmfSession::recognise(state, table);
    QCOMPARE(second.kind, DtmfSession::Recognition::Recognised);
    QCOMPARE(second.action, 26);
    QCOMPARE(second.collected, QString("7"));
    QVERIFY(state.DtmfReceived.isEmpty());
    QCOMPARE(state.DtmfState, 0);
}

void TestDtmfMatcher::genericRadio()
{
    Interpreter p({H, Code1230, "150 : action 10= Mémoire Nnn sur TX actif (Tous)", Code125});
    p.generic.state().setMemories(Channels);
    p.useModel(QStringLiteral("generic"));

    // A band's memory code means nothing to the generic transmitter: the entry closes.
    p.report("123015");
    QCOMPARE(p.logged(), QStringList{"Code " + Code1230});
    QVERIFY(p.idle());
    QVERIFY(p.pressed.isEmpty());
    QVERIFY(p.state.MemoryNumberText.isEmpty()); // no channel was looked for

    p.report("15015");
    QCOMPARE(p.pressed, QStringList{"ComboBoxTXMEM 4"});
    QCOMPARE(p.state.MemoryNumberText, QString("015"));

    // A frequency in a channel's comment is no frequency; a comma is a decimal point.
    p.report("125225");
    QCOMPARE(p.pressed, (QStringList{"ComboBoxTXMEM 4", "ComboBoxTXMEM 1"}));
    QCOMPARE(p.state.MemoryNumberText, QString("002"));
    QVERIFY(p.idle());
}

void TestDtmfMatcher::floodStaysBounded()
{
    Interpreter p({H, Code1230});
    for (int i = 0; i < 1000; ++i)
        p.report("98");
    QCOMPARE(p.state.DtmfReceived.size(), DtmfMatcher::ReceivedCap);
    QVERIFY(p.state.DtmfReceived.startsWith("9898"));
    QVERIFY(p.logged().isEmpty());
}

QTEST_MAIN(TestDtmfMatcher)
#include "tst_dtmf_matcher.moc"
