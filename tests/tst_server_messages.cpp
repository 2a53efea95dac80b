#include "server/LineAssembler.h"
#include "server/ServerMessages.h"

#include <QRandomGenerator>

#include <QTest>

Q_DECLARE_METATYPE(ServerCommand)
Q_DECLARE_METATYPE(AudioChannel)

namespace {

// Classifies every message of a chunk, in order, as the server link will.
QList<ServerCommand> commandsOf(const QByteArray &chunk)
{
    QList<ServerCommand> out;
    for (const QByteArray &message : ServerMessages::split(chunk))
        out.append(ServerMessages::classify(message));
    return out;
}

} // namespace

class TestServerMessages : public QObject
{
    Q_OBJECT

private slots:
    void splitsAtEachLineEnd_data();
    void splitsAtEachLineEnd();
    void keepsEveryByte_data();
    void keepsEveryByte();
    void boundsLongMessages_data();
    void boundsLongMessages();
    void classifiesKeywordsInOrder_data();
    void classifiesKeywordsInOrder();
    void extractsDtmfCharacters_data();
    void extractsDtmfCharacters();
    void chunksActInOrder_data();
    void chunksActInOrder();
    void linesCutAnywhereComeOutWhole();
    void unfinishedTailStaysBounded();
    void gatesTransmitReceiveByChannel_data();
    void gatesTransmitReceiveByChannel();
};

void TestServerMessages::splitsAtEachLineEnd_data()
{
    QTest::addColumn<QByteArray>("chunk");
    QTest::addColumn<QList<QByteArray>>("messages");

    QTest::newRow("empty chunk") << QByteArray() << QList<QByteArray>{};
    QTest::newRow("one line") << QByteArray("1234\r\n") << QList<QByteArray>{"1234\r\n"};
    QTest::newRow("no line end") << QByteArray("FREQUENCY") << QList<QByteArray>{"FREQUENCY"};
    QTest::newRow("lone LF is not a line end")
        << QByteArray("1\n2\n") << QList<QByteArray>{"1\n2\n"};
    QTest::newRow("lone CR is not a line end")
        << QByteArray("1\r2\r") << QList<QByteArray>{"1\r2\r"};
    QTest::newRow("two lines") << QByteArray("1\r\n2\r\n") << QList<QByteArray>{"1\r\n", "2\r\n"};
    QTest::newRow("line then remainder")
        << QByteArray("ZZZZZ\r\n12") << QList<QByteArray>{"ZZZZZ\r\n", "12"};
    QTest::newRow("bare line end") << QByteArray("\r\n") << QList<QByteArray>{"\r\n"};
    QTest::newRow("empty line between")
        << QByteArray("A\r\n\r\nB\r\n") << QList<QByteArray>{"A\r\n", "\r\n", "B\r\n"};
    QTest::newRow("LF CR is not a line end")
        << QByteArray("12\n\r34\r\n") << QList<QByteArray>{"12\n\r34\r\n"};
    QTest::newRow("CR CR LF splits after the LF")
        << QByteArray("12\r\r\n3") << QList<QByteArray>{"12\r\r\n", "3"};
}

void TestServerMessages::splitsAtEachLineEnd()
{
    QFETCH(QByteArray, chunk);
    QFETCH(QList<QByteArray>, messages);
    QCOMPARE(ServerMessages::split(chunk), messages);
}

void TestServerMessages::keepsEveryByte_data()
{
    QTest::addColumn<QByteArray>("chunk");
    QTest::newRow("binary with NUL") << QByteArray("\0\x01\xff\r\n\0", 6);
    QTest::newRow("mixed line ends") << QByteArray("a\r\nb\nc\r\r\n\r\nd");
    QTest::newRow("many short lines") << QByteArray("1\r\n").repeated(300);
    QTest::newRow("long line without end")
        << QByteArray(3 * ServerMessages::MaxMessageBytes + 7, '5');
    QTest::newRow("long line with end")
        << QByteArray(ServerMessages::MaxMessageBytes * 2, 'x') + "\r\nA";
}

