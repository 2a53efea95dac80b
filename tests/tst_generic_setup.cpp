// The generic transmitter's setup dialog on a whole station: the channel grid and its
// validation, the port choice with discovery from a kernel record tree in a temporary folder,
// and the settings that take effect as they change.
#include "app/GenericTxWiring.h"
#include "core/StationState.h"
#include "generic_tx/ChannelStepper.h"
#include "generic_tx/ControlLineDriver.h"
#include "generic_tx/GenericTxLinesSetup.h"
#include "generic_tx/GenericTxSetup.h"
#include "generic_tx/LinesFactory.h"
#include "generic_tx/MemoryLines.h"
#include "support/GenericTxFixture.h"
#include "ui/GenericTxWindowSettings.h"
#include "ui/UnitInitTX16.h"
#include "ui/UnitTMD700.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
// A /proc stand-in listing one port, parport0 at base (LPT1).
void writeParport(const QString &root, int number, quint16 base)
{
    const QString dir = root + QStringLiteral("/sys/dev/parport/parport%1").arg(number);
    QVERIFY(QDir().mkpath(dir));
    QFile record(dir + QStringLiteral("/base-addr"));
    QVERIFY(record.open(QIODevice::WriteOnly));
    record.write(QByteArray::number(base) + "\t" + QByteArray::number(base + 0x400) + "\n");
}

// Lines in memory in place of a real device, for as long as it lives.
struct MemoryLinesMaker
{
    MemoryLinesMaker()
    {
        LinesFactory::installTestMaker([](const LineSettings &settings, LinePolarity) {
            return std::make_unique<MemoryLines>(settings.device);
        });
    }
    ~MemoryLinesMaker() { LinesFactory::installTestMaker(nullptr); }
};

using Port = GenericTxSettings::Port;

struct SetupRig
{
    explicit SetupRig(const QStringList &config = {}) : rig(config)
    {
        writeParport(proc.path(), 0, 0x378);
        rig.station().genericTx->setup().procRoot = proc.path();
    }
    TFormInitTX16 &dialog() { return *rig.station().windows().FormInitTX16; }
    Ui::TFormInitTX16 &setup() { return rig.setup(); }
    QTableWidget *grid() { return rig.setup().StringGridTX16MEM; }
    void setCell(int row, int column, const QString &text)
    {
        grid()->setItem(row - 1, column, new QTableWidgetItem(text));
    }
    QString entry(int channel) { return rig.main().ComboBoxTXMEM->itemText(channel - 1); }
    QStringList &messages() { return rig.fixture.notifier.messages; }

    QTemporaryDir proc;
    GenericTxFixture rig;
};
} // namespace

class TestGenericSetup : public QObject
{
    Q_OBJECT
private slots:
    void gridRows_data();
    void gridRows();
    void badRowLeavesEarlierRowsApplied();
    void openingFillsTheGridAndClearsTheChoice();
    void okWithoutPort();
    void leavingWithoutChoiceKeepsThePortInTheFile();
    void restoringFromMinimisedIsNoOpening();
    void portChoices();
    void okWritesRestLevelsAtTheChosenPort();
    void okOnRefusingPortSaysSo();
    void userAddressTypedAfterChoosingUser();
    void channelCountLowersTheBaseChannel();
    void timingChanges();
    void linesChoice();
    void typedLinesDeviceIsKept();
};

void TestGenericSetup::gridRows_data()
{
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QString>("entry"); // empty: the row is refused

    QTest::newRow("frequency and comment") << "145.225000"
                                           << "Relais"
                                           << "001=145.225000 [Relais]";
    QTest::newRow("no frequency") << ""
                                  << "Relais"
                                  << "001= [Relais]";
    QTest::newRow("single blank frequency") << " "
                                            << "Relais"
                                            << "001= [Relais]";
    QTest::newRow("comma kept") << "145,225000"
                                << ""
                                << "001=145,225000 []";
    QTest::newRow("eight characters") << "145.2250"
                                      << "x"
                                      << "";
    QTest::newRow("ten digits, no separator") << "1452250000"
                                              << "x"
                                              << "";
    QTest::newRow("letter as last digit") << "145.22500a"
                                          << "x"
                                          << "";
    QTest::newRow("closing bracket in comment") << "145.225000"
                                                << "a]b"
                                                << "";
    QTest::newRow("opening bracket in comment") << ""
                                                << "[a"
                                                << "";
}

