#include "core/EventLog.h"
#include "core/Notifier.h"
#include "core/StationState.h"
#include "core/TrafficLine.h"
#include "kenwood/KenwoodInitialisation.h"
#include "kenwood/KenwoodOperations.h"
#include "kenwood/KenwoodRadio.h"
#include "kenwood/MemoryListReader.h"
#include "kenwood/RigLink.h"
#include "platform/LinkSettings.h"
#include "radio/RadioRequests.h"
#include "radio/RadioSelector.h"
#include "support/PtyPeer.h"
#include "support/RecordingNotifier.h"
#include "ui/PanelPictures.h"
#include "ui/RadioPanelView.h"
#include "ui/UnitTMD700.h"

#include <QCoroTask>
#include <QTemporaryDir>
#include <QTest>

using Kenwood::Model;

// Panel operations and the initialisation against a scripted radio, for the replies a
// well-behaved simulator never gives: failed echoes, short "RBN", "N" answers, silences,
// garbled records, a "BC" reply naming both bands.
class TestKenwoodOperations : public QObject
{
    Q_OBJECT

    struct Bench
    {
        explicit Bench(Model m) : model(m)
        {
            form.ui.ImageLEDvert->setPixmap(PanelPictures::ledGreen());
            form.ui.ImageLEDrouge->setPixmap(PanelPictures::ledRed());
            form.ui.ImageLEDOFF->setPixmap(PanelPictures::ledOff());
            state.ModelLabel = QStringLiteral("TMD710 ");
            link.open(peer.path());
            radio.setModel(m);
            radios.add(QStringLiteral("radio"), &radio);
            radios.select(QStringLiteral("radio"));
            view.follow();
            operations.resetIndicators();
        }
        Model model;
        PtyPeer peer;
        StationState state;
        SerialPortSettings settings;
        TForm1 form;
        TrafficLine traffic;
        QTemporaryDir folder;
        EventLog log{folder.filePath(QStringLiteral("Ivrelane.log"))};
        RecordingNotifier notifier;
        RadioRequests requests;
        KenwoodRadio radio{{state, settings, traffic, log, notifier, requests}};
        RigLink &link = radio.link();
        KenwoodOperations &operations = radio.operations();
        // The panel as the station paints it, its clicks going to the radio in use.
        RadioSelector radios;
        RadioPanelView view{RadioPanelControls::fromForm(form), state, radios, requests};
        KenwoodInitialisation init{state,
                                   radio.state(),
                                   link,
                                   operations,
                                   traffic,
                                   notifier,
                                   [this] { return std::optional(model); },
                                   [] { return QStringLiteral("pty"); }};

        bool shows(QLabel *led, QLabel *picture) const
        {
            return led->pixmap().toImage() == picture->pixmap().toImage();
        }
    };

private slots:
    void bandSelectionReadsVfoEvenWithoutEcho();
    void realFoReplyGivesItsOffset();
    void garbledVfoShiftDoesNotStopSelection();
    void shortRbnReusesLastRange();
    void memoryModeWithoutEntryAndNoChannel();
    void scanIsIgnoredOnTmd710();
    void reportAfterTimeouts();
    void memoryListSkipsNonRecordsAndKeepsRecordNumbers();
    void memoryListTimeoutLeavesNothing();
    void bandChoiceReplyNamingBothBandsEndsOnB();
};

void TestKenwoodOperations::bandSelectionReadsVfoEvenWithoutEcho()
{
    Bench b(Model::TMD710);
    b.peer.script("BC 0,0", "BC 1,1\r");
    b.peer.script("FO 0", "FO 0,0145500000,0,0,0,0,0,0,08,08,000,00600000,0\r");
    b.peer.script("REP 0", "REP 0\r");
    b.state.ActiveBand = 1;
    QCoro::waitFor(b.operations.selectBand(0));
    QCOMPARE(b.state.ActiveBand, 1);
    QVERIFY(b.shows(b.form.ui.ImageTXA, b.form.ui.ImageLEDOFF));
    QCOMPARE(b.form.ui.EditVFOA->text(), QStringLiteral("F=145.500000 shift=0"));
    QCOMPARE(b.state.RigStatus, 1);
    QCOMPARE(b.peer.commands, (QStringList{"BC 0,0", "FO 0", "REP 0"}));
}

void TestKenwoodOperations::realFoReplyGivesItsOffset()
{
    Bench b(Model::TMV71);
    b.peer.script("BC 0,0", "BC 0,0\r");
    b.peer.script("FO 0", "FO 0,0145225000,0,2,0,0,0,0,08,08,000,00600000,0\r");
    b.state.VfoModeA = true;
    QCoro::waitFor(b.operations.selectBand(0));
    QCOMPARE(b.form.ui.EditVFOA->text(), QStringLiteral("F=145.225000 shift=-0.600"));
    QCOMPARE(b.state.CurrentFrequency, QStringLiteral("145.225000"));
    QVERIFY(b.shows(b.form.ui.ImageTXA, b.form.ui.ImageLEDrouge));
}

