#include "dtmf/DtmfCatalogue.h"
#include "dtmf/DtmfCodeTable.h"

#include <QtTest>
#include <algorithm>

using DtmfCodeTable::Outcome;

Q_DECLARE_METATYPE(DtmfCodeTable::Outcome)

namespace {

const QString H = QStringLiteral(" [DTMF]");

// The catalogue text of an action number in the given catalogue.
QString action(const QStringList &catalogue, int number)
{
    const auto &numbers = DtmfCatalogue::ActionNumbers;
    const auto at = std::find(numbers.begin(), numbers.end(), number);
    return at == numbers.end() ? QString() : catalogue.at(int(at - numbers.begin()));
}

QString fr(int number)
{
    return action(DtmfCatalogue::DtmfActionsFr, number);
}

QString en(int number)
{
    return action(DtmfCatalogue::DtmfActionsEn, number);
}

} // namespace

class TestDtmfRules : public QObject
{
    Q_OBJECT

private slots:
    void catalogueTexts_data();
    void catalogueTexts();
    void catalogueOrder();
    void entryParts_data();
    void entryParts();
    void addCode_data();
    void addCode();
    void sortedTable_data();
    void sortedTable();
};

void TestDtmfRules::catalogueTexts_data()
{
    QTest::addColumn<bool>("english");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");

    QTest::newRow("fr 00") << false << 0 << "00= nil";
    QTest::newRow("fr 05 accents") << false << 5 << "05= TXA en mode Mémoire précédente (Kenwood)";
    QTest::newRow("fr 06 two blanks")
        << false << 6 << "06= TXB en mode Mémoire précédente  (Kenwood)";
    QTest::newRow("fr 07") << false << 7 << "07= Mémoire Nnn sur TXA (Kenwood)";
    QTest::newRow("fr 11") << false << 11 << "11= Fréquence Ffff sur TX actif (Tous)";
    QTest::newRow("fr 20 two blanks") << false << 12 << "20= Puissance TXA Low  (Kenwood)";
    QTest::newRow("fr 23 one blank") << false << 15 << "23= Puissance TXB Low (Kenwood)";
    QTest::newRow("fr 26") << false << 18 << "26= TX en émission (Tous)";
    QTest::newRow("fr 30 double parenthesis")
        << false << 20 << "30= Lancer le scanning (TMD700/Generic))";
    QTest::newRow("fr 31 grave accent")
        << false << 21 << "31= Arrèter le scanning (TMD700/Generic)";
    QTest::newRow("fr 36") << false << 26 << "36= Option Balayage ascenceur (Generic)";
    QTest::newRow("fr 40 lower-case generic")
        << false << 27 << "40= Resynchronisation Up (generic)";
    QTest::newRow("fr 99") << false << 29 << "99= Initialisation/Sauvegarde";
    QTest::newRow("en 06") << true << 6 << "06= Switch TXB to last memory (Kenwood)";
    QTest::newRow("en 07") << true << 7 << "07= Switch TXA to memory #Nnn (Kenwood)";
    QTest::newRow("en 11") << true << 11 << "11= Switch active TX to frequency Ffff (All)";
    QTest::newRow("en 20") << true << 12 << "20= Switch TXA power to Low (Kenwood)";
    QTest::newRow("en 30") << true << 20 << "30= Start scanning (TMD700/Generic)";
    QTest::newRow("en 35") << true << 25 << "35= Option : circular scanning (Generic)";
    QTest::newRow("en 41") << true << 28 << "41= Resynchronisation Dn (generic)";
    QTest::newRow("en 99 trailing blank") << true << 29 << "99= Initialization/Save configuration ";
}

void TestDtmfRules::catalogueTexts()
{
    QFETCH(bool, english);
    QFETCH(int, index);
    QFETCH(QString, text);
    const QStringList &catalogue =
        english ? DtmfCatalogue::DtmfActionsEn : DtmfCatalogue::DtmfActionsFr;
    QCOMPARE(catalogue.at(index), text);
}

// The action box keeps its items sorted, so its item n must be catalogue entry n: each text
// starts with its own number and the list is already in sorted order.
void TestDtmfRules::catalogueOrder()
{
    QCOMPARE(DtmfCatalogue::DtmfListHeader, H);
    for (const QStringList *catalogue :
         {&DtmfCatalogue::DtmfActionsFr, &DtmfCatalogue::DtmfActionsEn}) {
        QCOMPARE(catalogue->size(), DtmfCatalogue::ActionCount);
        for (int i = 0; i < DtmfCatalogue::ActionCount; ++i) {
            const QString prefix = QStringLiteral("%1= ").arg(DtmfCatalogue::ActionNumbers[i], 2,
                                                              10, QLatin1Char('0'));
            QVERIFY2(catalogue->at(i).startsWith(prefix), qPrintable(catalogue->at(i)));
            QCOMPARE(DtmfCatalogue::actionNumberOfText(catalogue->at(i)),
                     DtmfCatalogue::ActionNumbers[i]);
        }
        QVERIFY(std::is_sorted(catalogue->begin(), catalogue->end()));
    }
}

