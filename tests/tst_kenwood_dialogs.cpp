#include "app/KenwoodWiring.h"
#include "app/Station.h"
#include "kenwood/MemoryExport.h"
#include "support/StationFixture.h"
#include "support/TestFiles.h"
#include "ui/UnitDTMF.h"
#include "ui/UnitMEM.h"
#include "ui/UnitTMD700.h"

#include <QCoroTask>
#include <QFile>
#include <QTest>

// The memory count dialog, the export of codes and memories, and the hidden read time-outs.
class TestKenwoodDialogs : public QObject
{
    Q_OBJECT

private slots:
    void exportFileBytes_data();
    void exportFileBytes();
    void exportCancelledWritesNothing();
    void memoryDialogShowsCountWithoutChangingIt();
    void hiddenTimeoutEdits();
};

void TestKenwoodDialogs::exportFileBytes_data()
{
    QTest::addColumn<QStringList>("dtmf");
    QTest::addColumn<QStringList>("memories");
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("codes and memories")
        << QStringList{" [DTMF]", "1230 : action 07= Mémoire Nnn sur TXA (Kenwood)"}
        << QStringList{"001=145.225000 shift=-0.600", "002=145.500000 shift=0"}
        << QByteArray("Liste des codes DTMF\r\n1230 : action 07= M\xe9moire Nnn sur TXA "
                      "(Kenwood)\r\nListe des m\xe9moires\r\n001=145.225000 shift=-0.600\r\n"
                      "002=145.500000 shift=0\r\n");
    QTest::newRow("empty memory list")
        << QStringList{" [DTMF]", "99 : action 99= x"} << QStringList{}
        << QByteArray("Liste des codes DTMF\r\n99 : action 99= "
                      "x\r\nListe des m\xe9moires\r\n");
    QTest::newRow("header-only code list")
        << QStringList{" [DTMF]"} << QStringList{"003=430.025000 shift=-9.400"}
        << QByteArray("Liste des codes DTMF\r\nListe des m\xe9moires\r\n003=430.025000 "
                      "shift=-9.400\r\n");
}

void TestKenwoodDialogs::exportFileBytes()
{
    QFETCH(QStringList, dtmf);
    QFETCH(QStringList, memories);
    QFETCH(QByteArray, body);
    StationFixture fixture;
    Station &station = fixture.start();
    station.dtmfCodes.setLines(dtmf);
    // The Kenwood's memories, listed on the panel, stay the ones exported once the generic
    // transmitter (which has none) takes over.
    QCoro::waitFor(station.radios.changeTo(QStringLiteral("TMD710")));
    station.kenwood->radio().state().setMemories(memories);
    QCOMPARE(station.windows().Form1->ui.ComboBoxMEM->count(), memories.size());
    QCoro::waitFor(station.radios.changeTo(QStringLiteral("TX16UD")));
    fixture.notifier.messages.clear(); // the Kenwood's port not chosen
    const QString path = fixture.path(QStringLiteral("out.txt"));
    TestFiles::writeBytes(path, "old content that must go");
    QString offered;
    station.kenwood->dialogs().chooseSaveFile = [&](const QString &name) {
        offered = name;
        return path;
    };
    station.windows().Form1->ui.MenuSaveDTMF->trigger();
    QCOMPARE(offered, QStringLiteral("TMD700Ivrelane.txt"));
    const QByteArray bytes = TestFiles::readBytes(path);
    QVERIFY2(bytes.startsWith("Ivrelane TMD/V7xx "), bytes.constData());
    const qsizetype firstLineEnd = bytes.indexOf("\r\n");
    QCOMPARE(bytes.mid(firstLineEnd + 2), body);
    QVERIFY(fixture.notifier.messages.isEmpty());
}

void TestKenwoodDialogs::exportCancelledWritesNothing()
{
    StationFixture fixture;
    Station &station = fixture.start();
    station.kenwood->dialogs().chooseSaveFile = [](const QString &) { return QString(); };
    station.windows().Form1->ui.MenuSaveDTMF->trigger();
    QVERIFY(!QFile::exists(fixture.path(QStringLiteral("TMD700Ivrelane.txt"))));

    // A folder in the way of the file: the failure is reported, not passed over.
    station.kenwood->dialogs().chooseSaveFile = [&](const QString &) {
        return fixture.path("dev");
    };
    station.windows().Form1->ui.MenuSaveDTMF->trigger();
    QCOMPARE(fixture.notifier.messages.size(), 1);
    QVERIFY(fixture.notifier.messages.first().startsWith(QLatin1String("error:")));
}

void TestKenwoodDialogs::memoryDialogShowsCountWithoutChangingIt()
{
    StationFixture fixture;
    fixture.writeConfiguration({QStringLiteral("NUMBERMEM=500"), QStringLiteral("LANGUAGE=E")});
    Station &station = fixture.start();
    TFormMEM &mem = *station.windows().FormMEM;
    station.windows().Form1->move(30, 20);
    station.windows().Form1->ui.MenuMEM->setEnabled(true);
    station.windows().Form1->ui.MenuMEM->trigger();
    QVERIFY(mem.isVisible());
    QCOMPARE(mem.pos(), station.windows().Form1->pos() + QPoint(100, 40));
    QCOMPARE(mem.ui.Label1->text(), QStringLiteral("Memories to be read : 1 to"));
    QCOMPARE(mem.ui.SpinEditMEM->value(), 199);
    QCOMPARE(station.state.NumberOfMemories, 500);
    mem.ui.SpinEditMEM->setValue(42);
    QCOMPARE(station.state.NumberOfMemories, 42);
    mem.hide();
}

void TestKenwoodDialogs::hiddenTimeoutEdits()
{
    StationFixture fixture;
    Station &station = fixture.start();
    Ui::TForm1 &ui = station.windows().Form1->ui;
    QVERIFY(ui.EditRI->isHidden());
    ui.MenuTIMEROUTS->trigger();
    QVERIFY(!ui.EditRI->isHidden() && !ui.LabelRC->isHidden());
    QCOMPARE(ui.EditRI->text(), QStringLiteral("25"));
    QCOMPARE(ui.EditRM->text(), QStringLiteral("25"));
    QCOMPARE(ui.EditRC->text(), QStringLiteral("1"));
    ui.EditRI->clear();
    // "4x" is no number: the interval stays at the 4 typed before it.
    QTest::keyClicks(ui.EditRI, QStringLiteral("4x"));
    QCOMPARE(station.ComPortTX.readIntervalTimeout, 4);
    QTest::keyClick(ui.EditRI, Qt::Key_Backspace);
    QTest::keyClicks(ui.EditRI, QStringLiteral("0"));
    QCOMPARE(station.ComPortTX.readIntervalTimeout, 40);
    ui.EditRC->selectAll();
    QTest::keyClicks(ui.EditRC, QStringLiteral("7"));
    QCOMPARE(station.ComPortTX.readTotalConstant, 7);
}

QTEST_MAIN(TestKenwoodDialogs)
#include "tst_kenwood_dialogs.moc"