void TestKenwoodOperations::garbledVfoShiftDoesNotStopSelection()
{
    Bench b(Model::TMD710);
    b.peer.script("BC 1,1", "BC 1,1\r");
    b.peer.script("FO 1", "FO 1,0433500000,0,x,0,0,0,0,08,08,000,01600000,0\r");
    b.state.VfoModeB = true;
    b.state.CurrentFrequency = QStringLiteral("000.000000");
    QCoro::waitFor(b.operations.selectBand(1));
    QCOMPARE(b.form.ui.EditVFOB->text(), QStringLiteral("F=433.500000 shift=x"));
    QCOMPARE(b.state.CurrentFrequency, QStringLiteral("433.500000"));
    QCOMPARE(b.state.ActiveBand, 1);
}

void TestKenwoodOperations::shortRbnReusesLastRange()
{
    Bench b(Model::TMD700);
    b.peer.script("BC 0,0", "BC 0,0\r");
    b.peer.script("RBN", "RBN\r");
    b.peer.script("VR 5", "VR 5,00145225000,0,1,0,0,0,0,09,0010,09,000600000,0\r");
    QCoro::waitFor(b.operations.selectBand(0));
    QCOMPARE(b.state.VfoBandA, QString());
    QCOMPARE(b.peer.commands.at(2), QStringLiteral("VR "));
    QVERIFY(b.form.ui.EditVFOA->text().isEmpty());

    b.state.VfoBandA = QStringLiteral("5");
    QCoro::waitFor(b.operations.selectBand(0));
    QCOMPARE(b.peer.commands.last(2), (QStringList{"VR 5", "REP 0"}));
    QCOMPARE(b.form.ui.EditVFOA->text(), QStringLiteral("F=145.225000 shift=+0.600"));
}

void TestKenwoodOperations::memoryModeWithoutEntryAndNoChannel()
{
    Bench b(Model::TMD710);
    b.peer.script("VM 0,1", "VM 0,1\r");
    b.peer.script("MR 0", "N\r");
    b.radio.state().setMemoryText(0, QStringLiteral("keep"));
    b.radio.state().setMemories({QStringLiteral("001=145.225000 shift=0")});
    QCOMPARE(b.form.ui.ComboBoxMEM->count(), 1);
    QCOMPARE(b.form.ui.ComboBoxMEM->currentIndex(), -1);
    QCoro::waitFor(b.operations.memoryMode(0));
    QVERIFY(b.state.MemModeA && !b.state.VfoModeA);
    QVERIFY(b.shows(b.form.ui.ImageMEMA, b.form.ui.ImageLEDvert));
    QVERIFY(b.shows(b.form.ui.ImageVFOA, b.form.ui.ImageLEDOFF));
    QCOMPARE(b.form.ui.EditMEMA->text(), QStringLiteral("keep"));
    QCOMPARE(b.peer.commands, (QStringList{"VM 0,1", "MR 0"}));

    // With entry 001 current the channel is selected and the entry shown.
    b.peer.script("MR 0,001", "MR 0,001\r");
    b.form.ui.ComboBoxMEM->setCurrentIndex(0);
    QCoro::waitFor(b.operations.memoryMode(0));
    QCOMPARE(b.peer.commands.last(), QStringLiteral("MR 0,001"));
    QCOMPARE(b.form.ui.EditMEMA->text(), QStringLiteral("001=145.225000 shift=0"));
    QCOMPARE(b.state.CurrentFrequency, QStringLiteral("145.225000"));
}

void TestKenwoodOperations::scanIsIgnoredOnTmd710()
{
    Bench b(Model::TMD710);
    b.radio.state().setScanAvailable(0, true);
    QToolButton *scan = b.form.ui.SpeedButtonScanA;
    QVERIFY(scan->isEnabled());
    scan->click();
    QVERIFY(!scan->isChecked());
    QVERIFY(b.peer.commands.isEmpty());
}

