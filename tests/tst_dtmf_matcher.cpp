#include "core/StationState.h"
#include "dtmf/DtmfMatcher.h"
#include "dtmf/DtmfSession.h"

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

// Drives the state functions in the order the interpreter runs them, for a Kenwood radio or
// the generic transmitter, and records what the window would do.
struct Station
{
    StationState state;
    QStringList table;
    bool generic = false;
    QStringList done;

    void report(const QString &chars)
    {
        state.DtmfLastChars = chars;
        DtmfSession::receive(state);
        interpret();
    }

    void interpret()
    {
        if (state.DtmfState == 0) {
            const DtmfSession::Recognition r = DtmfSession::recognise(state, table);
            if (r.kind != DtmfSession::Recognition::Recognised)
                return;
            done << "Code " + r.entry;
            if (DtmfMatcher::figuresNeeded(r.action) == 0)
                return;
            if (generic && (r.action == 7 || r.action == 8)) {
                DtmfSession::closeEntry(state);
                return;
            }
            DtmfSession::beginWaiting(state, r);
        }
        const DtmfSession::Resolution w =
            DtmfSession::resolveWaiting(state, generic ? Channels : Memories);
        if (w.kind != DtmfSession::Resolution::Found)
            return;
        done << QStringLiteral("select %1 value %2").arg(w.index).arg(w.value);
        DtmfSession::finishWaiting(state);
    }

    bool idle() const
    {
        return state.DtmfReceived.isEmpty() && state.DtmfState == 0 &&
               state.DtmfParameter.isEmpty();
    }
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
    Station station;
    station.table = {H, "9 : action 01= x", Code1230};
    station.state.MemoryNumberText = "007";
    for (const QString &chars : reports)
        station.report(chars);
    QCOMPARE(station.done, (QStringList{"Code " + Code1230, "select 1 value 015"}));
    QCOMPARE(station.state.MemoryNumberText, QString("015"));
    QVERIFY(station.idle());
}

void TestDtmfMatcher::frequencyCodePicksFirstListed()
{
    Station station;
    station.table = {H, Code125};
    station.report("125");
    QCOMPARE(station.state.DtmfState, 11);
    QCOMPARE(station.state.DtmfParameter, QString("125"));
    QCOMPARE(station.state.DtmfReceived, QString("125"));
    station.report("225");
    QCOMPARE(station.done, (QStringList{"Code " + Code125, "select 0 value 5225"}));
    QCOMPARE(station.state.MemoryNumberText, QString("001"));
    QVERIFY(station.idle());
}

void TestDtmfMatcher::tooManyFiguresAbandon()
{
    Station station;
    station.table = {H, Code1230};
    station.report("1230");
    station.report("1");
    station.report("23");
    QCOMPARE(station.done, QStringList{"Code " + Code1230});
    QCOMPARE(station.state.DtmfState, 0);
    QVERIFY(station.state.DtmfParameter.isEmpty());
    QCOMPARE(station.state.DtmfReceived, QString("1230123"));

    // Still beginning with the code, each further report is recognised and abandoned again;
    // nothing is selected until the entry window ends.
    station.report("5");
    QCOMPARE(station.done.size(), 2);
    QCOMPARE(station.state.DtmfState, 0);
    QCOMPARE(station.state.DtmfReceived, QString("12301235"));

    DtmfSession::expire(station.state);
    QVERIFY(station.idle());
    station.report("123015");
    QCOMPARE(station.done.last(), QString("select 1 value 015"));
}

void TestDtmfMatcher::unknownMemoryAbandons()
{
    Station station;
    station.table = {H, Code1230, "12A : action 08= Mémoire Nnn sur TXB (Kenwood)"};
    station.state.MemoryNumberText = "015";
    station.report("123099");
    QCOMPARE(station.done, QStringList{"Code " + Code1230});
    QVERIFY(station.state.MemoryNumberText.isEmpty());
    QCOMPARE(station.state.DtmfState, 0);
    QCOMPARE(station.state.DtmfReceived, QString("123099"));

    // A code from the file ending in a letter gives a memory number that is no integer.
    DtmfSession::expire(station.state);
    station.report("12A15");
    QCOMPARE(station.done.size(), 2);
    QCOMPARE(station.state.DtmfState, 0);
    QCOMPARE(station.state.DtmfReceived, QString("12A15"));
}

void TestDtmfMatcher::strayPrefixBlocksUntilExpiry()
{
    Station station;
    station.table = {H, Code1230};
    station.report("9");
    station.report("1230");
    QVERIFY(station.done.isEmpty());
    QCOMPARE(station.state.DtmfReceived, QString("91230"));
    station.report("1a");
    QVERIFY(station.done.isEmpty());

    DtmfSession::expire(station.state);
    QVERIFY(station.idle());
    station.report("1230");
    QCOMPARE(station.done, QStringList{"Code " + Code1230});
    QCOMPARE(station.state.DtmfState, 7);

    // The entry window ending while figures are awaited drops the waiting action.
    DtmfSession::expire(station.state);
    QVERIFY(station.idle());
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
    Station station;
    station.generic = true;
    station.table = {H, Code1230, "150 : action 10= Mémoire Nnn sur TX actif (Tous)", Code125};

    station.report("123015");
    QCOMPARE(station.done, QStringList{"Code " + Code1230});
    QVERIFY(station.idle());

    station.report("15015");
    QCOMPARE(station.done.last(), QString("select 4 value 015"));
    QCOMPARE(station.state.MemoryNumberText, QString("015"));

    station.report("125225");
    QCOMPARE(station.done.last(), QString("select 1 value 5225"));
    QCOMPARE(station.state.MemoryNumberText, QString("002"));
    QVERIFY(station.idle());
}

void TestDtmfMatcher::floodStaysBounded()
{
    Station station;
    station.table = {H, Code1230};
    for (int i = 0; i < 1000; ++i)
        station.report("98");
    QCOMPARE(station.state.DtmfReceived.size(), DtmfMatcher::ReceivedCap);
    QVERIFY(station.state.DtmfReceived.startsWith("9898"));
    QVERIFY(station.done.isEmpty());
}

QTEST_GUILESS_MAIN(TestDtmfMatcher)
#include "tst_dtmf_matcher.moc"
