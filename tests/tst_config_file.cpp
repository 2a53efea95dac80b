#include "app/ConfigFile.h"
#include "app/GenericTxWiring.h"
#include "app/Station.h"
#include "generic_tx/ChannelStepper.h"
#include "generic_tx/ControlLineDriver.h"
#include "service/ConfigCheck.h"
#include "support/RecordingNotifier.h"
#include "support/TestFiles.h"
#include "ui/GenericTxWindowSettings.h"
#include "ui/ServerWindowSettings.h"
#include "ui/UnitDTMF.h"
#include "ui/UnitIP.h"
#include "ui/UnitInitTX16.h"
#include "ui/UnitTMD700.h"
#include "ui/UnitWarning.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace {

const QString Header = QStringLiteral("[IvrelaneTMD7x0]");

// Every key with a value other than its default, in the order the save writes them.
const QStringList EveryKey = {
    Header,
    "LANGUAGE=F",
    "MODEL=TMV71",
    "NUMBERMEM=150",
    "TX=B",
    "PWRA=0",
    "PWRB=2",
    "COM=%PORT%",
    "DTMF_CODE=1230 : action 07= Mémoire Nnn sur TXA (Kenwood)",
    "DTMF_CODE=45 : action 26= TX en émission (Tous)",
    "IPSERVER=192.168.1.20",
    "PORT=10950",
    "CONNECT=1",
    "CHANNEL=BOTH",
    "WARNING=Y",
    "FORMTOP=40",
    "FORMLEFT=60",
    "COMRI=30",
    "COMRTC=2",
    "COMRTM=20",
    "OPTITX16=Y",
    "CHANNELNUMTX16=24",
    "BASECHANNELTX16=12",
    "TEMPOTX16=700",
    "DELAYPIN14=250",
    "DELAYPIN1=300",
    "DELAYPIN16=2000",
    "LPT278=632",
    "PIN14=1",
    "PIN1=1",
    "PIN16=1",
    "PIN17=1",
    "PIN11=1",
    "VERSTART=1",
    "MEM001=145.225000 [Relais]",
    "MEM005=145.600000 [Essai]",
    "TXTIMEOUT=120",
    "RECONNECT=1",
};

// The other value of every choice, and the limits of the generic transmitter's settings.
const QStringList OtherValues = {
    Header,           "LANGUAGE=E",       "MODEL=TMV71",       "NUMBERMEM=100",  "TX=A",
    "PWRA=1",         "PWRB=0",           "IPSERVER=10.0.0.1", "PORT=23",        "CHANNEL=LEFT",
    "FORMTOP=40",     "FORMLEFT=60",      "COMRI=0",           "COMRTC=0",       "COMRTM=0",
    "OPTITX16=N",     "CHANNELNUMTX16=2", "BASECHANNELTX16=2", "TEMPOTX16=1000", "DELAYPIN14=50",
    "DELAYPIN1=1000", "DELAYPIN16=5000",  "LPT=956",           "VERSTART=0",     "TXTIMEOUT=0",
};

} // namespace

class TestConfigFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    RecordingNotifier m_notifier;
    int m_ptyMaster = -1;
    QString m_portPath;

    QString path(const QString &name) const { return QDir(m_dir.path()).filePath(name); }

    std::unique_ptr<Station> start(const QStringList &ini = {},
                                   const QString &name = QStringLiteral("Ivrelane.ini"))
    {
        if (!ini.isEmpty())
            TestFiles::writeLines(path(name), ini);
        auto station = std::make_unique<Station>(m_dir.path(), m_notifier);
        station->deviceDirectory = path(QStringLiteral("dev"));
        station->terminate = nullptr;
        station->FormActivate();
        return station;
    }

    QStringList saved(Station &station)
    {
        station.MenuSaveClick();
        return TestFiles::readLines(path(QStringLiteral("Ivrelane.ini")));
    }

    QStringList withPort(QStringList lines) const
    {
        return lines.replaceInStrings(QStringLiteral("%PORT%"), m_portPath);
    }