// Each case on a radio of its own: once one has missed a reply, the next reply it gives starts
// its initialisation again, as in the station.
void TestKenwoodOperations::reportAfterTimeouts()
{
    {
        Bench silent(Model::TMD710);
        silent.peer.script("SC", QByteArray()); // no answer
        QCoro::waitFor(silent.operations.updateFrequencyForReport());
        QCOMPARE(silent.state.CurrentFrequency, QStringLiteral("999.999999"));
    }
    Bench b(Model::TMD710);
    b.peer.script("SC", "SC 0\r");
    b.peer.script("MR 0", QByteArray());
    b.state.MemModeA = true;
    b.state.CurrentFrequency = QStringLiteral("145.500000");
    b.radio.state().setMemoryText(0, QStringLiteral("002=145.500000 shift=0"));
    QCoro::waitFor(b.operations.updateFrequencyForReport());
    QCOMPARE(b.state.CurrentFrequency, QStringLiteral("145.500000"));
    QCOMPARE(b.form.ui.EditMEMA->text(), QStringLiteral("002=145.500000 shift=0"));

    // The displays were cleared for an initialisation that stopped before reading them again:
    // VFO mode confirmed, but the server is not answered an empty frequency.
    Bench cleared(Model::TMD710);
    cleared.peer.script("VM 0,0", "VM 0,0\r");
    cleared.state.CurrentFrequency = QStringLiteral("145.225000");
    QCoro::waitFor(cleared.operations.vfoMode(0));
    QCOMPARE(cleared.state.CurrentFrequency, QStringLiteral("145.225000"));

    Bench refused(Model::TMD710);
    refused.peer.script("SC", "SC 0\r");
    refused.peer.script("MR 0", "N\r");
    refused.state.MemModeA = true;
    QCoro::waitFor(refused.operations.updateFrequencyForReport());
    QCOMPARE(refused.state.CurrentFrequency, QStringLiteral("000.000000"));
}

void TestKenwoodOperations::memoryListSkipsNonRecordsAndKeepsRecordNumbers()
{
    Bench b(Model::TMD710);
    b.peer.script("ME 001", "N\r");
    b.peer.script("ME 002", "ME 002,0145500000,0,0,0,0,0,0,08,08,000,00600000,0,0000000000,0,0\r");
    b.peer.script("ME 003", "?\r");
    b.peer.script("ME 004", "ME 009,0430025000,0,2,0,0,0,0,08,08,000,09400000,0,0000000000,0,0\r");
    const MemoryListRead read = QCoro::waitFor(readMemoryList(b.link, Model::TMD710, 4));
    QVERIFY(!read.timedOut);
    QCOMPARE(read.entries, (QStringList{"002=145.500000 shift=0", "009=430.025000 shift=-9.400"}));
}

void TestKenwoodOperations::memoryListTimeoutLeavesNothing()
{
    Bench b(Model::TMD700);
    b.peer.script("MR 0,0,001", "MR 0,0,001,00145225000,0,2,0,0,0,0,09,0010,09,000600000,0,0\r");
    b.peer.script("MR 0,0,002", QByteArray());
    const MemoryListRead read = QCoro::waitFor(readMemoryList(b.link, Model::TMD700, 3));
    QVERIFY(read.timedOut);
    QVERIFY(read.entries.isEmpty());
    QCOMPARE(b.peer.commands, (QStringList{"MR 0,0,001", "MR 0,0,002"}));
}

void TestKenwoodOperations::bandChoiceReplyNamingBothBandsEndsOnB()
{
    Bench b(Model::TMD710);
    for (const char *echo : {"AI 0", "REP 0", "BC 0,0", "BC 1,1", "VM 0,0", "VM 1,0"})
        b.peer.script(echo, QByteArray(echo) + '\r');
    b.peer.script("ID", "ID TM-D710\r");
    b.peer.script("ME 001", "ME 001,0145225000,0,2,0,0,0,0,08,08,000,00600000,0,0000000000,0,0\r");
    b.peer.script("BC", "BC 0,1 BC 1,1\r");
    b.peer.script("FO 0", "FO 0,0145225000,0,0,0,0,0,0,08,08,000,00600000,0\r");
    b.peer.script("FO 1", "FO 1,0433500000,0,0,0,0,0,0,08,08,000,00600000,0\r");
    b.peer.script("VM 0", "VM 0,0\r");
    b.peer.script("VM 1", "VM 1,0\r");
    b.peer.script("PC 0", "PC 0,1\r");
    b.peer.script("PC 1", "PC 1,0\r");
    b.state.NumberOfMemories = 1;
    QCoro::waitFor(b.init.ButtoninitClick());
    QCOMPARE(b.state.ActiveBand, 1);
    QVERIFY(b.shows(b.form.ui.ImageTXB, b.form.ui.ImageLEDrouge));
    QVERIFY(b.shows(b.form.ui.ImageTXA, b.form.ui.ImageLEDOFF));
    QCOMPARE(b.state.CurrentFrequency, QStringLiteral("433.500000"));
    QCOMPARE(b.state.RigStatus, 3);
    QCOMPARE(b.form.ui.ComboBoxMEM->count(), 1);
    QCOMPARE(b.form.ui.TrackBarPWRB->value(), 0);
    QVERIFY(b.form.ui.GroupBoxTX->isEnabled());
    QVERIFY(b.peer.commands.indexOf("BC 0,0") < b.peer.commands.indexOf("BC 1,1"));
}

QTEST_MAIN(TestKenwoodOperations)
#include "tst_kenwood_operations.moc"
