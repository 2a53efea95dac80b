#include "dtmf/DtmfCatalogue.h"
#include "dtmf/DtmfCodeList.h"
#include "dtmf/DtmfEditor.h"
#include "support/RecordingNotifier.h"
#include "ui/DtmfWindowView.h"
#include "ui/UnitDTMF.h"

#include <QtTest>

namespace {

const QString H = QStringLiteral(" [DTMF]");
const QString E123 = QStringLiteral("123 : action 26= TX en émission (Tous)");

// The DTMF window with its editor, in the language the test sets.
struct Editor
{
    TFormDTMF form;
    RecordingNotifier notifier;
    Language language = Language::French;
    DtmfCodeList codes;
    DtmfEditor editor{notifier, [this] { return language; }, codes,
                      DtmfWindowView::forEditor(form)};

    explicit Editor(const QStringList &table)
    {
        DtmfWindowView::bind(form, codes, editor, &form);
        codes.setLines(table);
        editor.refillActions();
    }

    void add(const QString &code, int action)
    {
        const auto &numbers = DtmfCatalogue::ActionNumbers;
        form.ui.EditCodeDTMF->setText(code);
        form.ui.ComboBoxActionsDTMF->setCurrentIndex(
            int(std::find(numbers.begin(), numbers.end(), action) - numbers.begin()));
        form.ui.BitBtnOKCodeDTMF->click();
    }

    QStringList table() const
    {
        QStringList lines;
        for (int i = 0; i < form.ui.ListBoxCodesDTMF->count(); ++i)
            lines << form.ui.ListBoxCodesDTMF->item(i)->text();
        return lines;
    }
};

} // namespace

class TestDtmfEditor : public QObject
{
    Q_OBJECT

private slots:
    void addCode_data();
    void addCode();
    void messagesFollowTheWindowLanguage();
    void actionListRefill();
    void typedActionTextMustBeACatalogueText();
};

// Each row: the table before, one press of Add, and what the operator sees and keeps.
void TestDtmfEditor::addCode_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("action");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("beeps");
    QTest::addColumn<QStringList>("after");

    const QString end01 = QStringLiteral("warning:Le code doit se terminer par 0 ou 1 !");
    const QString end45 = QStringLiteral("warning:Le code doit se terminer par 4 ou 5 !");
    const QString m07 = QStringLiteral(" : action 07= Mémoire Nnn sur TXA (Kenwood)");
    const QString m11 = QStringLiteral(" : action 11= Fréquence Ffff sur TX actif (Tous)");
    const QStringList none;

    QTest::newRow("1230 with 07") << QStringList{H} << "1230" << 7 << true << none << 0
                                  << QStringList{H, "1230" + m07};
    QTest::newRow("1232 with 07") << QStringList{H} << "1232" << 7 << true << QStringList{end01}
                                  << 0 << QStringList{H};
    QTest::newRow("125 with 11") << QStringList{H} << "125" << 11 << true << none << 0
                                 << QStringList{H, "125" + m11};
    QTest::newRow("123 with 11") << QStringList{H} << "123" << 11 << true << QStringList{end45} << 0
                                 << QStringList{H};
    QTest::newRow("12ab upper case")
        << QStringList{H} << "12ab" << 1 << true << none << 0
        << QStringList{H, "12AB : action 01= Commuter sur TXA (Kenwood)"};
    QTest::newRow("12E beeps") << QStringList{H, E123} << "12E" << 1 << true << none << 1
                               << QStringList{H, E123};
    QTest::newRow("12X with 07: ending first")
        << QStringList{H} << "12X" << 7 << true << QStringList{end01} << 0 << QStringList{H};
    QTest::newRow("12 before 123")
        << QStringList{H, E123} << "12" << 1 << true
        << QStringList{"warning:Un code existant commence par les mêmes caractères que ce nouveau "
                       "code !"}
        << 0 << QStringList{H, E123};
    QTest::newRow("1234 after 123")
        << QStringList{H, E123} << "1234" << 1 << true
        << QStringList{"warning:Le début de ce code est celui d'un code existant !"} << 0
        << QStringList{H, E123};
    const QString question =
        QStringLiteral("question:Ce code DTMF existe dèjà ! Voulez-vous le remplacer ?");
    QTest::newRow("replace yes") << QStringList{H, "0 : action 00= nil", E123, "9 : action 00= nil"}
                                 << "123" << 27 << true << QStringList{question} << 0
                                 << QStringList{H, "0 : action 00= nil",
                                                "123 : action 27= TX en réception (Tous)",
                                                "9 : action 00= nil"};
    QTest::newRow("replace no") << QStringList{H, E123} << "123" << 27 << false
                                << QStringList{question} << 0 << QStringList{H, E123};
    QTest::newRow("nil deletes") << QStringList{H, "0 : action 00= nil", E123} << "123" << 0 << true
                                 << none << 0 << QStringList{H, "0 : action 00= nil"};
    QTest::newRow("nil on unknown code")
        << QStringList{H, E123} << "456" << 0 << true << none << 0 << QStringList{H, E123};
    QTest::newRow("empty code") << QStringList{H, E123} << "" << 1 << true << none << 0
                                << QStringList{H, E123};
    // Entries read from the file keep their order until an addition sorts the whole list.
    QTest::newRow("addition sorts")
        << QStringList{H, "B : action 00= nil", "#1 : action 00= nil", "50 : action 00= nil"}
        << "*7" << 26 << true << none << 0
        << QStringList{H, "#1 : action 00= nil", "*7 : action 26= TX en émission (Tous)",
                       "50 : action 00= nil", "B : action 00= nil"};
    // A broken line read from the file has no code and never blocks a new one.
    QTest::newRow("broken line ignored")
        << QStringList{H, "nospace", " 7 : lead blank"} << "7" << 26 << true << none << 0
        << QStringList{H, " 7 : lead blank", "7 : action 26= TX en émission (Tous)", "nospace"};
}

