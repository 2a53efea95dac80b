#include "core/LanguageTexts.h"
#include "support/StationFixture.h"
#include "ui/StatusLines.h"
#include "ui/UnitDTMF.h"
#include "ui/UnitIP.h"
#include "ui/UnitInitTX16.h"
#include "ui/UnitMEM.h"
#include "ui/UnitTMD700.h"
#include "ui/UnitWarning.h"

#include <QCheckBox>
#include <QTest>

namespace {

void chooseEnglish(Station &station)
{
    station.windows().Form1->ui.menuEnglish->trigger();
}

void chooseFrench(Station &station)
{
    station.windows().Form1->ui.MenuFrancais->trigger();
}

// A Kenwood model checked without opening any port, so the status lines are the switch's alone.
void checkKenwoodWithoutPort(Station &station)
{
    station.windows().Form1->ui.MenuTMD710->setChecked(true);
    station.radios.select(QStringLiteral("TMD710"));
    station.state.ModelLabel = QStringLiteral("TMD710 ");
}

const QString Sentinel = QStringLiteral("color: rgb(1, 2, 3);");

} // namespace

class TestLanguageSwitch : public QObject
{
    Q_OBJECT

private slots:
    // Until a language is chosen the windows keep their design-time texts and the status table
    // its start-up texts, which differ from the French table.
    void designTimeTextsUntilASwitch()
    {
        StationFixture fixture;
        Station &station = fixture.start();
        Ui::TForm1 &m = station.windows().Form1->ui;
        QCOMPARE(m.MenuSave->text(), QStringLiteral("Sauvegarde configuration"));
        QCOMPARE(m.Label14->text(), QStringLiteral("Canaux & fréquences :   1 à "));
        QCOMPARE(station.windows().FormWarning->windowTitle(),
                 QStringLiteral("QUORVEL - Attention"));
        QCOMPARE(station.state.statusMessage(StatusMessage::NoPortSelected),
                 QStringLiteral("Pas de port sélectionné !"));
        Ui::TFormInitTX16 &g = station.windows().FormInitTX16->ui;
        QCOMPARE(g.Label2->text(), QStringLiteral("Câblage des signaux LPT (masse=pin 25)"));
        QCOMPARE(g.CheckBoxOptiTX16->text(),
                 QStringLiteral("Scanning circulaire sur les canaux utilisés (sinon coché, "
                                "scanning ascenseur)"));

        chooseFrench(station);
        QCOMPARE(g.Label2->text(), QStringLiteral("Câblages des signaux LPT (masse=pin 25)"));
        QCOMPARE(m.MenuSave->text(), QStringLiteral("Sauvegarder configuration"));
        QCOMPARE(m.Label14->text(), QStringLiteral("Canaux & fréquences utilisées :   1 à "));
        QCOMPARE(station.windows().FormWarning->windowTitle(),
                 QStringLiteral("IVRELANETMD700 - ALARME !"));
        QCOMPARE(station.state.StatusMessages, statusMessages(Language::French));
    }

    // Every window the switch relabels, there and back.
    void everyWindowFollows()
    {
        StationFixture fixture;
        Station &station = fixture.start();
        Ui::TForm1 &m = station.windows().Form1->ui;
        chooseEnglish(station);
        QCOMPARE(m.MenuFichier->title(), QStringLiteral("File"));
        QCOMPARE(m.menuaide->text(), QStringLiteral("Help"));
        QCOMPARE(m.Label14->text(), QStringLiteral("Used channels & frequencies :   1 to "));
        QCOMPARE(station.state.StatusMessages, statusMessages(Language::English));
        QCOMPARE(station.windows().FormWarning->ui.CheckBoxWarning->text(),
                 QStringLiteral("Dont't show this warning next time"));
        QCOMPARE(station.windows().FormInitTX16->ui.LabelCanalReset->text(),
                 QStringLiteral("Default channel"));
        QCOMPARE(station.windows().FormIP->ui.LabelIP->text(), QStringLiteral("Server IP"));
        QCOMPARE(station.windows().FormDTMF->ui.BitBtnOKCodeDTMF->text(), QStringLiteral("Add"));
        // The new-version notice is the same in both languages.
        QVERIFY(station.state.NewVersionMessage.startsWith(QStringLiteral("Une version")));

        chooseFrench(station);
        QCOMPARE(m.MenuFichier->title(), QStringLiteral("Fichier"));
        QCOMPARE(station.windows().FormIP->ui.LabelIP->text(), QStringLiteral("IP Serveur"));
        QCOMPARE(station.windows().FormDTMF->ui.BitBtnOKCodeDTMF->text(),
                 QStringLiteral("Ajouter"));
        QCOMPARE(station.windows().FormInitTX16->ui.LabelCanalReset->text(),
                 QStringLiteral("Canal de base"));
    }