void TestServerMessages::keepsEveryByte()
{
    // Whatever the server sends reaches the handlers, in order, exactly once.
    QFETCH(QByteArray, chunk);
    const QList<QByteArray> messages = ServerMessages::split(chunk);
    QCOMPARE(messages.join(), chunk);
    for (const QByteArray &message : messages)
        QVERIFY(!message.isEmpty());
}

void TestServerMessages::boundsLongMessages_data()
{
    QTest::addColumn<qsizetype>("bodySize");
    QTest::addColumn<bool>("withLineEnd");
    QTest::addColumn<int>("expectedCount");

    constexpr qsizetype cap = ServerMessages::MaxMessageBytes;
    QTest::newRow("exactly the cap") << cap << false << 1;
    QTest::newRow("exactly the cap, with line end") << cap << true << 1;
    QTest::newRow("one over the cap") << cap + 1 << false << 2;
    QTest::newRow("one over the cap, with line end") << cap + 1 << true << 2;
    QTest::newRow("ten times the cap") << 10 * cap << false << 10;
    QTest::newRow("a megabyte") << qsizetype(1 << 20) << true << int((1 << 20) / cap);
}

void TestServerMessages::boundsLongMessages()
{
    QFETCH(qsizetype, bodySize);
    QFETCH(bool, withLineEnd);
    QFETCH(int, expectedCount);

    const QByteArray chunk = QByteArray(bodySize, '7') + (withLineEnd ? "\r\n" : "");
    const QList<QByteArray> messages = ServerMessages::split(chunk);
    QCOMPARE(messages.size(), expectedCount);
    for (const QByteArray &message : messages)
        QVERIFY(message.size() <= ServerMessages::MaxMessageBytes + 2);
    // The line end stays with the final piece so the last part is still read as a line.
    QCOMPARE(messages.last().endsWith("\r\n"), withLineEnd);
    QCOMPARE(messages.join(), chunk);
}

void TestServerMessages::classifiesKeywordsInOrder_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<ServerCommand>("command");

    QTest::newRow("frequency") << QByteArray("FREQUENCY\r\n") << ServerCommand::ReportFrequency;
    QTest::newRow("frequency without line end")
        << QByteArray("FREQUENCY") << ServerCommand::ReportFrequency;
    QTest::newRow("transmit left") << QByteArray("TRANSMIT_L\r\n") << ServerCommand::TransmitLeft;
    QTest::newRow("receive left") << QByteArray("RECEIVE_L\r\n") << ServerCommand::ReceiveLeft;
    QTest::newRow("transmit right") << QByteArray("TRANSMIT_R\r\n") << ServerCommand::TransmitRight;
    QTest::newRow("receive right") << QByteArray("RECEIVE_R\r\n") << ServerCommand::ReceiveRight;
    QTest::newRow("generic up") << QByteArray("GENERIC_U\r\n") << ServerCommand::GenericUp;
    QTest::newRow("generic down") << QByteArray("GENERIC_D\r\n") << ServerCommand::GenericDown;
    QTest::newRow("smeter") << QByteArray("SMETER\r\n") << ServerCommand::SMeter;
    QTest::newRow("idle") << QByteArray("ZZZZZ\r\n") << ServerCommand::Idle;
    QTest::newRow("keyword inside text")
        << QByteArray("xxFREQUENCYyy") << ServerCommand::ReportFrequency;

    // Several keywords in one message: the earliest in the fixed order wins, not the first in
    // the text.
    QTest::newRow("receive before transmit in text")
        << QByteArray("RECEIVE_L\r\nTRANSMIT_L\r\n") << ServerCommand::TransmitLeft;
    QTest::newRow("right before left in text")
        << QByteArray("TRANSMIT_R TRANSMIT_L") << ServerCommand::TransmitLeft;
    QTest::newRow("generic before frequency")
        << QByteArray("GENERIC_U FREQUENCY") << ServerCommand::ReportFrequency;
    QTest::newRow("idle with DTMF") << QByteArray("ZZZZZ1234\r\n") << ServerCommand::Idle;
    QTest::newRow("smeter with DTMF") << QByteArray("1234SMETER\r\n") << ServerCommand::SMeter;

    QTest::newRow("lower case is not a keyword")
        << QByteArray("frequency\r\n") << ServerCommand::Nothing;
    QTest::newRow("mixed case") << QByteArray("Transmit_L\r\n") << ServerCommand::Nothing;
    QTest::newRow("truncated keyword") << QByteArray("FREQUENC\r\n") << ServerCommand::Nothing;
    QTest::newRow("ZZZZ is four") << QByteArray("ZZZZ\r\n") << ServerCommand::Nothing;

    QTest::newRow("DTMF line") << QByteArray("1234\r\n") << ServerCommand::Dtmf;
    QTest::newRow("DTMF with hash") << QByteArray("12#\r\n") << ServerCommand::Dtmf;
    QTest::newRow("only line end") << QByteArray("\r\n") << ServerCommand::Nothing;
    QTest::newRow("empty") << QByteArray() << ServerCommand::Nothing;
    QTest::newRow("garbage") << QByteArray("HELLO\r\n") << ServerCommand::Nothing;
}