void TestGenericSetup::gridRows()
{
    QFETCH(QString, frequency);
    QFETCH(QString, comment);
    QFETCH(QString, entry);
    SetupRig s;
    s.dialog().show();
    s.setup().RadioButtonH378->click();
    s.setCell(1, 1, frequency);
    s.setCell(1, 2, comment);
    s.setup().BitBtnOK->click();

    if (entry.isEmpty()) {
        QCOMPARE(s.messages().last(), QStringLiteral("warning:Err. Format"));
        QVERIFY(s.dialog().isVisible());
        QCOMPARE(s.entry(1), QStringLiteral("001= []"));
    } else {
        QCOMPARE(s.entry(1), entry);
        QVERIFY(!s.dialog().isVisible());
        QVERIFY(s.messages().isEmpty());
    }
}

void TestGenericSetup::badRowLeavesEarlierRowsApplied()
{
    SetupRig s;
    s.dialog().show();
    s.setup().RadioButtonH378->click();
    for (int row = 1; row <= 6; ++row)
        s.setCell(row, 2, QStringLiteral("row %1").arg(row));
    s.setCell(5, 1, QStringLiteral("145.22"));
    s.setup().BitBtnOK->click();

    QCOMPARE(s.messages(), QStringList{QStringLiteral("warning:Err. Format")});
    QCOMPARE(s.entry(4), QStringLiteral("004= [row 4]"));
    QCOMPARE(s.entry(5), QStringLiteral("005= []"));
    QCOMPARE(s.entry(6), QStringLiteral("006= []"));
    QVERIFY(s.dialog().isVisible());

    s.setCell(5, 1, QStringLiteral("145,225000"));
    s.setup().BitBtnOK->click();
    QCOMPARE(s.entry(5), QStringLiteral("005=145,225000 [row 5]"));
    QCOMPARE(s.entry(6), QStringLiteral("006= [row 6]"));
    QCOMPARE(s.rig.main().ComboBoxTXMEM->count(), 40);
    QVERIFY(!s.dialog().isVisible());
}

void TestGenericSetup::openingFillsTheGridAndClearsTheChoice()
{
    SetupRig s({"MEM003=146.500000 [Simplex]", "MEM007= [Note]"});
    // The configuration's port choice is marked without running its handler.
    QVERIFY(s.rig.station().tx16Settings->port() == Port::Lpt378);
    s.dialog().show();

    QVERIFY(s.rig.station().tx16Settings->port() != Port::Lpt378);
    QCOMPARE(s.rig.setup().RadioButtonH378->text(), QStringLiteral("0378h"));
    // Ports the machine lacks say so instead of offering 0000h.
    QCOMPARE(s.rig.setup().RadioButtonH278->text(), QStringLiteral("aucun"));
    QCOMPARE(s.rig.setup().RadioButtonH3BC->text(), QStringLiteral("aucun"));
    QCOMPARE(s.grid()->item(2, 0)->text(), QStringLiteral("3"));
    QCOMPARE(s.grid()->item(2, 1)->text(), QStringLiteral("146.500000"));
    QCOMPARE(s.grid()->item(2, 2)->text(), QStringLiteral("Simplex"));
    QCOMPARE(s.grid()->item(6, 1)->text(), QString());
    QCOMPARE(s.grid()->item(6, 2)->text(), QStringLiteral("Note"));
    QCOMPARE(s.grid()->horizontalHeaderItem(1)->text(), QStringLiteral(" F = xxx.yyyyyy (MHz)"));
}

void TestGenericSetup::okWithoutPort()
{
    SetupRig s;
    s.dialog().show();
    s.setCell(1, 2, QStringLiteral("kept out"));
    s.setup().BitBtnOK->click();
    QCOMPARE(s.messages(), QStringList{QStringLiteral("warning:LPT ?")});
    QCOMPARE(s.entry(1), QStringLiteral("001= []"));
    QVERIFY(s.dialog().isVisible());
}