    void serverLineRedrawnInItsColour()
    {
        StationFixture fixture;
        Station &station = fixture.start();
        QLineEdit *line = station.windows().Form1->ui.StaticTextIPConnect;
        station.state.ServerStatus = 1;
        StatusLines::showServer(line, station.state);
        const QString green = line->styleSheet();
        chooseEnglish(station);
        QCOMPARE(line->text(), QStringLiteral("Server is connected"));
        QCOMPARE(line->styleSheet(), green);
        chooseFrench(station);
        QCOMPARE(line->text(), QStringLiteral("Serveur connecté"));
        station.state.ServerStatus = 0;
        chooseEnglish(station);
        QCOMPARE(line->text(), QStringLiteral("Server not connected"));
    }

    // Whatever colour the line had (a red "TX time-out"), it takes that of the text it now shows.
    void transceiverLineRedrawn_data()
    {
        QTest::addColumn<int>("rigStatus");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("french");
        QTest::addColumn<QString>("colour");
        const QString red = QStringLiteral("color: rgb(255, 0, 0);");
        const QString green = QStringLiteral("color: rgb(0, 128, 0);");
        QTest::newRow("no answer") << 0 << "TMD710 does not answer"
                                   << "TMD710 ne répond pas" << red;
        QTest::newRow("answer") << 1 << "TMD710 answers OK"
                                << "TMD710 réponse OK" << green;
        QTest::newRow("initialising") << 2 << "Initializing..."
                                      << "Initialisation en cours" << red;
        QTest::newRow("initialised") << 3 << "Initialization completed"
                                     << "Initialisation terminée" << green;
    }
    void transceiverLineRedrawn()
    {
        QFETCH(int, rigStatus);
        QFETCH(QString, english);
        QFETCH(QString, french);
        QFETCH(QString, colour);
        StationFixture fixture;
        Station &station = fixture.start();
        checkKenwoodWithoutPort(station);
        QLineEdit *line = station.windows().Form1->ui.labelTMD;
        line->setStyleSheet(Sentinel);
        station.state.RigStatus = rigStatus;
        chooseEnglish(station);
        QCOMPARE(line->text(), english);
        QVERIFY2(line->styleSheet().endsWith(colour), qPrintable(line->styleSheet()));
        line->setStyleSheet(Sentinel);
        chooseFrench(station);
        QCOMPARE(line->text(), french);
        QVERIFY2(line->styleSheet().endsWith(colour), qPrintable(line->styleSheet()));
    }

    // The generic transmitter has no answer to report, and its port line shows the parallel
    // port, whatever a Kenwood chosen before left in PortStatus: both stay as the model left them.
    void genericTransmitterLinesStay()
    {
        StationFixture fixture;
        Station &station = fixture.start();
        QVERIFY(station.radios.isCurrent(QStringLiteral("TX16UD")));
        station.windows().Form1->ui.labelTMD->clear();
        QLineEdit *port = station.windows().Form1->ui.LabelConnect;
        StatusLines::setColouredText(port, QStringLiteral("LPT 0378h OK"),
                                     StatusLines::Colour::Green);
        const QString green = port->styleSheet();
        station.ComPortTX.portName = QStringLiteral("ttyS7");
        station.state.PortStatus = 0;
        chooseEnglish(station);
        QCOMPARE(station.windows().Form1->ui.labelTMD->text(), QString());
        QCOMPARE(port->text(), QStringLiteral("LPT 0378h OK"));
        QCOMPARE(port->styleSheet(), green);
    }

