#include "core/LanguageTexts.h"
#include "core/StationState.h"
#include "ui/Captions.h"
#include "ui/UnitDTMF.h"
#include "ui/UnitIP.h"
#include "ui/UnitInitTX16.h"
#include "ui/UnitMEM.h"
#include "ui/UnitTMD700.h"
#include "ui/UnitWarning.h"

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTest>
#include <memory>

namespace {

QString rowKey(const CaptionRow &row)
{
    return row.window + QLatin1Char('/') + row.control + QLatin1Char('/') +
           QString::fromLatin1(row.property);
}

QString captionOf(Language language, const QString &window, const QString &control)
{
    for (const CaptionRow &row : captionTable(language)) {
        if (row.window == window && row.control == control)
            return row.text;
    }
    return QString();
}

QStringList controlsOf(Language language, const QString &window)
{
    QStringList names;
    for (const CaptionRow &row : captionTable(language)) {
        if (row.window == window)
            names << row.control;
    }
    return names;
}

} // namespace

class TestLanguageTexts : public QObject
{
    Q_OBJECT

private slots:
    void tablesCoverTheSameControls();
    void captionsKeepTheirExactForm_data();
    void captionsKeepTheirExactForm();
    void statusMessages_data();
    void statusMessages();
    void frenchStatusDiffersFromStartupTextsWhereExpected();
    void messages_data();
    void messages();
    void mnemonicsResolved_data();
    void mnemonicsResolved();
    void applySetsMenusActionsLabelsAndGroups();
    void applyReportsMissingAndMistypedControls();
    void applyStaysInsideItsWindow();
    void applyToWindowTitleAndBackAgain();
    void formsCarryEveryCaptionedControl();
};

void TestLanguageTexts::tablesCoverTheSameControls()
{
    QSet<QString> keys[2];
    const Language languages[2] = {Language::French, Language::English};
    const QSet<QByteArray> knownProperties = {"text", "title", "windowTitle", "toolTip"};
    for (int i = 0; i < 2; ++i) {
        for (const CaptionRow &row : captionTable(languages[i])) {
            const QString key = rowKey(row);
            QVERIFY2(!keys[i].contains(key), qPrintable("duplicate row " + key));
            QVERIFY2(!row.text.isEmpty(), qPrintable("empty text " + key));
            QVERIFY2(knownProperties.contains(row.property), qPrintable("property of " + key));
            keys[i].insert(key);
        }
    }
    QCOMPARE(keys[0] - keys[1], QSet<QString>());
    QCOMPARE(keys[1] - keys[0], QSet<QString>());
    // Every window the switch relabels is present.
    for (const char *window :
         {"TForm1", "TFormWarning", "TFormInitTX16", "TFormIP", "TFormDTMF", "TFormMEM"})
        QVERIFY2(!controlsOf(Language::French, QString::fromLatin1(window)).isEmpty(), window);
}

void TestLanguageTexts::captionsKeepTheirExactForm_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");

    QTest::newRow("channel title fr: &&, double blanks, trailing blank")
        << Language::French << "TForm1"
        << "Label14"
        << "Canaux && fréquences utilisées :   1 à ";
    QTest::newRow("channel title en") << Language::English << "TForm1"
                                      << "Label14"
                                      << "Used channels && frequencies :   1 to ";
    QTest::newRow("option en: eight blanks")
        << Language::English << "TFormInitTX16"
        << "CheckBoxOptiTX16"
        << "Rolling scanning on the used channels        (if not checked, up/down scanning)";
    QTest::newRow("option fr: no comma, ascenceur")
        << Language::French << "TFormInitTX16"
        << "CheckBoxOptiTX16"
        << "Scanning circulaire sur les canaux utilisés (sinon coché scanning ascenceur)";
    QTest::newRow("warning box fr: cer") << Language::French << "TFormWarning"
                                         << "CheckBoxWarning"
                                         << "A l'avenir, ne plus me montrer cer avertissement";
    QTest::newRow("warning box en: Dont't") << Language::English << "TFormWarning"
                                            << "CheckBoxWarning"
                                            << "Dont't show this warning next time";
    QTest::newRow("version item en: staring")
        << Language::English << "TForm1"
        << "MenuInfoVersion"
        << "Check if a new release is available when staring Ivrelane";
    QTest::newRow("memory dialog fr") << Language::French << "TFormMEM"
                                      << "Label1"
                                      << "Mémoires à lire : 1 à";
    QTest::newRow("same control name, other window")
        << Language::French << "TFormDTMF"
        << "Label1"
        << "Liste de vos codes DTMF et actions correspondantes";
}