void TestGenericSetup::leavingWithoutChoiceKeepsThePortInTheFile()
{
    SetupRig s;
    s.dialog().show();
    QVERIFY(s.rig.station().tx16Settings->port() != Port::Lpt378);
    s.dialog().reject(); // Escape
    QVERIFY(s.rig.station().tx16Settings->port() == Port::Lpt378);
    QCOMPARE(s.rig.state().LptBase, 0x378);

    // Still open when the program ends: the save must not drop the port in use.
    s.dialog().show();
    s.rig.main().MenuQuitter->trigger();
    QFile ini(s.rig.fixture.path(QStringLiteral("Ivrelane.ini")));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QVERIFY(ini.readAll().contains("\r\nLPT378=888\r\n"));
}

// Minimised and restored half-way through: the grid being edited and the port to fall back on
// stay, so Escape afterwards still keeps the port in the file.
void TestGenericSetup::restoringFromMinimisedIsNoOpening()
{
    SetupRig s;
    Ui::TFormInitTX16 &g = s.setup();
    s.dialog().show();
    s.setCell(2, 2, QStringLiteral("being typed"));
    s.dialog().showMinimized();
    s.dialog().showNormal();
    QCOMPARE(s.grid()->item(1, 2)->text(), QStringLiteral("being typed"));
    s.dialog().reject();
    QVERIFY(s.rig.station().tx16Settings->port() == Port::Lpt378);

    s.dialog().show();
    g.RadioButtonH378->click();
    s.dialog().showMinimized();
    s.dialog().showNormal();
    QVERIFY(s.rig.station().tx16Settings->port() == Port::Lpt378);
}

void TestGenericSetup::portChoices()
{
    SetupRig s;
    s.dialog().show();
    Ui::TFormInitTX16 &g = s.rig.setup();

    g.RadioButtonH278->click(); // no LPT2 on this machine
    QCOMPARE(s.messages(), QStringList{QStringLiteral("error:LPT num error")});
    QCOMPARE(s.rig.state().LptBase, 0);

    g.EditH000->setText(QStringLiteral("2bc"));
    g.RadioButtonH000->click();
    QCOMPARE(s.rig.state().LptBase, 0x2BC);
    QCOMPARE(s.rig.station().genericTx->setup().LptSelected(), 0x2BC);

    g.EditH000->setText(QStringLiteral("zz"));
    g.RadioButtonH378->click();
    QCOMPARE(s.rig.state().LptBase, 0x378);
    QCOMPARE(s.messages().size(), 1);
    g.RadioButtonH000->click();
    QCOMPARE(s.rig.state().LptBase, 0);
    QCOMPARE(s.messages().size(), 2);
}

void TestGenericSetup::okWritesRestLevelsAtTheChosenPort()
{
    SetupRig s({"PIN14=1"});
    QVERIFY(s.rig.waitUntilQuiet());
    s.rig.port->setControl(0x40);
    s.rig.port->clearWrites();
    s.rig.main().LabelConnect->clear();
    s.dialog().show();
    s.setup().RadioButtonH378->click();
    s.setup().BitBtnOK->click();

    // UP rests clear (neg.), DOWN set, RESET clear, PTT set; the upper bits untouched.
    QCOMPARE(s.rig.controlWrites(), (QList<quint8>{0x40, 0x41, 0x41, 0x49}));
    QCOMPARE(s.rig.main().LabelConnect->text(), QStringLiteral("LPT 0378h OK"));
    QCOMPARE(s.rig.state().LptBase, 0x378);
    QVERIFY(!s.dialog().isVisible());
}

// The operator chooses "User" first and types the address afterwards, in the short form.
void TestGenericSetup::userAddressTypedAfterChoosingUser()
{
    SetupRig s;
    QVERIFY(s.rig.waitUntilQuiet());
    s.dialog().show();
    s.setup().EditH000->setText(QStringLiteral("0000"));
    s.setup().RadioButtonH000->click();
    QCOMPARE(s.messages(), QStringList{QStringLiteral("error:LPT num error")});
    s.setup().EditH000->setText(QStringLiteral("378"));
    s.setup().BitBtnOK->click();
    QCOMPARE(s.messages(), QStringList{QStringLiteral("error:LPT num error")});
    QVERIFY(!s.dialog().isVisible());
    QCOMPARE(s.rig.state().LptBase, 0x378);
    QCOMPARE(s.rig.main().LabelConnect->text(), QStringLiteral("LPT 0378h OK"));
    QVERIFY(s.rig.station().log.lines().constLast().endsWith(
        QStringLiteral(" Radio ready: TX16UD on LPT1 (0378h)")));
    // The label beside the field says what it takes.
    QVERIFY(s.setup().LabelHexa->text().contains(QStringLiteral("378")));

    // Typed wrong: OK still refuses, the window stays open.
    s.messages().clear();
    s.dialog().show();
    s.setup().RadioButtonH000->click();
    s.setup().EditH000->setText(QStringLiteral("37g"));
    s.setup().BitBtnOK->click();
    QCOMPARE(s.messages(), QStringList{QStringLiteral("warning:LPT ?")});
    QVERIFY(s.dialog().isVisible());
}