void TestDtmfRules::entryParts_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("number"); // -1: no usable action number

    QTest::newRow("french entry") << "1230 : action 07= Mémoire Nnn sur TXA (Kenwood)"
                                  << "1230" << 7;
    QTest::newRow("english entry") << "#*1 : action 99= Initialization/Save configuration "
                                   << "#*1" << 99;
    QTest::newRow("nil") << "5 : action 00= nil"
                         << "5" << 0;
    QTest::newRow("no blank") << "1230"
                              << "" << -1;
    QTest::newRow("header") << " [DTMF]"
                            << "" << -1;
    QTest::newRow("no action word") << "12 : 07= Mémoire"
                                    << "12" << -1;
    QTest::newRow("no equals sign") << "12 : action 07 Mémoire"
                                    << "12" << -1;
    QTest::newRow("equals before action") << "1=2 : action 07= x"
                                          << "1=2" << -1;
    QTest::newRow("empty number") << "12 : action = x"
                                  << "12" << -1;
    QTest::newRow("number not integer") << "12 : action 0x= x"
                                        << "12" << -1;
    QTest::newRow("value holding equals") << "12 : action 26= TX = on"
                                          << "12" << 26;
}

void TestDtmfRules::entryParts()
{
    QFETCH(QString, entry);
    QFETCH(QString, code);
    QFETCH(int, number);
    QCOMPARE(DtmfCatalogue::codeOf(entry), code);
    const std::optional<int> read = DtmfCatalogue::actionNumberOf(entry);
    QCOMPARE(read.value_or(-1), number);
    QCOMPARE(read.has_value(), number >= 0);
}

void TestDtmfRules::addCode_data()
{
    QTest::addColumn<QStringList>("table");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("actionText");
    QTest::addColumn<bool>("english");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("index");

    const QString m1230 = "1230 : action 07= Mémoire Nnn sur TXA (Kenwood)";
    const QString c123 = "123 : action 01= Commuter sur TXA (Kenwood)";
    const QStringList with123 = {H, c123};

    // Ending rule.
    QTest::newRow("07 code ending in 0") << QStringList{H} << "1230" << fr(7) << false
                                         << Outcome::Added << QStringList{H, m1230} << 1;
    QTest::newRow("07 code ending in 2") << QStringList{H} << "1232" << fr(7) << false
                                         << Outcome::MustEndIn01 << QStringList{H} << -1;
    QTest::newRow("08 code ending in 1")
        << QStringList{H} << "451" << fr(8) << false << Outcome::Added
        << QStringList{H, "451 : action 08= Mémoire Nnn sur TXB (Kenwood)"} << 1;
    QTest::newRow("10 code ending in 9") << QStringList{H} << "19" << fr(10) << false
                                         << Outcome::MustEndIn01 << QStringList{H} << -1;
    QTest::newRow("11 code ending in 5")
        << QStringList{H} << "125" << fr(11) << false << Outcome::Added
        << QStringList{H, "125 : action 11= Fréquence Ffff sur TX actif (Tous)"} << 1;
    QTest::newRow("11 code ending in 3") << QStringList{H} << "123" << fr(11) << false
                                         << Outcome::MustEndIn45 << QStringList{H} << -1;
    QTest::newRow("11 code ending in 0") << QStringList{H} << "120" << fr(11) << false
                                         << Outcome::MustEndIn45 << QStringList{H} << -1;
    QTest::newRow("11 code ending in 4, english")
        << QStringList{H} << "124" << en(11) << true << Outcome::Added
        << QStringList{H, "124 : action 11= Switch active TX to frequency Ffff (All)"} << 1;
    QTest::newRow("other actions take any ending")
        << QStringList{H} << "*#9" << fr(26) << false << Outcome::Added
        << QStringList{H, "*#9 : action 26= TX en émission (Tous)"} << 1;

    // Character check, after the ending rule.
    QTest::newRow("lower case stored upper")
        << QStringList{H} << "12ab" << fr(1) << false << Outcome::Added
        << QStringList{H, "12AB : action 01= Commuter sur TXA (Kenwood)"} << 1;
    QTest::newRow("letter past D") << QStringList{H} << "12E" << fr(1) << false
                                   << Outcome::BadCharacter << QStringList{H} << -1;
    QTest::newRow("blank in code") << QStringList{H} << "12 3" << fr(1) << false
                                   << Outcome::BadCharacter << QStringList{H} << -1;
    QTest::newRow("ending rule before character check")
        << QStringList{H} << "12X" << fr(7) << false << Outcome::MustEndIn01 << QStringList{H}
        << -1;
    QTest::newRow("good ending, bad character") << QStringList{H} << "1x0" << fr(7) << false
                                                << Outcome::BadCharacter << QStringList{H} << -1;

    // Nothing to do.
    QTest::newRow("empty code") << with123 << "" << fr(1) << false << Outcome::Nothing << with123
                                << -1;
    QTest::newRow("empty action") << with123 << "456"
                                  << "" << false << Outcome::Nothing << with123 << -1;
    QTest::newRow("typed action text")
        << with123 << "12E"
        << "07= Mémoire" << false << Outcome::Nothing << with123 << -1;
    QTest::newRow("text of the other language")
        << with123 << "456" << en(1) << false << Outcome::Nothing << with123 << -1;
    QTest::newRow("nil for an unknown code")
        << with123 << "456" << fr(0) << false << Outcome::Nothing << with123 << -1;

    // Walking the table.
    QTest::newRow("existing code starts like the new one")
        << with123 << "12" << fr(2) << false << Outcome::ExistingStartsWithNew << with123 << 1;
    QTest::newRow("new code starts like an existing one")
        << with123 << "1234" << fr(2) << false << Outcome::NewStartsWithExisting << with123 << 1;
    QTest::newRow("same code asks to replace")
        << with123 << "123" << fr(2) << false << Outcome::ConfirmReplace
        << QStringList{H, "123 : action 02= Commuter sur TXB (Kenwood)"} << 1;
    QTest::newRow("same code, english action")
        << with123 << "123" << en(2) << true << Outcome::ConfirmReplace
        << QStringList{H, "123 : action 02= Switch to TXB (Kenwood)"} << 1;
    QTest::newRow("nil deletes without a question")
        << with123 << "123" << fr(0) << false << Outcome::Deleted << QStringList{H} << 1;
    QTest::newRow("english nil deletes a french entry")
        << QStringList{H, "9 : action 26= TX en émission (Tous)", c123} << "123" << en(0) << true
        << Outcome::Deleted << QStringList{H, "9 : action 26= TX en émission (Tous)"} << 2;
    QTest::newRow("first entry in table order decides")
        << QStringList{H, c123, "12 : action 02= x"} << "12" << fr(0) << false
        << Outcome::ExistingStartsWithNew << QStringList{H, c123, "12 : action 02= x"} << 1;
    QTest::newRow("replaced entry takes its sorted place")
        << QStringList{H, "1 : action 01= a", "5 : action 02= b", "9 : action 03= c"} << "5"
        << en(26) << true << Outcome::ConfirmReplace
        << QStringList{H, "1 : action 01= a", "5 : action 26= TX in transmit mode (All)",
                       "9 : action 03= c"}
        << 2;
    QTest::newRow("malformed file entries are not compared")
        << QStringList{H, "12", " 12 : action 01= x"} << "12" << fr(26) << false << Outcome::Added
        << QStringList{H, " 12 : action 01= x", "12", "12 : action 26= TX en émission (Tous)"} << 3;

    // Sorting after an addition.
    QTest::newRow("file order sorted at the first addition")
        << QStringList{H, "9 : action 01= a", "A5 : action 02= b", "#1 : action 03= c"} << "3"
        << fr(27) << false << Outcome::Added
        << QStringList{H, "#1 : action 03= c", "3 : action 27= TX en réception (Tous)",
                       "9 : action 01= a", "A5 : action 02= b"}
        << 2;
    QTest::newRow("table without its header gets one")
        << QStringList{} << "1230" << fr(7) << false << Outcome::Added << QStringList{H, m1230}
        << 1;
}

