// The folders of src/ depend on each other one way only: platform <- core <- radio <- backends
// (kenwood, hamlib, generic_tx); radio <- dtmf, server; ui, the views, sit on all of those, and
// web, the page, on the radios and the server; service, what a headless station is asked from
// the command line, on the radios and web's settings; app may include anything, and nothing
// includes app. This reads every #include "folder/..." line of src/ and fails on a direction the
// picture forbids.

#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

namespace {

QString sourceDir()
{
    return QStringLiteral(IVRELANE_SOURCE_DIR "/src");
}

// The folders each folder may include besides itself.
const QMap<QString, QSet<QString>> &allowed()
{
    static const QSet<QString> lower{QStringLiteral("core"), QStringLiteral("platform")};
    static const QSet<QString> onRadio = lower + QSet<QString>{QStringLiteral("radio")};
    static const QMap<QString, QSet<QString>> rules{
        {QStringLiteral("platform"), {}},
        {QStringLiteral("core"), {QStringLiteral("platform")}},
        {QStringLiteral("radio"), lower},
        {QStringLiteral("kenwood"), onRadio},
        {QStringLiteral("hamlib"), onRadio},
        {QStringLiteral("generic_tx"), onRadio},
        {QStringLiteral("dtmf"), onRadio},
        {QStringLiteral("server"), onRadio},
        {QStringLiteral("ui"),
         onRadio + QSet<QString>{QStringLiteral("kenwood"), QStringLiteral("hamlib"),
                                 QStringLiteral("generic_tx"), QStringLiteral("dtmf"),
                                 QStringLiteral("server")}},
        {QStringLiteral("service"),
         onRadio + QSet<QString>{QStringLiteral("kenwood"), QStringLiteral("hamlib"),
                                 QStringLiteral("generic_tx"), QStringLiteral("web")}},
        {QStringLiteral("web"), onRadio + QSet<QString>{QStringLiteral("server")}},
    };
    return rules;
}

// "kenwood/RigLink.cpp -> app/Station.h" for each forbidden include.
QSet<QString> forbiddenIncludes(QStringList &folders)
{
    static const QRegularExpression include(QStringLiteral("^\\s*\\#\\s*include\\s+\"([a-z_]+)/"));
    QSet<QString> found;
    const QString root = sourceDir();
    QDirIterator it(root, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = path.mid(root.size() + 1);
        const QString folder = relative.section(QLatin1Char('/'), 0, 0);
        if (!folders.contains(folder))
            folders << folder;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).trimmed();
            const QRegularExpressionMatch m = include.match(line);
            if (!m.hasMatch())
                continue;
            const QString target = m.captured(1);
            if (target == folder || folder == QLatin1String("app"))
                continue;
            if (allowed().value(folder).contains(target))
                continue;
            const QString included = line.section(QLatin1Char('"'), 1, 1);
            found << relative + QStringLiteral(" -> ") + included;
        }
    }
    return found;
}

// "hamlib/HamlibOperations.h:10: class QLabel;" for each line of `folder` that names a widget
// or includes a widget header (QtWidgets, or a window's generated form), comments left aside.
QStringList widgetLines(const QString &folder)
{
    static const QRegularExpression widget(QStringLiteral(
        "\\bQ(PushButton|ToolButton|Label|ComboBox|LineEdit|CheckBox|SpinBox|Slider|Widget|"
        "RadioButton|GroupBox|AbstractButton|ListWidget|MainWindow|Dialog|Action|MessageBox|"
        "FileDialog|Application)\\b|#\\s*include\\s*[<\"](QtWidgets/|ui_|ui/)"));
    QStringList found;
    const QString root = sourceDir();
    QDirIterator it(root + QLatin1Char('/') + folder,
                    {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        for (int number = 1; !file.atEnd(); ++number) {
            const QString line = QString::fromUtf8(file.readLine()).trimmed();
            if (widget.match(line.section(QStringLiteral("//"), 0, 0)).hasMatch())
                found << QStringLiteral("%1:%2: %3")
                             .arg(path.mid(root.size() + 1))
                             .arg(number)
                             .arg(line);
        }
    }
    return found;
}

} // namespace

class TestLayering : public QObject
{
    Q_OBJECT

private slots:
    void includesFollowTheLayers()
    {
        QStringList folders;
        const QSet<QString> forbidden = forbiddenIncludes(folders);
        // Every folder of src/ has its rule: a new folder must say where it sits.
        for (const QString &folder : folders) {
            if (folder != QLatin1String("app"))
                QVERIFY2(allowed().contains(folder), qPrintable(folder + " has no layer"));
        }
        QStringList found = forbidden.values();
        found.sort();
        QVERIFY2(found.isEmpty(), qPrintable("forbidden include(s):\n" + found.join('\n')));
    }

    // The radio seam and the transceiver backends expose state and signals; the views paint.
    // Widgets live in the views (ui) and in the wiring (app); the models, the radios, the
    // server, the page and the commands neither hold nor name one.
    void onlyTheViewsNameWidgets()
    {
        QStringList folders;
        forbiddenIncludes(folders);
        for (const QString &folder : std::as_const(folders)) {
            if (folder == QLatin1String("ui") || folder == QLatin1String("app"))
                continue;
            const QStringList found = widgetLines(folder);
            QVERIFY2(found.isEmpty(), qPrintable("widget(s):\n" + found.join('\n')));
        }
    }
};

QTEST_GUILESS_MAIN(TestLayering)
#include "tst_layering.moc"