    // The port line is redrawn in its rule's colour, whatever colour it had before.
    void portLineRedrawn_data()
    {
        QTest::addColumn<int>("portStatus");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("colour");
        QTest::newRow("never opened: untouched") << -1 << "untouched" << Sentinel;
        QTest::newRow("open") << 1 << "ttyS7 opened at 9600 bds"
                              << "color: rgb(0, 128, 0);";
        QTest::newRow("failed") << 0 << "ttyS7 COM opening error"
                                << "color: rgb(255, 0, 0);";
    }
    void portLineRedrawn()
    {
        QFETCH(int, portStatus);
        QFETCH(QString, english);
        QFETCH(QString, colour);
        StationFixture fixture;
        Station &station = fixture.start();
        checkKenwoodWithoutPort(station);
        QLineEdit *line = station.windows().Form1->ui.LabelConnect;
        line->setText(QStringLiteral("untouched"));
        line->setStyleSheet(Sentinel);
        station.ComPortTX.portName = QStringLiteral("ttyS7");
        station.state.PortStatus = portStatus;
        chooseEnglish(station);
        QCOMPARE(line->text(), english);
        QVERIFY2(line->styleSheet().endsWith(colour), qPrintable(line->styleSheet()));
    }

    void dtmfActionsRefilledWithoutSelection()
    {
        StationFixture fixture;
        Station &station = fixture.start();
        QComboBox *actions = station.windows().FormDTMF->ui.ComboBoxActionsDTMF;
        actions->setCurrentIndex(5);
        chooseEnglish(station);
        QCOMPARE(actions->count(), 30);
        QCOMPARE(actions->currentIndex(), -1);
        QCOMPARE(actions->itemText(1), QStringLiteral("01= Switch to TXA (Kenwood)"));
        actions->setCurrentIndex(3);
        chooseFrench(station);
        QCOMPARE(actions->count(), 30);
        QCOMPARE(actions->currentIndex(), -1);
        QCOMPARE(actions->itemText(1), QStringLiteral("01= Commuter sur TXA (Kenwood)"));
    }

    void memoryDialogShowsTheCurrentLanguage()
    {
        StationFixture fixture;
        Station &station = fixture.start();
        TFormMEM &mem = *station.windows().FormMEM;
        chooseEnglish(station);
        mem.show();
        QCOMPARE(mem.ui.Label1->text(), QStringLiteral("Memories to be read : 1 to"));
        mem.hide();
        chooseFrench(station);
        mem.show();
        QCOMPARE(mem.ui.Label1->text(), QStringLiteral("Mémoires à lire : 1 à"));
        mem.hide();
    }

    // The list of serial ports opens under the "COM" item, which the captions before it move.
    void portListFollowsTheComItem()
    {
        StationFixture fixture;
        Station &station = fixture.start();
        Ui::TForm1 &m = station.windows().Form1->ui;
        station.windows().Form1->show();
        QVERIFY(QTest::qWaitForWindowExposed(station.windows().Form1.get()));
        chooseEnglish(station);
        const int english = m.ListBoxPort->x();
        QCOMPARE(english, m.MainMenu->actionGeometry(m.MenuPort).left());
        chooseFrench(station);
        const int french = m.ListBoxPort->x();
        QCOMPARE(french, m.MainMenu->actionGeometry(m.MenuPort).left());
        QVERIFY(english < french); // "File Model Band" is shorter than "Fichier Modèle Bande"
        station.windows().Form1->hide();
    }

    // The language line runs the switch as it is read, so the lines after it find the windows
    // already in that language.
    void configuredLanguageSwitchesWhileReading()
    {
        StationFixture fixture;
        fixture.writeConfiguration({"LANGUAGE=E", "WARNING=Y"});
        Station station(fixture.dir.path(), fixture.notifier);
        station.deviceDirectory = fixture.path("dev");
        station.terminate = nullptr;
        QCheckBox *warning = station.windows().FormWarning->ui.CheckBoxWarning;
        QString captionWhenWarningRead;
        connect(warning, &QCheckBox::toggled, this,
                [&] { captionWhenWarningRead = warning->text(); });
        station.FormActivate();

        QCOMPARE(captionWhenWarningRead, QStringLiteral("Dont't show this warning next time"));
        QVERIFY(station.windows().Form1->ui.menuEnglish->isChecked());
        QCOMPARE(station.windows().Form1->ui.MenuQuitter->text(), QStringLiteral("Quit"));
        QCOMPARE(station.windows().Form1->ui.StaticTextIPConnect->text(),
                 QStringLiteral("Server not connected"));
        QCOMPARE(station.windows().FormDTMF->ui.ComboBoxActionsDTMF->count(), 30);
        QCOMPARE(station.windows().FormDTMF->ui.ComboBoxActionsDTMF->itemText(2),
                 QStringLiteral("02= Switch to TXB (Kenwood)"));
        QVERIFY(station.windows().FormWarning->isHidden());
    }
};

QTEST_MAIN(TestLanguageSwitch)
#include "tst_language_switch.moc"