void TestGenericSetup::okOnRefusingPortSaysSo()
{
    SetupRig s;
    QVERIFY(s.rig.waitUntilQuiet());
    s.dialog().show();
    s.setup().RadioButtonH378->click();
    s.rig.port->setWritesFail(true);
    s.setup().BitBtnOK->click();
    QCOMPARE(s.rig.main().LabelConnect->text(), QStringLiteral("LPT error"));
    QCOMPARE(s.rig.fixture.notifier.beeps, 1);
}

void TestGenericSetup::channelCountLowersTheBaseChannel()
{
    SetupRig s({"BASECHANNELTX16=12"});
    Ui::TFormInitTX16 &g = s.rig.setup();
    QCOMPARE(s.rig.station().tx16Settings->baseChannel(), 12);
    QCOMPARE(s.rig.state().Tx16Channel, 12);

    g.SpinEditCanalNombre->setValue(10);
    QCOMPARE(s.rig.station().tx16Settings->baseChannel(), 10);
    QCOMPARE(s.rig.state().Tx16BaseChannel, 10);
    QCOMPARE(s.rig.main().Label16->text(), QStringLiteral("10"));
    QCOMPARE(s.rig.station().genericTx->stepper().selectorMaximum(), 11);
    QCOMPARE(s.rig.main().UpDownTX->maximum(), 11);
    // The count stays where it was until the next step in elevator mode takes it to N.
    QCOMPARE(s.rig.state().Tx16Channel, 12);
    QVERIFY(s.rig.waitUntilQuiet());
    s.rig.port->clearWrites();
    s.rig.main().UpDownTX->click(UpDownArrows::Direction::Up);
    QCOMPARE(s.rig.state().Tx16Channel, 10);
    QVERIFY(s.rig.port->writes().isEmpty());
}

void TestGenericSetup::timingChanges()
{
    SetupRig s({"TEMPOTX16=300", "DELAYPIN14=100"});
    Ui::TFormInitTX16 &g = s.rig.setup();
    ChannelStepper &stepper = s.rig.station().genericTx->stepper();
    QCOMPARE(s.rig.state().Tx16Tempo, 300);
    QCOMPARE(stepper.tickInterval(), 300);

    s.rig.main().UpDownTX->click(UpDownArrows::Direction::Up);
    QVERIFY(QTest::qWaitFor([&] { return stepper.tickInterval() == 400; }, 3000));
    // A pulse length change brings the stepping interval back to the bare period.
    g.SpinEditPin1->setValue(150);
    QCOMPARE(stepper.tickInterval(), 300);
    g.SpinEditTempoTX16->setValue(700);
    QCOMPARE(s.rig.state().Tx16Tempo, 700);
    QCOMPARE(stepper.tickInterval(), 700);
}