private slots:
    void initTestCase()
    {
        // A virtual serial port: a symbolic link to a pseudo-terminal, as socat makes them.
        m_ptyMaster = posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(m_ptyMaster >= 0);
        QVERIFY(grantpt(m_ptyMaster) == 0 && unlockpt(m_ptyMaster) == 0);
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("dev")));
        m_portPath = path(QStringLiteral("dev/ttyV0"));
        QVERIFY(QFile::link(QString::fromLocal8Bit(ptsname(m_ptyMaster)), m_portPath));
    }
    void cleanupTestCase() { ::close(m_ptyMaster); }

    void cleanup()
    {
        for (const QString &name : QDir(m_dir.path()).entryList(QDir::Files)) {
            QFile::setPermissions(path(name), QFile::ReadOwner | QFile::WriteOwner);
            QFile::remove(path(name));
        }
        m_notifier.messages.clear();
    }

    void headerOnlyIsNoFile()
    {
        const QStringList none = saved(*start());
        cleanup();
        QCOMPARE(saved(*start({Header})), none);
    }

    void everyKeyReadAndSavedBack()
    {
        auto station = start(withPort(EveryKey));
        const Ui::TFormInitTX16 &g = station->windows().FormInitTX16->ui;
        QCOMPARE(station->state.ModelName, QStringLiteral("TMV71"));
        QCOMPARE(station->state.NumberOfMemories, 150);
        QCOMPARE(station->state.PowerA, 0);
        QCOMPARE(station->state.PowerB, 2);
        QCOMPARE(station->ComPortTX.portName, m_portPath);
        QCOMPARE(station->IdTCPClient.host, QStringLiteral("192.168.1.20"));
        QCOMPARE(station->IdTCPClient.port, 10950);
        QCOMPARE(station->windows().Form1->pos(), QPoint(60, 40));
        QCOMPARE(station->ComPortTX.readIntervalTimeout, 30);
        QCOMPARE(g.SpinEditCanalNombre->value(), 24);
        QCOMPARE(station->windows().Form1->ui.UpDownTX->maximum(), 25);
        QCOMPARE(station->windows().Form1->ui.Label16->text(), QStringLiteral("24"));
        QCOMPARE(station->state.Tx16Tempo, 700);
        // Each pulse length is shown under its own pin and used for its own line.
        QCOMPARE(g.SpinEditPin1->value(), 300);
        QCOMPARE(station->tx16Settings->pulseLength(TxLine::Up), 250);
        QCOMPARE(station->tx16Settings->pulseLength(TxLine::Down), 300);
        QCOMPARE(station->tx16Settings->pulseLength(TxLine::Reset), 2000);
        QCOMPARE(station->state.LptBase, 632);
        QCOMPARE(g.RadioButtonH278->text(), QStringLiteral("0278h"));
        QVERIFY(station->state.CheckVersionAtStart);
        QCOMPARE(station->state.TxTimeoutSeconds, 120);
        QVERIFY(station->windows().FormIP->ui.CheckBoxReconnect->isChecked());
        QVERIFY(station->windows().FormWarning->isHidden());
        QCOMPARE(station->windows().FormDTMF->ui.ListBoxCodesDTMF->count(), 3);
        QCOMPARE(station->windows().Form1->ui.ComboBoxTXMEM->itemText(4),
                 QStringLiteral("005=145.600000 [Essai]"));
        // Nobody answers on the port: the powers read are saved as they were, not the sliders'
        // resting position.
        station->windows().Form1->ui.MenuTMV71->setChecked(true);
        QCOMPARE(saved(*station), withPort(EveryKey));
    }

    void otherValuesReadAndSavedBack()
    {
        auto station = start(OtherValues);
        const ServerWindowSettings &server = *station->serverSettings;
        QVERIFY(!server.connectAtStart() && !server.reconnect());
        QVERIFY(server.audioChannel() == AudioChannel::Left);
        QVERIFY(station->windows().FormWarning->isVisible());
        // What the generic transmitter's logic reads.
        QCOMPARE(station->genericTx->stepper().selectorMaximum(), 3);
        QVERIFY(!station->tx16Settings->circularScan());
        for (TxLine line : PinLogic::IdleOrder)
            QVERIFY(station->genericTx->driver().polarity(line) == LinePolarity::Positive);
        QVERIFY(station->tx16Settings->squelchPolarity() == LinePolarity::Positive);
        QVERIFY(station->tx16Settings->port() == GenericTxSettings::Port::User);
        QCOMPARE(station->tx16Settings->typedAddress(), QStringLiteral("03BC"));
        QCOMPARE(station->tx16Settings->pulseLength(TxLine::Reset), 5000);
        station->windows().Form1->ui.MenuTMV71->setChecked(true);
        QCOMPARE(saved(*station), OtherValues);
        // A power the operator sets is the one saved.
        station->windows().Form1->ui.TrackBarPWRB->setValue(2);
        QStringList changed = OtherValues;
        changed.replace(changed.indexOf(QStringLiteral("PWRB=0")), QStringLiteral("PWRB=2"));
        QCOMPARE(saved(*station), changed);
    }

    void keysAreExactAndCaseSensitive()
    {
        auto station = start({Header, "FORMTOP = 77", "formleft=90", "LANGUAGE=f", "TX=a",
                              "PWRA=high", "COM=COM9", "CONNECT=yes", "WARNING=y"});
        QCOMPARE(station->windows().Form1->pos(), QPoint(8, 2));
        QCOMPARE(station->currentLanguage(), Language::French);
        QCOMPARE(station->state.Bands, StationState::BandChoice::Both);
        QCOMPARE(station->state.PowerA, -1);
        QVERIFY(station->ComPortTX.portName.isEmpty());
        QVERIFY(!station->windows().FormIP->ui.CheckBoxConnect->isChecked());
        QVERIFY(!station->windows().FormWarning->ui.CheckBoxWarning->isChecked());
        const QStringList lines = saved(*station);
        // "Bande active", no port, warning unchecked: no TX, COM or WARNING line.
        for (const char *absent : {"TX=", "COM=", "WARNING=", "CONNECT=", "RECONNECT="}) {
            QVERIFY2(lines.filter(QRegularExpression(QStringLiteral("^") + absent)).isEmpty(),
                     absent);
        }
    }

    // One polarity key makes its own line active low, and no other: in the dialog, for the pin
    // driver and in the file saved back.
    void polarityKeysSetTheirOwnLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("lowChoice"); // the dialog's button for it
        QTest::addColumn<int>("output");        // TxLine; -1 for the squelch input
        QTest::newRow("UP") << "PIN14=1"
                            << "RadioButtonPin14Neg" << int(TxLine::Up);
        QTest::newRow("DOWN") << "PIN1=1"
                              << "RadioButtonPin1Neg" << int(TxLine::Down);
        QTest::newRow("RESET") << "PIN16=1"
                               << "RadioButtonPin16Neg" << int(TxLine::Reset);
        QTest::newRow("PTT") << "PIN17=1"
                             << "RadioButtonPin17L" << int(TxLine::Ptt);
        QTest::newRow("squelch") << "PIN11=1"
                                 << "RadioButtonPin11L" << -1;
    }
    void polarityKeysSetTheirOwnLine()
    {
        QFETCH(QString, line);
        QFETCH(QString, lowChoice);
        QFETCH(int, output);
        auto station = start({Header, line});
        QVERIFY(station->windows().FormInitTX16->findChild<QRadioButton *>(lowChoice)->isChecked());
        const auto expected = [](bool low) {
            return low ? LinePolarity::Negative : LinePolarity::Positive;
        };
        for (TxLine each : PinLogic::IdleOrder)
            QVERIFY(station->genericTx->driver().polarity(each) == expected(int(each) == output));
        QVERIFY(station->tx16Settings->squelchPolarity() == expected(output < 0));
        QCOMPARE(saved(*station).filter(QRegularExpression(QStringLiteral("^PIN\\d+="))),
                 QStringList{line});
    }

    void audioChannelKey_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("channel");
        QTest::addColumn<QString>("savedLine");
        QTest::newRow("left") << "CHANNEL=LEFT" << int(AudioChannel::Left) << "CHANNEL=LEFT";
        QTest::newRow("both") << "CHANNEL=BOTH" << int(AudioChannel::Both) << "CHANNEL=BOTH";
        QTest::newRow("right") << "CHANNEL=RIGHT" << int(AudioChannel::Right) << "CHANNEL=RIGHT";
        // Not a channel: the one read before stays.
        QTest::newRow("unknown") << "CHANNEL=left" << int(AudioChannel::Both) << "CHANNEL=BOTH";
    }
    void audioChannelKey()
    {
        QFETCH(QString, line);
        auto station = start({Header, "CHANNEL=BOTH", line});
        QTEST(int(station->serverSettings->audioChannel()), "channel");
        QFETCH(QString, savedLine);
        QCOMPARE(saved(*station).filter(QStringLiteral("CHANNEL=")), QStringList{savedLine});
    }

    void lastValueWinsButCodesAccumulate()
    {
        auto station = start({Header, "PORT=1", "PORT=2", "DTMF_CODE=1 : action 00= nil",
                              "DTMF_CODE=1 : action 00= nil", "PORT=x"});
        QCOMPARE(station->IdTCPClient.port, 2);
        QCOMPARE(station->windows().FormDTMF->ui.ListBoxCodesDTMF->count(), 3);
    }

    void parallelPortKeys_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("base");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("choice"); // the dialog's button for the key
        QTest::newRow("378") << "LPT378=888" << 888 << true << "0378h"
                             << "RadioButtonH378";
        QTest::newRow("278") << "LPT278=632" << 632 << true << "0278h"
                             << "RadioButtonH278";
        QTest::newRow("3BC") << "LPT3BC=956" << 956 << true << "03BCh"
                             << "RadioButtonH3BC";
        QTest::newRow("letters") << "LPT378=abc" << 0 << false << "0000h"
                                 << "RadioButtonH378";
        QTest::newRow("empty") << "LPT378=" << 0 << false << "0000h"
                               << "RadioButtonH378";
    }
    void parallelPortKeys()
    {
        QFETCH(QString, line);
        QFETCH(QString, choice);
        auto station = start({Header, line});
        const auto *button = station->windows().FormInitTX16->findChild<QRadioButton *>(choice);
        QTEST(station->state.LptBase, "base");
        QTEST(button->isChecked(), "selected");
        QTEST(button->text(), "caption");
        QFETCH(bool, selected);
        QCOMPARE(saved(*station).contains(line), selected);
    }

    void transmitTimeOutKey()
    {
        // Out of 0..3600 or not a number: ignored, the value before it stays.
        for (const auto &[lines, expected] :
             QList<std::pair<QStringList, int>>{{{"TXTIMEOUT=0"}, 0},
                                                {{"TXTIMEOUT=3600"}, 3600},
                                                {{"TXTIMEOUT=45", "TXTIMEOUT=3601"}, 45},
                                                {{"TXTIMEOUT=-1"}, 300},
                                                {{"TXTIMEOUT=2m"}, 300}}) {
            auto station = start(QStringList{Header} + lines);
            QCOMPARE(station->state.TxTimeoutSeconds, expected);
            QCOMPARE(saved(*station).last(), QStringLiteral("TXTIMEOUT=%1").arg(expected));
        }
    }

    void userPortAddressGoesToItsEdit()
    {
        auto station = start({Header, "LPT=956"});
        QCOMPARE(station->windows().FormInitTX16->ui.EditH000->text(), QStringLiteral("03BC"));
        QVERIFY(station->windows().FormInitTX16->ui.RadioButtonH000->isChecked());
        QVERIFY(saved(*station).contains(QStringLiteral("LPT=956")));
    }

    void channelKeys()
    {
        auto station = start({Header, "MEM005=145.600000 [Essai]", "MEM041=1", "MEMabc=2"});
        QComboBox *list = station->windows().Form1->ui.ComboBoxTXMEM;
        QCOMPARE(list->count(), 40);
        QCOMPARE(list->itemText(4), QStringLiteral("005=145.600000 [Essai]"));
        const QStringList lines = saved(*station);
        QCOMPARE(lines.filter(QStringLiteral("MEM0")),
                 QStringList{QStringLiteral("MEM005=145.600000 [Essai]")});
    }

    void valuesClampToTheirControls()
    {
        auto station = start({Header, "CHANNELNUMTX16=99", "TEMPOTX16=50"});
        QCOMPARE(station->windows().FormInitTX16->ui.SpinEditCanalNombre->value(), 40);
        QCOMPARE(station->state.Tx16Tempo, 200);
        QCOMPARE(station->windows().FormInitTX16->ui.SpinEditCanalReset->maximum(), 40);
    }

    void saveTwiceLeavesOneReadOnlyFile()
    {
        auto station = start();
        station->MenuSaveClick();
        station->IdTCPClient.port = 4242;
        const QStringList second = saved(*station);
        QVERIFY(second.contains(QStringLiteral("PORT=4242")));
        QCOMPARE(QDir(m_dir.path()).entryList({"*.ini", "*.~in"}, QDir::Files),
                 QStringList{"Ivrelane.ini"});
        QVERIFY(!(QFile::permissions(path("Ivrelane.ini")) & QFile::WriteOwner));
        QVERIFY(m_notifier.messages.isEmpty());
    }

    void legacyFileIsReadThenRemoved()
    {
        auto station = start({Header, "PORT=777"}, QStringLiteral("IvrelaneTMD700.ini"));
        QCOMPARE(station->IdTCPClient.port, 777);
        QVERIFY(saved(*station).contains(QStringLiteral("PORT=777")));
        QVERIFY(!QFile::exists(path("IvrelaneTMD700.ini")));
    }

    // A save that cannot write its temporary file reports the error and leaves the existing
    // configuration exactly as it was.
    void failedSaveKeepsTheOldFile()
    {
        auto station = start({Header, "PORT=1234"});
        station->MenuSaveClick();
        const QByteArray before = TestFiles::readBytes(path("Ivrelane.ini"));
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("Ivrelane.~in/blocker")));
        station->IdTCPClient.port = 999;
        station->MenuSaveClick();
        QVERIFY(QDir(m_dir.path()).rmdir(QStringLiteral("Ivrelane.~in/blocker")));
        QVERIFY(QDir(m_dir.path()).rmdir(QStringLiteral("Ivrelane.~in")));
        QCOMPARE(m_notifier.messages,
                 QStringList{QStringLiteral("error:Erreur création fichier .ini")});
        QCOMPARE(TestFiles::readBytes(path("Ivrelane.ini")), before);
    }

    // What --check says of each line is what the reader does with it: every line the save
    // writes (every key it knows) is taken, and the lines said to be ignored leave the station as
    // without them.
    void checkJudgesLinesAsTheReaderDoes()
    {
        const QStringList written =
            withPort(EveryKey) +
            QStringList{"HAMLIBMODEL=2034",           "HAMLIBPORT=127.0.0.1:4532",
                        "HAMLIBSPEED=9600",           "LINES=GPIO",
                        "LINESDEVICE=/dev/gpiochip0", "LINESMAP=17,27,22,23,24"};
        const QStringList savedBack = saved(*start(written));
        QVERIFY(savedBack.contains("LINES=GPIO") && savedBack.contains("HAMLIBSPEED=9600"));
        cleanup();
        for (const QStringList &file : {savedBack, OtherValues}) {
            for (const ConfigCheck::Verdict &v : ConfigCheck::judge(file))
                QVERIFY2(v.taken, qPrintable(v.text + ": " + v.why));
        }

        const struct
        {
            const char *line;
            const char *why;
        } ignored[] = {
            {"FORMTOP = 77", "FORMTOP= is written in capitals"},
            {"formleft=90", "FORMLEFT= is written in capitals"},
            {"LANGUAGE=f", "not one of F, E"},
            {"MODEL=TMD-710", "not one of TMD700, TMD710, TMV71, HAMLIB, TX16UD"},
            {"PWRA=high", "not a whole number"},
            {"COM=COM9", "Windows port name"},
            {"CONNECT=yes", "only 1"},
            {"TXTIMEOUT=4000", "0 to 3600"},
            {"LPT378=", "empty"},
            {"HAMLIBSPEED=1234", "standard serial speed"},
            {"HAMLIBMODEL=999999", "Hamlib knows"},
            {"LINES=cm108", "LPT, CM108, GPIO"},
            {"LINESMAP=1,2,4,3,VOLDN", "does not fit"}, // after LINES=GPIO above
            {"MEM041=145.000000 [x]", "MEM001= to MEM040="},
            {"no key here", "no key"},
            {"BOGUS=1", "unknown key"},
        };
        QStringList file{Header, "LINES=GPIO"};
        for (const auto &i : ignored)
            file << QString::fromUtf8(i.line);
        file << "# a comment: COM=ttyS0";
        const QList<ConfigCheck::Verdict> verdicts = ConfigCheck::judge(file);
        QCOMPARE(verdicts.size(), int(std::size(ignored)) + 1);
        QVERIFY(verdicts.first().taken);
        for (qsizetype i = 1; i < verdicts.size(); ++i) {
            const ConfigCheck::Verdict &v = verdicts.at(i);
            QCOMPARE(v.lineNumber, i + 2);
            QVERIFY2(!v.taken && v.why.contains(QString::fromUtf8(ignored[i - 1].why)),
                     qPrintable(v.text + ": " + v.why));
        }
        // The map alone would fit the default kind of lines.
        const QStringList noEffect = file.filter(QRegularExpression("^(?!LINES)"));
        const QStringList plain = saved(*start({Header}));
        cleanup();
        QCOMPARE(saved(*start(noEffect)), plain);

        // A key given twice takes its last value; DTMF codes add up.
        const QList<ConfigCheck::Verdict> twice =
            ConfigCheck::judge({Header, "PORT=1", "DTMF_CODE=1 : a", "PORT=2", "DTMF_CODE=2 : b"});
        QVERIFY(!twice.at(0).taken && twice.at(0).why.contains("line 4"));
        QVERIFY(twice.at(1).taken && twice.at(2).taken && twice.at(3).taken);
    }

    void leftoverTemporaryFileIsReplaced()
    {
        TestFiles::writeBytes(path("Ivrelane.~in"), "garbage");
        QFile::setPermissions(path("Ivrelane.~in"), QFile::ReadOwner);
        auto station = start();
        station->MenuSaveClick();
        QVERIFY(!QFile::exists(path("Ivrelane.~in")));
        QCOMPARE(TestFiles::readLines(path("Ivrelane.ini")).first(), Header);
    }
};

QTEST_MAIN(TestConfigFile)
#include "tst_config_file.moc"