void TestServerMessages::classifiesKeywordsInOrder()
{
    QFETCH(QByteArray, message);
    QFETCH(ServerCommand, command);
    QCOMPARE(ServerMessages::classify(message), command);
}

void TestServerMessages::extractsDtmfCharacters_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<bool>("isDtmf");
    QTest::addColumn<QString>("characters");

    QTest::newRow("digits") << QByteArray("1234\r\n") << true << "1234";
    QTest::newRow("digits and hash") << QByteArray("12#\r\n") << true << "12#";
    QTest::newRow("every DTMF character")
        << QByteArray("0123456789ABCDabcd#*\r\n") << true << "0123456789ABCDabcd#*";
    QTest::newRow("one digit") << QByteArray("5\r\n") << true << "5";
    QTest::newRow("one digit, lone LF") << QByteArray("1\n") << false << QString();
    QTest::newRow("two digits, lone LF") << QByteArray("12\n") << true << "1";
    QTest::newRow("any two last characters are dropped") << QByteArray("789") << true << "7";
    QTest::newRow("exactly two characters") << QByteArray("12") << false << QString();
    QTest::newRow("one character") << QByteArray("1") << false << QString();
    QTest::newRow("empty") << QByteArray() << false << QString();
    QTest::newRow("letter E") << QByteArray("12E\r\n") << false << QString();
    QTest::newRow("letter e") << QByteArray("e\r\n") << false << QString();
    QTest::newRow("blank inside") << QByteArray("1 2\r\n") << false << QString();
    QTest::newRow("plus sign") << QByteArray("+1\r\n") << false << QString();
    QTest::newRow("NUL byte") << QByteArray("1\0"
                                            "2\r\n",
                                            5)
                              << false << QString();
    QTest::newRow("high byte") << QByteArray("1\xb2\r\n") << false << QString();
    QTest::newRow("two lines unsplit") << QByteArray("1\r\n2\r\n") << false << QString();
}

void TestServerMessages::extractsDtmfCharacters()
{
    QFETCH(QByteArray, message);
    QFETCH(bool, isDtmf);
    QFETCH(QString, characters);

    const std::optional<QString> got = ServerMessages::dtmfCharacters(message);
    QCOMPARE(got.has_value(), isDtmf);
    if (got)
        QCOMPARE(*got, characters);
    QCOMPARE(ServerMessages::classify(message) == ServerCommand::Dtmf, isDtmf);
}

void TestServerMessages::chunksActInOrder_data()
{
    QTest::addColumn<QByteArray>("chunk");
    QTest::addColumn<QList<ServerCommand>>("commands");

    using C = ServerCommand;
    QTest::newRow("single line acts as before")
        << QByteArray("TRANSMIT_L\r\n") << QList<C>{C::TransmitLeft};
    QTest::newRow("transmit then receive ends unkeyed")
        << QByteArray("TRANSMIT_L\r\nRECEIVE_L\r\n") << QList<C>{C::TransmitLeft, C::ReceiveLeft};
    QTest::newRow("receive then transmit ends keyed")
        << QByteArray("RECEIVE_R\r\nTRANSMIT_R\r\n") << QList<C>{C::ReceiveRight, C::TransmitRight};
    QTest::newRow("two DTMF lines are both delivered")
        << QByteArray("1\r\n2\r\n") << QList<C>{C::Dtmf, C::Dtmf};
    QTest::newRow("idle does not hide a DTMF line")
        << QByteArray("ZZZZZ\r\n1234\r\n") << QList<C>{C::Idle, C::Dtmf};
    QTest::newRow("frequency request between DTMF lines")
        << QByteArray("12\r\nFREQUENCY\r\n34\r\n")
        << QList<C>{C::Dtmf, C::ReportFrequency, C::Dtmf};
    QTest::newRow("partial remainder is its own message")
        << QByteArray("GENERIC_U\r\nGENERIC_D") << QList<C>{C::GenericUp, C::GenericDown};
    QTest::newRow("keyword split by a line end is not a keyword")
        << QByteArray("FREQ\r\nUENCY\r\n") << QList<C>{C::Nothing, C::Nothing};
}

