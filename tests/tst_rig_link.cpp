#include "core/StationState.h"
#include "core/TrafficLine.h"
#include "kenwood/RigLink.h"
#include "platform/LinkSettings.h"
#include "support/PtyPeer.h"
#include "support/RigSimProcess.h"
#include "ui/StatusLines.h"
#include "ui/TrafficDisplay.h"

#include <QCoroTask>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

// The serial exchange against rigsim and a scripted pty: replies end at their carriage return,
// noise is read over, over-long lines are cut, silence times out, exchanges never overlap.
class TestRigLink : public QObject
{
    Q_OBJECT

    // The link with the status and traffic lines shown as the window shows them.
    struct Link
    {
        Link()
        {
            QObject::connect(&link, &RigLink::silenceNoticed,
                             [this] { StatusLines::showRig(&status, state); });
            QObject::connect(&replies, &TrafficLine::appended, [this](const QString &text) {
                TrafficDisplay::append(&traffic, text);
            });
        }
        StationState state;
        SerialPortSettings settings;
        QLineEdit status;
        QLineEdit traffic;
        TrafficLine replies;
        RigLink link{state, settings, &replies};
    };

private slots:
    void roundTripShowsReplyInTraffic();
    void oneCharacterReadIsDroppedThenReplyTaken();
    void overLongReplyIsCutAndItsRestBelongsToNobody();
    void linesThatDoNotAnswerAreReadOver_data();
    void linesThatDoNotAnswerAreReadOver();
    void replyWithoutCarriageReturnEndsAtReadInterval();
    void replyBeforeDeadlineAcceptedAfterItTimesOut_data();
    void replyBeforeDeadlineAcceptedAfterItTimesOut();
    void silentRadioTimesOutAndLateReplyIsNotTakenByNextCommand();
    void lateReplyDuringTheNextExchangeIsReadOver();
    void overlappingExchangesEachGetTheirOwnReply();
    void portNotOpenTimesOutAtOnce();
    void trafficKeepsNewestText();
};

void TestRigLink::roundTripShowsReplyInTraffic()
{
    RigSimProcess rig;
    const QString pty = rig.start({QStringLiteral("--model"), QStringLiteral("TMV71")});
    QVERIFY(!pty.isEmpty());
    Link l;
    QVERIFY(l.link.open(pty));
    QCOMPARE(QCoro::waitFor(l.link.exchange(QStringLiteral("ID"))), QStringLiteral("ID TM-V71\r"));
    QCOMPARE(QCoro::waitFor(l.link.exchange(QStringLiteral("PC 0,2"))), QStringLiteral("PC 0,2\r"));
    QCOMPARE(l.state.RigReply, QStringLiteral("PC 0,2\r"));
    QCOMPARE(l.traffic.text(), QStringLiteral("ID TM-V71\rPC 0,2\r"));
    QCOMPARE(l.traffic.cursorPosition(), l.traffic.text().size());
    QCOMPARE(rig.receivedCommands(), (QStringList{QStringLiteral("ID"), QStringLiteral("PC 0,2")}));
}

void TestRigLink::oneCharacterReadIsDroppedThenReplyTaken()
{
    PtyPeer peer;
    QVERIFY(peer.isOpen());
    // A lone carriage return is a one-character read; the reply proper follows.
    peer.script("ID", "\rID TM-D710\r");
    Link l;
    QVERIFY(l.link.open(peer.path()));
    QCOMPARE(QCoro::waitFor(l.link.exchange(QStringLiteral("ID"))), QStringLiteral("ID TM-D710\r"));
    QCOMPARE(l.state.RigStatus, 0); // untouched: only a time-out writes it here
    QVERIFY(l.state.RigAnswering);
}

void TestRigLink::overLongReplyIsCutAndItsRestBelongsToNobody()
{
    PtyPeer peer;
    const QByteArray record = "ME 001," + QByteArray(142, '0') + '\r';
    peer.script("ME 001", record);
    peer.script("AI 0", "AI 0\r");
    Link l;
    QVERIFY(l.link.open(peer.path()));
    const QString first = QCoro::waitFor(l.link.exchange(QStringLiteral("ME 001")));
    QCOMPARE(first, QString::fromLatin1(record.left(RigLink::MaxReplyLength)));
    // The rest of the line came before the next command was written: it is not that reply.
    QTest::qWait(50);
    QCOMPARE(QCoro::waitFor(l.link.exchange(QStringLiteral("AI 0"))), QStringLiteral("AI 0\r"));
}

