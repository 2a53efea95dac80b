#include "core/ConfigValues.h"
#include "platform/TextFile.h"

#include <QTest>

class TestConfigValues : public QObject
{
    Q_OBJECT
private slots:
    void integers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << "199" << true << 199;
        QTest::newRow("signed minus") << "-1" << true << -1;
        QTest::newRow("signed plus") << "+25" << true << 25;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("sign alone") << "-" << false << 0;
        QTest::newRow("letters") << "abc" << false << 0;
        QTest::newRow("trailing blank") << "12 " << false << 0;
        QTest::newRow("leading blank") << " 12" << false << 0;
        QTest::newRow("hex") << "0x10" << false << 0;
        QTest::newRow("decimal point") << "1.5" << false << 0;
        QTest::newRow("overflow") << "99999999999" << false << 0;
    }
    void integers()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(int, value);
        const std::optional<int> parsed = ConfigValues::parseInteger(text);
        QCOMPARE(parsed.has_value(), valid);
        if (valid)
            QCOMPARE(*parsed, value);
    }

    void lines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("setting") << "PORT=10901" << true << "PORT=" << "10901";
        QTest::newRow("value holds =") << "DTMF_CODE=12 : action 07= x" << true << "DTMF_CODE="
                                       << "12 : action 07= x";
        QTest::newRow("empty value") << "IPSERVER=" << true << "IPSERVER=" << "";
        QTest::newRow("no =") << "[IvrelaneTMD7x0]" << false << "" << "";
        QTest::newRow("= first") << "=5" << false << "" << "";
        QTest::newRow("blanks kept") << "FORMTOP = 5" << true << "FORMTOP =" << " 5";
    }
    void lines()
    {
        QFETCH(QString, line);
        QFETCH(bool, valid);
        const auto kv = ConfigValues::splitLine(line);
        QCOMPARE(kv.has_value(), valid);
        if (valid) {
            QTEST(kv->key, "key");
            QTEST(kv->value, "value");
        }
    }

    void channelKeys_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("channel"); // 0 = not a channel key
        QTest::newRow("first") << "MEM001=" << 1;
        QTest::newRow("last") << "MEM040=" << 40;
        QTest::newRow("above range") << "MEM041=" << 0;
        QTest::newRow("zero") << "MEM000=" << 0;
        QTest::newRow("letters") << "MEMabc=" << 0;
        QTest::newRow("sign") << "MEM+05=" << 0;
        QTest::newRow("too long") << "MEM0051=" << 0;
        QTest::newRow("lower case") << "mem005=" << 0;
    }
    void channelKeys()
    {
        QFETCH(QString, key);
        QFETCH(int, channel);
        QCOMPARE(ConfigValues::channelKeyNumber(key).value_or(0), channel);
    }

    void addressesAreFourUpperHexDigits()
    {
        QCOMPARE(ConfigValues::hexAddress(888), QStringLiteral("0378"));
        QCOMPARE(ConfigValues::hexAddress(956), QStringLiteral("03BC"));
        QCOMPARE(ConfigValues::hexAddress(0), QStringLiteral("0000"));
    }

    // The file on disk is Windows-1252 with CR LF; a UTF-8 file (edited on Linux) reads as UTF-8.
    void textEncoding()
    {
        const QStringList lines = {QStringLiteral("DTMF_CODE=12 : action 07= Mémoire Nnn"),
                                   QStringLiteral("X=é")};
        const QByteArray bytes = TextFile::encodeLines(lines);
        QVERIFY(bytes.contains("M\xe9moire"));
        QVERIFY(bytes.endsWith("X=\xe9\r\n"));
        QCOMPARE(TextFile::decodeLines(bytes), lines);
        QCOMPARE(TextFile::decodeLines(lines.join(QLatin1Char('\n')).toUtf8()), lines);
        QCOMPARE(TextFile::decodeLines("A=1\nB=2\r\n"), (QStringList{"A=1", "B=2"}));
    }
};

QTEST_GUILESS_MAIN(TestConfigValues)
#include "tst_config_values.moc"