void TestDtmfRules::addCode()
{
    QFETCH(QStringList, table);
    QFETCH(QString, code);
    QFETCH(QString, actionText);
    QFETCH(bool, english);
    QFETCH(Outcome, outcome);
    QFETCH(QStringList, lines);
    QFETCH(int, index);

    const QStringList &catalogue =
        english ? DtmfCatalogue::DtmfActionsEn : DtmfCatalogue::DtmfActionsFr;
    const DtmfCodeTable::EditResult result =
        DtmfCodeTable::addCode(table, code, actionText, catalogue);
    QCOMPARE(result.outcome, outcome);
    QCOMPARE(result.lines, lines);
    QCOMPARE(result.entryIndex, index);
    if (outcome == Outcome::Added || outcome == Outcome::ConfirmReplace)
        QVERIFY(result.lines.contains(result.entry));
}

void TestDtmfRules::sortedTable_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("empty") << QStringList{} << QStringList{};
    QTest::newRow("header alone") << QStringList{H} << QStringList{H};
    QTest::newRow("header stays first whatever it holds")
        << QStringList{"~ header", "B", "A"} << QStringList{"~ header", "A", "B"};
    QTest::newRow("case folded, ties by exact text")
        << QStringList{H, "b", "B", "a"} << QStringList{H, "a", "B", "b"};
    QTest::newRow("keys in character order")
        << QStringList{H, "D", "*", "0", "#", "A"} << QStringList{H, "#", "*", "0", "A", "D"};
}

void TestDtmfRules::sortedTable()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, expected);
    QCOMPARE(DtmfCodeTable::sorted(lines), expected);
}

QTEST_GUILESS_MAIN(TestDtmfRules)
#include "tst_dtmf_rules.moc"
