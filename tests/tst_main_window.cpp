#include "app/HamlibWiring.h"
#include "app/InterfaceWiring.h"
#include "core/LanguageTexts.h"
#include "core/StationState.h"
#include "core/VersionCheckSite.h"
#include "radio/Radio.h"
#include "support/StationFixture.h"
#include "support/TestFiles.h"
#include "ui/LabelUrl.h"
#include "ui/MessageBoxNotifier.h"
#include "ui/StatusLines.h"
#include "ui/UnitHamlib.h"
#include "ui/UnitInfo.h"
#include "ui/UnitTMD700.h"
#include "ui/UnitWarning.h"

#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

// Shows the main window and makes it the active one, so that keys and shortcuts reach it.
bool showActive(Station &station)
{
    TForm1 *window = station.windows().Form1.get();
    window->show();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
}

void showKenwoodPanel(Ui::TForm1 &m)
{
    m.GroupBoxTX16UD->hide();
    m.GroupBoxTX->show();
    m.GroupBoxTX->setEnabled(true);
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    // The status strip shows the whole of its usual texts, port names of the usual kinds
    // included, in both languages; each line also shows its whole text in its tool tip.
    void statusStripShowsWholeTexts()
    {
        StationFixture fixture;
        Station &station = fixture.start();
        Ui::TForm1 &m = station.windows().Form1->ui;
        QVERIFY(showActive(station));
        QStringList portTexts;
        QStringList rigTexts{"Initializing...", "Initialization completed",
                             "Initialisation en cours", "Initialisation terminée"};
        QStringList serverTexts{"F=145.225000/23:59:59"};
        for (const auto &messages :
             {StationState::initialStatusMessages(), statusMessages(Language::French),
              statusMessages(Language::English)}) {
            for (const char *port : {"ttyS0", "ttyUSB0", "ttyACM0"})
                portTexts << QLatin1String(port) + messages[2] << QLatin1String(port) + messages[4];
            for (const char *model : {"TMD700 ", "TMD710 ", "TMV71 "})
                rigTexts << QLatin1String(model) + messages[5]
                         << QLatin1String(model) + messages[6];
            serverTexts << messages[9] << messages[10];
        }
        // The port of scripts/try-without-radio, once a language is chosen.
        for (Language language : {Language::French, Language::English})
            portTexts << QStringLiteral("ttyIvrelaneTry") + statusMessages(language)[2];
        // Frame and text margins of a line edit.
        constexpr int Margins = 10;
        for (const auto &[line, texts] :
             {std::pair{m.LabelConnect, portTexts}, std::pair{m.labelTMD, rigTexts},
              std::pair{m.StaticTextIPConnect, serverTexts}}) {
            for (const QString &text : texts) {
                QVERIFY2(line->fontMetrics().horizontalAdvance(text) + Margins <= line->width(),
                         qPrintable(text));
            }
        }

        m.LabelConnect->setText(QStringLiteral("ttyIvrelaneTry connecté à 9600 bds"));
        QCOMPARE(m.LabelConnect->toolTip(),
                 QStringLiteral("Statut du port série du PC\nttyIvrelaneTry connecté à 9600 bds"));
        m.LabelConnect->clear();
        QCOMPARE(m.LabelConnect->toolTip(), QStringLiteral("Statut du port série du PC"));
        m.StaticTextDTMF->setText(QStringLiteral("1230"));
        QCOMPARE(m.StaticTextDTMF->toolTip(), QStringLiteral("Informations du serveur\n1230"));
    }

    // A by-id name does not fit: the line shows its end, which tells adapters apart, and the
    // tool tip the whole of it; a short name afterwards shows whole again.
    void longPortNameShowsItsEnd()
    {
        StationFixture fixture;
        Station &station = fixture.start();
        QLineEdit *line = station.windows().Form1->ui.LabelConnect;
        const QString byId =
            QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0");
        const QString opened = station.state.statusMessage(StatusMessage::PortOpened);
        station.state.PortStatus = 1;
        StatusLines::showPort(line, station.state, byId);
        QVERIFY2(line->text().startsWith(QStringLiteral("...")) &&
                     line->text().endsWith(QStringLiteral("-if00-port0") + opened),
                 qPrintable(line->text()));
        QVERIFY(line->fontMetrics().horizontalAdvance(line->text()) < line->width());
        QCOMPARE(line->toolTip(), QStringLiteral("Statut du port série du PC\n") + byId + opened);
        // Shown again (start-up opens the port twice), the hint stays.
        StatusLines::showPort(line, station.state, byId);
        QCOMPARE(line->toolTip(), QStringLiteral("Statut du port série du PC\n") + byId + opened);
        StatusLines::showPort(line, station.state, QStringLiteral("ttyUSB0"));
        QCOMPARE(line->text(), QStringLiteral("ttyUSB0") + opened);
        QCOMPARE(line->toolTip(), QStringLiteral("Statut du port série du PC\nttyUSB0") + opened);
    }

    // A box opened while the operator works in another window (the Hamlib settings) shows over
    // that window, not behind it over the main window.
    void messageBoxOverTheWindowInUse()
    {
        StationFixture fixture;
        Station &station = fixture.start();
        QWidget &settings = station.hamlib->settingsForm();
        settings.show();
        settings.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&settings));
        MessageBoxNotifier boxes(station.windows().Form1.get());
        boxes.warning(QStringLiteral("Port ?"));
        QMessageBox *box = settings.findChild<QMessageBox *>();
        QVERIFY(box);
        QVERIFY(box->isVisible());
        box->close();
        settings.hide();
    }

    // Every item of the menu bar is on the bar itself, none in an overflow button.
    void menuBarFitsTheWindowInBothLanguages()
    {
        StationFixture fixture;
        Station &station = fixture.start();
        Ui::TForm1 &m = station.windows().Form1->ui;
        QVERIFY(showActive(station));
        for (QAction *language : {m.MenuFrancais, m.menuEnglish}) {
            language->trigger();
            QCoreApplication::processEvents();
            const QList<QAction *> items = m.MainMenu->actions();
            QCOMPARE(items.size(), 9);
            for (QAction *item : items) {
                const QRect place = m.MainMenu->actionGeometry(item);
                QVERIFY2(!place.isEmpty() && place.right() < m.MainMenu->width(),
                         qPrintable(item->text()));
            }
            const auto *overflow = m.MainMenu->findChild<QToolButton *>();
            QVERIFY(overflow == nullptr || overflow->isHidden());
        }
        QCOMPARE(station.windows().Form1->width(), 393);
    }

    // Clicking a display, a power slider or the memory list leaves the keyboard with the
    // window, so the space bar still reaches its handler.
    void spaceBarReachesTheWindowAfterAClick_data()
    {
        QTest::addColumn<QString>("control");
        for (const char *name : {"EditTXdata", "EditVFOA", "EditVFOB", "EditMEMA", "EditMEMB",
                                 "TrackBarPWRA", "TrackBarPWRB", "ComboBoxMEM"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void spaceBarReachesTheWindowAfterAClick()
    {
        QFETCH(QString, control);
        StationFixture fixture;
        Station &station = fixture.start();
        Ui::TForm1 &m = station.windows().Form1->ui;
        showKenwoodPanel(m);
        QString keys;
        station.windows().Form1->FormKeyPress = [&keys](QChar key) { keys += key; };
        QVERIFY(showActive(station));

        auto *target = station.windows().Form1->findChild<QWidget *>(control);
        QVERIFY(target && target->isVisible());
        QTest::mouseClick(target, Qt::LeftButton, {}, target->rect().center());
        if (auto *list = qobject_cast<QComboBox *>(target))
            list->hidePopup();
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : station.windows().Form1.get(), Qt::Key_Space);
        QCOMPARE(keys, QStringLiteral(" "));
    }

    // The window takes the keyboard back from the control that holds it after a click on the
    // panel and after an operation whoever asked for it (the server's keying here), so that the
    // space bar keys the transceiver; a display that changes alone leaves the keyboard where it is.
    void windowTakesTheKeyboardBackAfterOperations()
    {
        StationFixture fixture;
        fixture.writeConfiguration({"MODEL=HAMLIB", "HAMLIBMODEL=1"});
        Station &station = fixture.start();
        Ui::TForm1 &m = station.windows().Form1->ui;
        Radio &radio = *station.radios.current();
        QTRY_VERIFY_WITH_TIMEOUT(radio.state().panelEnabled(), 10'000);
        QVERIFY(showActive(station));
        m.MenuTIMEROUTS->trigger();
        QVERIFY(m.EditRI->isVisible());
        auto editHoldsTheKeyboard = [&m] {
            m.EditRI->setFocus(Qt::MouseFocusReason);
            return QApplication::focusWidget() == m.EditRI;
        };

        QVERIFY(editHoldsTheKeyboard());
        radio.state().setVfoText(0, QStringLiteral("F=145.500000 shift=0"));
        QCOMPARE(QApplication::focusWidget(), m.EditRI);

        QTest::mouseClick(m.SpeedButtonTXB, Qt::LeftButton);
        QTRY_COMPARE(QApplication::focusWidget(), station.windows().Form1.get());
        QTRY_COMPARE(station.state.ActiveBand, 1);

        QVERIFY(editHoldsTheKeyboard());
        QCoro::waitFor(radio.setTransmit(true));
        QVERIFY(radio.state().keyed());
        QCOMPARE(QApplication::focusWidget(), station.windows().Form1.get());
        QTest::keyClick(station.windows().Form1.get(), Qt::Key_Space);
        QTRY_VERIFY(!radio.state().keyed());
    }

    // The three test items sit in no menu and answer only to their key combinations; F1 and F2
    // open help and the information window.
    void shortcutsOfTheWindow()
    {
        StationFixture fixture;
        Station &station = fixture.start();
        Ui::TForm1 &m = station.windows().Form1->ui;
        QList<QUrl> opened;
        station.interface->openDocument =
            [&opened](const QUrl &url, const std::function<void()> &) { opened << url; };
        QVERIFY(showActive(station));

        const struct
        {
            QAction *item;
            Qt::Key key;
        } hidden[] = {
            {m.MenuSimuDTMF, Qt::Key_S}, {m.menusimuFreq, Qt::Key_F}, {m.MenuTIMEROUTS, Qt::Key_T}};
        for (const auto &h : hidden) {
            for (QObject *owner : h.item->associatedObjects())
                QVERIFY2(!qobject_cast<QMenu *>(owner) && !qobject_cast<QMenuBar *>(owner),
                         qPrintable(h.item->objectName()));
            QSignalSpy triggered(h.item, &QAction::triggered);
            QTest::keyClick(station.windows().Form1.get(), h.key,
                            Qt::ControlModifier | Qt::AltModifier);
            QCOMPARE(triggered.count(), 1);
        }

        QTest::keyClick(station.windows().Form1.get(), Qt::Key_F1);
        QCOMPARE(opened.size(), 1);
        QCOMPARE(QFileInfo(opened.first().toLocalFile()).fileName(), "Ivrelane_fr.htm");
        QTest::keyClick(station.windows().Form1.get(), Qt::Key_F2);
        QVERIFY(station.windows().FormInfo->isVisible());
        station.windows().FormInfo->hide();
    }

    // Help opens the page of the checked language, built into the program: a copy alone in a
    // folder has it. Both pages sit side by side, as each links to the other.
    void helpPageOfTheCheckedLanguage()
    {
        StationFixture fixture;
        Station &station = fixture.start();
        Ui::TForm1 &m = station.windows().Form1->ui;
        QList<QUrl> opened;
        station.interface->openDocument =
            [&opened](const QUrl &url, const std::function<void()> &) { opened << url; };

        m.menuEnglish->trigger();
        m.menuaide->trigger();
        m.MenuFrancais->trigger();
        m.menuaide->trigger();
        QCOMPARE(opened.size(), 2);
        const QFileInfo english(opened.at(0).toLocalFile());
        const QFileInfo french(opened.at(1).toLocalFile());
        QCOMPARE(english.fileName(), "Ivrelane_en.htm");
        QCOMPARE(french.fileName(), "Ivrelane_fr.htm");
        QCOMPARE(english.dir(), french.dir());
        QVERIFY(!english.absolutePath().startsWith(fixture.path("")));
        QVERIFY(TestFiles::readBytes(english.filePath()).contains("<html lang=\"en\">"));
        QVERIFY(TestFiles::readBytes(french.filePath()).contains("<html lang=\"fr\">"));
        QVERIFY(fixture.notifier.messages.isEmpty());

        // No program to open it (no browser): a box names the page's file, in the language of
        // the menu at the time of asking.
        station.interface->openDocument = [](const QUrl &, const std::function<void()> &failed) {
            QTimer::singleShot(10, failed);
        };
        m.menuEnglish->trigger();
        m.menuaide->trigger();
        QTRY_COMPARE(fixture.notifier.messages,
                     QStringList{"warning:No program could open the help page. Its file: " +
                                 english.filePath()});
    }

    void informationWindowAndItsLink()
    {
        TLabelUrl fresh;
        QCOMPARE(fresh.text(), QStringLiteral("Http://"));
        QCOMPARE(fresh.Url(), QString());
        QVERIFY(fresh.font().underline());
        QCOMPARE(fresh.cursor().shape(), Qt::PointingHandCursor);

        StationFixture fixture;
        Station &station = fixture.start();
        TFormInfo &info = *station.windows().FormInfo;
        station.windows().Form1->ui.menuinfo->trigger();
        QVERIFY(info.isVisible());
        TLabelUrl *link = info.ui.LabelUrl3;
        QCOMPARE(link->Url(), makerSiteAddress());
        QCOMPARE(link->text(), makerSiteAddress());

        QStringList calls;
        link->OnClick = [&calls] { calls << QStringLiteral("owner"); };
        link->openUrl = [&calls](const QString &url) { calls << url; };
        QTest::mouseClick(link, Qt::LeftButton, {}, link->rect().center());
        QCOMPARE(calls, (QStringList{QStringLiteral("owner"), makerSiteAddress()}));
        QVERIFY(info.isVisible());

        info.ui.BitBtnOK->click();
        QVERIFY(info.isHidden());
    }

    // With the main window in a corner, the start-up warning stays whole on the screen.
    void warningShownWholeOnTheScreen()
    {
        StationFixture fixture;
        fixture.writeConfiguration({"FORMTOP=0", "FORMLEFT=0"});
        Station &station = fixture.start();
        TFormWarning &warning = *station.windows().FormWarning;
        QVERIFY(warning.isVisible());
        const QRect screen = station.windows().Form1->screen()->availableGeometry();
        QVERIFY(screen.contains(warning.frameGeometry()));
        QCOMPARE(station.windows().Form1->pos(), QPoint(0, 0));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