void TestLanguageTexts::captionsKeepTheirExactForm()
{
    QFETCH(Language, language);
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QString, text);
    QCOMPARE(captionOf(language, window, control), text);
}

void TestLanguageTexts::statusMessages_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");

    QTest::newRow("fr 1") << Language::French << 1 << "Pas de port COM sélectionné !";
    QTest::newRow("fr 2 leading blank") << Language::French << 2 << " ouvert à 9600 bds";
    QTest::newRow("fr 4 leading blank") << Language::French << 4 << " erreur ouverture COM";
    QTest::newRow("fr 8") << Language::French << 8 << "Erreur création fichier ini";
    QTest::newRow("fr 15") << Language::French << 15
                           << "L'appareil n'est pas un TM-V71. Vérifiez le modèle choisi et le "
                              "câble de liaison série. Assurez-vous de l'utilisation du "
                              "connecteur arrière du TM-D710 et non du connecteur du panneau "
                              "avant.";
    QTest::newRow("en 2 leading blank") << Language::English << 2 << " opened at 9600 bds";
    QTest::newRow("en 3") << Language::English << 3 << "Initializing...";
    QTest::newRow("en 4") << Language::English << 4 << " COM opening error";
    QTest::newRow("en 9") << Language::English << 9 << "Server is connected";
    QTest::newRow("en 13") << Language::English << 13
                           << "The rig is not a TM-D700. Verify the choosen model and the serial "
                              "connection.";
}

void TestLanguageTexts::statusMessages()
{
    QFETCH(Language, language);
    QFETCH(int, index);
    QFETCH(QString, text);
    const auto messages = ::statusMessages(language);
    QCOMPARE(messages[index], text);
    QVERIFY(messages[0].isEmpty());
    for (int i = 1; i <= 15; ++i)
        QVERIFY2(!messages[i].isEmpty(), qPrintable(QString::number(i)));
}

// The start-up texts and the French table differ in entries 1 to 4 and 8 only; a table shifted
// by one entry or copied from the wrong column breaks this.
void TestLanguageTexts::frenchStatusDiffersFromStartupTextsWhereExpected()
{
    const auto initial = StationState::initialStatusMessages();
    const auto french = ::statusMessages(Language::French);
    const auto english = ::statusMessages(Language::English);
    const QSet<int> changed = {1, 2, 3, 4, 8};
    for (int i = 1; i <= 15; ++i) {
        QCOMPARE(french[i] != initial[i], changed.contains(i));
        QVERIFY2(english[i] != french[i], qPrintable(QString::number(i)));
    }
}

void TestLanguageTexts::messages_data()
{
    QTest::addColumn<MessageId>("id");
    QTest::addColumn<QString>("french");
    QTest::addColumn<QString>("english");

    QTest::newRow("exists") << MessageId::DtmfCodeExists
                            << "Ce code DTMF existe dèjà ! Voulez-vous le remplacer ?"
                            << "This DTMF code already exists ! Do you want to replace it ?";
    QTest::newRow("existing starts alike")
        << MessageId::DtmfExistingCodeStartsAlike
        << "Un code existant commence par les mêmes caractères que ce nouveau code !"
        << "An existing code starts with the same characters as this new code !";
    QTest::newRow("new starts alike")
        << MessageId::DtmfNewCodeStartsAlike << "Le début de ce code est celui d'un code existant !"
        << "The beginning of this code is that one of an existing code !";
    QTest::newRow("ending 0/1 in one wording")
        << MessageId::DtmfCodeMustEndIn01 << "Le code doit se terminer par 0 ou 1 !"
        << "Le code doit se terminer par 0 ou 1 !";
    QTest::newRow("server format in one wording")
        << MessageId::ServerFormatError << "Erreur format !"
        << "Erreur format !";
}