void TestDtmfEditor::addCode()
{
    QFETCH(QStringList, before);
    QFETCH(QString, code);
    QFETCH(int, action);
    QFETCH(bool, answer);
    QFETCH(QStringList, messages);
    QFETCH(int, beeps);
    QFETCH(QStringList, after);

    Editor e(before);
    e.notifier.answer = answer;
    e.add(code, action);

    QCOMPARE(e.notifier.messages, messages);
    QCOMPARE(e.notifier.beeps, beeps);
    QCOMPARE(e.table(), after);
    // The edit and the choice stay for the next code.
    QCOMPARE(e.form.ui.EditCodeDTMF->text(), code);
    QVERIFY(e.form.ui.ComboBoxActionsDTMF->currentText().startsWith(
        QStringLiteral("%1=").arg(action, 2, 10, QChar(u'0'))));
}

void TestDtmfEditor::messagesFollowTheWindowLanguage()
{
    Editor e({H, E123});
    e.language = Language::English;
    e.add(QStringLiteral("123"), 26);
    QCOMPARE(e.notifier.messages.last(),
             QStringLiteral("question:Ce code DTMF existe dèjà ! Voulez-vous le remplacer ?"));

    e.editor.ButtonlangueClick();
    QCOMPARE(e.form.ui.BitBtnOKCodeDTMF->text(), QStringLiteral("Add"));
    QCOMPARE(e.form.ui.GroupBoxCodeDTMF->title(), QStringLiteral("DTMF code"));
    QCOMPARE(e.form.windowTitle(), QStringLiteral("Configuration DTMF"));
    e.add(QStringLiteral("12"), 26);
    QCOMPARE(e.notifier.messages.last(),
             QStringLiteral("warning:An existing code starts with the same characters as this "
                            "new code !"));
    e.add(QStringLiteral("1239"), 26);
    QCOMPARE(
        e.notifier.messages.last(),
        QStringLiteral("warning:The beginning of this code is that one of an existing code !"));
    // The ending messages read the same in both languages.
    e.add(QStringLiteral("9"), 8);
    QCOMPARE(e.notifier.messages.last(),
             QStringLiteral("warning:Le code doit se terminer par 0 ou 1 !"));

    e.language = Language::French;
    e.editor.ButtonlangueClick();
    QCOMPARE(e.form.ui.BitBtnOKCodeDTMF->text(), QStringLiteral("Ajouter"));
    e.add(QStringLiteral("12"), 26);
    QCOMPARE(e.notifier.messages.last(),
             QStringLiteral("warning:Un code existant commence par les mêmes caractères que ce "
                            "nouveau code !"));
}

void TestDtmfEditor::actionListRefill()
{
    Editor e({H, E123});
    e.add(QStringLiteral("4"), 26);
    e.language = Language::English;
    e.editor.refillActions();
    QComboBox *box = e.form.ui.ComboBoxActionsDTMF;
    QCOMPARE(box->count(), 30);
    QCOMPARE(box->currentIndex(), -1);
    QCOMPARE(box->currentText(), QString());
    QCOMPARE(box->itemText(29), QStringLiteral("99= Initialization/Save configuration "));
    // Entries made in French keep their text.
    QCOMPARE(e.table(), (QStringList{H, E123, "4 : action 26= TX en émission (Tous)"}));
}

// The action box can be typed into: only an exact catalogue text of the current language adds.
void TestDtmfEditor::typedActionTextMustBeACatalogueText()
{
    Editor e({H});
    e.form.ui.EditCodeDTMF->setText(QStringLiteral("5"));
    for (const QString &typed :
         {QStringLiteral("26= TX en émission"), QStringLiteral("26= TX in transmit mode (All)"),
          QStringLiteral("26= TX en émission (Tous) ")}) {
        e.form.ui.ComboBoxActionsDTMF->setEditText(typed);
        e.form.ui.BitBtnOKCodeDTMF->click();
        QCOMPARE(e.table(), QStringList{H});
    }
    e.form.ui.ComboBoxActionsDTMF->setEditText(QStringLiteral("26= TX en émission (Tous)"));
    e.form.ui.BitBtnOKCodeDTMF->click();
    QCOMPARE(e.table(), (QStringList{H, "5 : action 26= TX en émission (Tous)"}));
    QVERIFY(e.notifier.messages.isEmpty());
}

QTEST_MAIN(TestDtmfEditor)
#include "tst_dtmf_editor.moc"