void TestRigLink::linesThatDoNotAnswerAreReadOver_data()
{
    QTest::addColumn<QByteArray>("before");   // on the line before the command is written
    QTest::addColumn<QByteArray>("scripted"); // the radio's output after the command
    QTest::addColumn<QString>("expected");
    QTest::newRow("unasked line before")
        << QByteArray("BY 0,1\r") << QByteArray("SC 0\r") << QStringLiteral("SC 0\r");
    QTest::newRow("stray line first")
        << QByteArray() << QByteArray("BY 0,1\rMR 0,005\rSC 0\r") << QStringLiteral("SC 0\r");
    QTest::newRow("unknown command")
        << QByteArray("BY 0,1\r") << QByteArray("?\r") << QStringLiteral("?\r");
    QTest::newRow("refused command")
        << QByteArray() << QByteArray("BY 1,0\rN\r") << QStringLiteral("N\r");
}

void TestRigLink::linesThatDoNotAnswerAreReadOver()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, scripted);
    QFETCH(QString, expected);
    PtyPeer peer;
    peer.script("SC", scripted);
    Link l;
    QVERIFY(l.link.open(peer.path()));
    if (!before.isEmpty()) {
        peer.sendRaw(before);
        QTest::qWait(50);
    }
    QCOMPARE(QCoro::waitFor(l.link.exchange(QStringLiteral("SC"))), expected);
    QVERIFY(l.state.RigAnswering);
    QCOMPARE(l.traffic.text(), expected);
}

void TestRigLink::replyWithoutCarriageReturnEndsAtReadInterval()
{
    PtyPeer peer;
    peer.script("ID", "ID TM-D700");
    Link l;
    QVERIFY(l.link.open(peer.path()));
    QCOMPARE(QCoro::waitFor(l.link.exchange(QStringLiteral("ID"))), QStringLiteral("ID TM-D700"));
    QVERIFY(l.state.RigAnswering);
}

void TestRigLink::replyBeforeDeadlineAcceptedAfterItTimesOut_data()
{
    QTest::addColumn<int>("delayMs");
    QTest::addColumn<QString>("expected");
    QTest::newRow("2.9 s") << 2900 << QStringLiteral("ID TM-D710\r");
    QTest::newRow("3.1 s") << 3100 << QStringLiteral("timerout");
}

void TestRigLink::replyBeforeDeadlineAcceptedAfterItTimesOut()
{
    QFETCH(int, delayMs);
    QFETCH(QString, expected);
    RigSimProcess rig;
    const QString pty = rig.start({QStringLiteral("--delay"), QString::number(delayMs)});
    QVERIFY(!pty.isEmpty());
    Link l;
    l.state.ModelLabel = QStringLiteral("TMD710 ");
    QVERIFY(l.link.open(pty));
    QCOMPARE(QCoro::waitFor(l.link.exchange(QStringLiteral("ID"))), expected);
    const bool timedOut = expected == QLatin1String("timerout");
    QCOMPARE(l.state.RigAnswering, !timedOut);
    if (timedOut) {
        QCOMPARE(l.status.text(), QStringLiteral("TMD710 ne répond pas"));
        QVERIFY(l.status.styleSheet().contains(QLatin1String("rgb(255, 0, 0)")));
        QVERIFY(l.traffic.text().isEmpty());
    }
}

void TestRigLink::silentRadioTimesOutAndLateReplyIsNotTakenByNextCommand()
{
    PtyPeer peer;
    peer.script("ID", QByteArray()); // never answered
    peer.script("AI 0", "AI 0\r");
    Link l;
    l.state.RigStatus = 3;
    QVERIFY(l.link.open(peer.path()));
    QCOMPARE(QCoro::waitFor(l.link.exchange(QStringLiteral("ID"))), QStringLiteral("timerout"));
    QCOMPARE(l.state.RigStatus, 0);
    QVERIFY(!l.state.RigAnswering);
    QCOMPARE(l.state.RigReply, QStringLiteral("timerout"));
    // The radio wakes up late: that reply belongs to the exchange that gave up.
    peer.sendRaw("ID TM-D710\r");
    QTest::qWait(50);
    QCOMPARE(QCoro::waitFor(l.link.exchange(QStringLiteral("AI 0"))), QStringLiteral("AI 0\r"));
}