void TestLanguageTexts::messages()
{
    QFETCH(MessageId, id);
    QFETCH(QString, french);
    QFETCH(QString, english);
    QCOMPARE(messageText(Language::French, id), french);
    QCOMPARE(messageText(Language::English, id), english);
}

void TestLanguageTexts::mnemonicsResolved_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shown");

    QTest::newRow("doubled") << "Canaux && fréquences"
                             << "Canaux & fréquences";
    QTest::newRow("mnemonic") << "&Fichier"
                              << "Fichier";
    QTest::newRow("doubled then mnemonic") << "&&&x"
                                           << "&x";
    QTest::newRow("trailing lone") << "a&"
                                   << "a&";
    QTest::newRow("none") << "Port ="
                          << "Port =";
}

void TestLanguageTexts::mnemonicsResolved()
{
    QFETCH(QString, caption);
    QFETCH(QString, shown);
    QCOMPARE(withoutMnemonics(caption), shown);
}

void TestLanguageTexts::applySetsMenusActionsLabelsAndGroups()
{
    QMainWindow window;
    window.setObjectName("TForm1");
    auto *fichier = window.menuBar()->addMenu("Fichier");
    fichier->setObjectName("MenuFichier");
    auto *save = new QAction("Sauvegarde configuration", &window);
    save->setObjectName("MenuSave");
    fichier->addAction(save);
    auto *quit = fichier->addAction("Quitter"); // parented to the menu, not the window
    quit->setObjectName("MenuQuitter");
    auto *central = new QWidget(&window);
    window.setCentralWidget(central);
    auto *panel = new QGroupBox("TX16", central);
    auto *channels = new QLabel("Canaux && fréquences :   1 à ", panel);
    channels->setObjectName("Label14");

    applyCaptions(&window, Language::English);
    QCOMPARE(fichier->title(), QString("File"));
    QCOMPARE(fichier->menuAction()->text(), QString("File"));
    QCOMPARE(save->text(), QString("Save configuration"));
    QCOMPARE(quit->text(), QString("Quit"));
    // A plain label would show "&&" as two characters.
    QCOMPARE(channels->text(), QString("Used channels & frequencies :   1 to "));

    // A label with a buddy resolves "&&" itself, so it gets the text as it stands.
    auto *edit = new QLineEdit(panel);
    channels->setBuddy(edit);
    applyCaptions(&window, Language::French);
    QCOMPARE(channels->text(), QString("Canaux && fréquences utilisées :   1 à "));

    QDialog ip;
    ip.setObjectName("TFormIP");
    auto *frame = new QGroupBox(&ip);
    frame->setObjectName("GroupBoxTXRXchannel");
    auto *connect = new QCheckBox(frame);
    connect->setObjectName("CheckBoxConnect");
    applyCaptions(&ip, Language::French);
    QCOMPARE(frame->title(), QString("Interface PC / TM-D7"));
    QCOMPARE(connect->text(), QString("Se connecter au démarrage"));
}