void TestServerMessages::chunksActInOrder()
{
    QFETCH(QByteArray, chunk);
    QFETCH(QList<ServerCommand>, commands);
    QCOMPARE(commandsOf(chunk), commands);
}

void TestServerMessages::linesCutAnywhereComeOutWhole()
{
    const QByteArray stream = "FREQUENCY\r\n1230\r\n15\r\nTRANSMIT_R\r\n\r\nRECEIVE_R\r\n*#\r\n";
    const QList<QByteArray> whole = ServerMessages::split(stream);
    QRandomGenerator random(1234);
    for (int trial = 0; trial < 500; ++trial) {
        LineAssembler lines;
        QList<QByteArray> out;
        for (qsizetype at = 0; at < stream.size();) {
            const qsizetype length = 1 + random.bounded(int(stream.size() - at));
            out += lines.take(stream.mid(at, length));
            at += length;
        }
        QCOMPARE(out, whole);
        QVERIFY(!lines.hasTail());
    }
    // A tail handed on as it stands is one message, and is gone afterwards.
    LineAssembler lines;
    QCOMPARE(lines.take("12\r\nTRANSMIT_"), QList<QByteArray>{"12\r\n"});
    QCOMPARE(lines.flush(), QList<QByteArray>{"TRANSMIT_"});
    QCOMPARE(lines.take("R\r\n"), QList<QByteArray>{"R\r\n"});
}

void TestServerMessages::unfinishedTailStaysBounded()
{
    LineAssembler lines;
    const QList<QByteArray> pieces = lines.take(QByteArray(10'000, 'x'));
    QCOMPARE(pieces.size(), 2);
    for (const QByteArray &piece : pieces)
        QCOMPARE(piece.size(), ServerMessages::MaxMessageBytes);
    QCOMPARE(lines.take("y\r\n"), QList<QByteArray>{QByteArray(10'000 - 8192, 'x') + "y\r\n"});
}

void TestServerMessages::gatesTransmitReceiveByChannel_data()
{
    QTest::addColumn<ServerCommand>("command");
    QTest::addColumn<AudioChannel>("channel");
    QTest::addColumn<bool>("accepted");

    using C = ServerCommand;
    using A = AudioChannel;
    const struct
    {
        C command;
        bool left, right, both;
    } rows[] = {
        {C::TransmitLeft, true, false, true},
        {C::ReceiveLeft, true, false, true},
        {C::TransmitRight, false, true, true},
        {C::ReceiveRight, false, true, true},
        {C::ReportFrequency, true, true, true},
        {C::GenericUp, true, true, true},
        {C::Dtmf, true, true, true},
    };
    for (const auto &row : rows) {
        const QByteArray name = QByteArray::number(int(row.command));
        QTest::newRow(name + " left") << row.command << A::Left << row.left;
        QTest::newRow(name + " right") << row.command << A::Right << row.right;
        QTest::newRow(name + " both") << row.command << A::Both << row.both;
    }
}

void TestServerMessages::gatesTransmitReceiveByChannel()
{
    QFETCH(ServerCommand, command);
    QFETCH(AudioChannel, channel);
    QFETCH(bool, accepted);
    QCOMPARE(ServerMessages::channelAccepts(command, channel), accepted);
}

QTEST_GUILESS_MAIN(TestServerMessages)
#include "tst_server_messages.moc"