void TestRigLink::lateReplyDuringTheNextExchangeIsReadOver()
{
    RigSimProcess rig;
    const QString pty = rig.start({QStringLiteral("--control")});
    QVERIFY(!pty.isEmpty());
    rig.order("late ID 3300");
    Link l;
    QVERIFY(l.link.open(pty));
    QCOMPARE(QCoro::waitFor(l.link.exchange(QStringLiteral("ID"))), QStringLiteral("timerout"));
    // The ID reply comes 0.3 s into this exchange, its own reply after it.
    QCOMPARE(QCoro::waitFor(l.link.exchange(QStringLiteral("PC 1"))), QStringLiteral("PC 1,2\r"));
    QCOMPARE(QCoro::waitFor(l.link.exchange(QStringLiteral("BC"))), QStringLiteral("BC 0,0\r"));
    QVERIFY2(rig.logText().contains(QLatin1String("> ID TM-D710")), qPrintable(rig.logText()));
}

void TestRigLink::overlappingExchangesEachGetTheirOwnReply()
{
    RigSimProcess rig;
    const QString pty = rig.start({QStringLiteral("--delay"), QStringLiteral("300")});
    QVERIFY(!pty.isEmpty());
    Link l;
    QVERIFY(l.link.open(pty));
    // Asked for while the first one waits for its reply, as a timer tick or a click would; the
    // unkey asked for last takes the port first.
    QCoro::Task<QString> outer = l.link.exchange(QStringLiteral("ID"));
    QCoro::Task<QString> inner = l.link.exchange(QStringLiteral("PC 1"));
    QCoro::Task<QString> unkey = l.link.exchange(QStringLiteral("RX"), RigLink::Turn::First);
    QVERIFY(l.link.isBusy());
    QCOMPARE(QCoro::waitFor(outer), QStringLiteral("ID TM-D710\r"));
    QCOMPARE(QCoro::waitFor(inner), QStringLiteral("PC 1,2\r"));
    QCOMPARE(QCoro::waitFor(unkey), QStringLiteral("RX\r"));
    QVERIFY(!l.link.isBusy());
    // Each command went out only once the reply before it was in.
    const QString log = rig.logText();
    const qsizetype firstReply = log.indexOf(QLatin1String("> ID TM-D710"));
    const qsizetype unkeyCommand = log.indexOf(QLatin1String("< RX"));
    const qsizetype unkeyReply = log.indexOf(QLatin1String("> RX"));
    const qsizetype lastCommand = log.indexOf(QLatin1String("< PC 1"));
    QVERIFY2(firstReply >= 0 && unkeyCommand > firstReply && lastCommand > unkeyReply &&
                 unkeyReply > unkeyCommand,
             qPrintable(log));
}

void TestRigLink::portNotOpenTimesOutAtOnce()
{
    Link l;
    l.state.ModelLabel = QStringLiteral("TMD700 ");
    QVERIFY(!l.link.open(QStringLiteral("/nonexistent/ttyNone")));
    QCOMPARE(QCoro::waitFor(l.link.exchange(QStringLiteral("ID"))), QStringLiteral("timerout"));
    QVERIFY(!l.state.RigAnswering);
    QCOMPARE(l.status.text(), QStringLiteral("TMD700 ne répond pas"));
}

// The line keeps only its newest text, yet enough of it to fill its whole width, even with the
// narrowest characters: the operator sees what a line holding all the traffic would show.
void TestRigLink::trafficKeepsNewestText()
{
    QLineEdit display;
    display.resize(385, 22);
    for (const QChar character : {u'i', u'.', u'W', u'0'}) {
        TrafficDisplay::clear(&display);
        TrafficDisplay::append(&display, QString(3 * TrafficDisplay::Capacity, character));
        TrafficDisplay::append(&display, QStringLiteral("ID TM-D710\r"));
        const QString shown = display.text();
        QVERIFY(shown.endsWith(QString(3, character) + QStringLiteral("ID TM-D710\r")));
        QVERIFY(shown.size() <= TrafficDisplay::Capacity);
        QCOMPARE(display.cursorPosition(), shown.size());
        QVERIFY2(display.fontMetrics().horizontalAdvance(shown) >= display.width(),
                 qPrintable(shown));
    }
    // A wider line keeps more, up to the bound.
    display.resize(4000, 22);
    TrafficDisplay::append(&display, QString(2 * TrafficDisplay::Capacity, u'i'));
    QCOMPARE(display.text().size(), TrafficDisplay::Capacity);
}

QTEST_MAIN(TestRigLink)
#include "tst_rig_link.moc"