// Another kind of lines is chosen and confirmed, saved after the other keys, and left again for
// the parallel port.
void TestGenericSetup::linesChoice()
{
    MemoryLinesMaker maker;
    SetupRig s;
    QTemporaryDir sys;
    QVERIFY(QDir().mkpath(sys.filePath(QStringLiteral("hidraw3/device"))));
    QFile uevent(sys.filePath(QStringLiteral("hidraw3/device/uevent")));
    QVERIFY(uevent.open(QIODevice::WriteOnly));
    uevent.write("HID_ID=0003:00000D8C:0000013C\nHID_NAME=C-Media USB Audio Device\n");
    uevent.close();
    s.rig.station().genericTx->linesSetup().hidrawRoot = sys.path();
    Ui::TFormInitTX16 &g = s.setup();

    s.dialog().show();
    QVERIFY(s.rig.station().tx16Settings->linesKind() == LinesKind::ParallelPort);
    QVERIFY(!g.ComboBoxLinesDevice->isEnabled());
    QVERIFY(g.GroupBoxLPT->isEnabled());
    g.RadioButtonLinesCM108->click();
    QVERIFY(!g.GroupBoxLPT->isEnabled());
    QCOMPARE(g.ComboBoxLinesDevice->currentText(),
             QStringLiteral("/dev/hidraw3   C-Media USB Audio Device (0d8c:013c)"));
    QCOMPARE(s.rig.station().tx16Settings->linesMap(), QStringLiteral("1,2,4,3,VOLDN"));

    g.EditLinesMap->setText(QStringLiteral("1,2,4,9,VOLDN"));
    g.BitBtnOK->click();
    g.ComboBoxLinesDevice->setEditText(QString());
    g.EditLinesMap->setText(QStringLiteral("1,2,-,3,VOLDN"));
    g.BitBtnOK->click();
    QCOMPARE(s.messages().size(), 2);
    QVERIFY(s.messages().at(0).startsWith(QStringLiteral("warning:Broches : UP,DOWN,RESET,PTT")));
    QCOMPARE(s.messages().at(1),
             QStringLiteral("warning:Choisissez le périphérique des lignes de commande"));
    QVERIFY(s.dialog().isVisible());
    QCOMPARE(s.rig.station().genericTx->lineSettings.kind, LinesKind::ParallelPort);

    g.ComboBoxLinesDevice->setCurrentIndex(0);
    g.BitBtnOK->click();
    QVERIFY(!s.dialog().isVisible());
    QCOMPARE(s.rig.main().LabelConnect->text(), QStringLiteral("Lines /dev/hidraw3 OK"));
    s.rig.main().MenuSave->trigger();
    QFile ini(s.rig.fixture.path(QStringLiteral("Ivrelane.ini")));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QList<QByteArray> saved = ini.readAll().trimmed().split('\n');
    QCOMPARE(saved.mid(saved.size() - 3),
             (QList<QByteArray>{"LINES=CM108\r", "LINESDEVICE=/dev/hidraw3\r",
                                "LINESMAP=1,2,-,3,VOLDN"}));

    // Back to the parallel port: its own choice and rest levels, as before.
    s.rig.port->clearWrites();
    s.dialog().show();
    QVERIFY(s.rig.station().tx16Settings->linesKind() == LinesKind::UsbAudio);
    g.RadioButtonLinesLPT->click();
    g.RadioButtonH378->click();
    g.BitBtnOK->click();
    QVERIFY(!s.dialog().isVisible());
    QCOMPARE(s.rig.main().LabelConnect->text(), QStringLiteral("LPT 0378h OK"));
    QCOMPARE(s.rig.station().genericTx->lineSettings.kind, LinesKind::ParallelPort);
    QCOMPARE(s.rig.station().genericTx->lineSettings.device, QStringLiteral("/dev/hidraw3"));
    QCOMPARE(s.rig.controlWrites().size(), 4);
    s.rig.station().genericTx->driver().setPtt(true);
    QCOMPARE(s.rig.controlWrites().size(), 5);
}

// A device typed by hand, not among those found, is taken as typed and shown again at the next
// opening.
void TestGenericSetup::typedLinesDeviceIsKept()
{
    MemoryLinesMaker maker;
    SetupRig s;
    QTemporaryDir nothingFound;
    s.rig.station().genericTx->linesSetup().hidrawRoot = nothingFound.path();
    Ui::TFormInitTX16 &g = s.setup();

    s.dialog().show();
    g.RadioButtonLinesCM108->click();
    QCOMPARE(g.ComboBoxLinesDevice->count(), 0);
    g.ComboBoxLinesDevice->setEditText(QStringLiteral("/dev/hidraw9"));
    g.BitBtnOK->click();
    QVERIFY(!s.dialog().isVisible());
    QCOMPARE(s.rig.station().genericTx->lineSettings.device, QStringLiteral("/dev/hidraw9"));

    s.dialog().show();
    QVERIFY(s.rig.station().tx16Settings->linesKind() == LinesKind::UsbAudio);
    QCOMPARE(g.ComboBoxLinesDevice->currentText(), QStringLiteral("/dev/hidraw9"));
    QCOMPARE(s.rig.station().tx16Settings->linesMap(), QStringLiteral("1,2,4,3,VOLDN"));
}

QTEST_MAIN(TestGenericSetup)
#include "tst_generic_setup.moc"