void TestLanguageTexts::applyReportsMissingAndMistypedControls()
{
    QDialog ip;
    ip.setObjectName("TFormIP");
    auto *wrongKind = new QLabel("Interface", &ip); // a frame's title cannot go on a label
    wrongKind->setObjectName("GroupBoxTXRXchannel");
    auto *label = new QLabel(&ip);
    label->setObjectName("LabelIP");

    QStringList unset = applyCaptions(&ip, Language::English);
    QCOMPARE(label->text(), QString("Server IP"));
    QVERIFY(unset.contains("GroupBoxTXRXchannel.title"));
    QVERIFY(wrongKind->dynamicPropertyNames().isEmpty());
    QCOMPARE(wrongKind->text(), QString("Interface"));

    QStringList expected = controlsOf(Language::English, "TFormIP");
    expected.removeAll("LabelIP");
    expected.removeAll("GroupBoxTXRXchannel");
    unset.removeAll("GroupBoxTXRXchannel.title");
    unset.sort();
    expected.sort();
    QCOMPARE(unset, expected);

    // A window the switch does not relabel is left alone and reports nothing.
    QDialog info;
    info.setObjectName("TFormInfo");
    auto *infoLabel = new QLabel("Ivrelane TMD700", &info);
    infoLabel->setObjectName("Label1");
    QCOMPARE(applyCaptions(&info, Language::English), QStringList());
    QCOMPARE(infoLabel->text(), QString("Ivrelane TMD700"));
    QCOMPARE(applyCaptions(nullptr, Language::English), QStringList());
}

// Dialogs parented to the main window reuse control names such as "Label1"; relabelling the main
// window must not reach into them, and must still find its own control deeper down.
void TestLanguageTexts::applyStaysInsideItsWindow()
{
    QMainWindow window;
    window.setObjectName("TForm1");
    auto *dialog = new QDialog(&window);
    dialog->setObjectName("TFormMEM");
    auto *dialogLabel = new QLabel("Memories to be read : 1 to", dialog);
    dialogLabel->setObjectName("Label1");
    auto *central = new QWidget(&window);
    window.setCentralWidget(central);
    auto *group = new QGroupBox(central);
    auto *memories = new QLabel(group);
    memories->setObjectName("Label1");

    applyCaptions(&window, Language::English);
    QCOMPARE(memories->text(), QString("Available memories"));
    QCOMPARE(dialogLabel->text(), QString("Memories to be read : 1 to"));

    applyCaptions(dialog, Language::French);
    QCOMPARE(dialogLabel->text(), QString("Mémoires à lire : 1 à"));
    QCOMPARE(memories->text(), QString("Available memories"));
}

void TestLanguageTexts::applyToWindowTitleAndBackAgain()
{
    QDialog warning;
    warning.setObjectName("TFormWarning");
    warning.setWindowTitle("QUORVEL - Attention");
    auto *box = new QCheckBox("A l'avenir, ne plus me montrer cet avertissement", &warning);
    box->setObjectName("CheckBoxWarning");
    auto *text = new QLabel(&warning);
    text->setObjectName("StaticText1");

    QCOMPARE(applyCaptions(&warning, Language::English), QStringList());
    QCOMPARE(warning.windowTitle(), QString("IVRELANETMD700 - WARNING !"));
    QCOMPARE(box->text(), QString("Dont't show this warning next time"));

    QCOMPARE(applyCaptions(&warning, Language::French), QStringList());
    QCOMPARE(warning.windowTitle(), QString("IVRELANETMD700 - ALARME !"));
    QCOMPARE(text->text(), QString("Attention, cette version ne fonctionne qu'avec la version "
                                   "1.8.3 et suivantes de QUORVEL"));
}

// The program's own windows must hold every control the switch relabels, with the right kind
// of property; a renamed control would otherwise keep its design-time text without a sound.
void TestLanguageTexts::formsCarryEveryCaptionedControl()
{
    std::vector<std::unique_ptr<QWidget>> windows;
    windows.push_back(std::make_unique<TForm1>());
    windows.push_back(std::make_unique<TFormWarning>());
    windows.push_back(std::make_unique<TFormInitTX16>());
    windows.push_back(std::make_unique<TFormIP>());
    windows.push_back(std::make_unique<TFormDTMF>());
    windows.push_back(std::make_unique<TFormMEM>());
    QStringList unset;
    for (Language language : {Language::French, Language::English}) {
        for (const auto &window : windows) {
            for (const QString &name : applyCaptions(window.get(), language))
                unset << window->objectName() + QLatin1Char('/') + name;
        }
    }
    unset.removeDuplicates();
    QVERIFY2(unset.isEmpty(), qPrintable("not set: " + unset.join(", ")));
}

QTEST_MAIN(TestLanguageTexts)
#include "tst_language_texts.moc"
