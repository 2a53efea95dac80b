// The folders of src/ depend on each other one way only: platform <- core <- radio <- backends
// (kenwood, hamlib, generic_tx); radio <- dtmf, server; ui, web -> radio, core, platform; app may
// include anything, and nothing includes app. This reads every #include "folder/..." line of
// src/ and fails on a direction the picture forbids.

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
        {QStringLiteral("platform"), {}},    {QStringLiteral("core"), {QStringLiteral("platform")}},
        {QStringLiteral("radio"), lower},    {QStringLiteral("kenwood"), onRadio},
        {QStringLiteral("hamlib"), onRadio}, {QStringLiteral("generic_tx"), onRadio},
        {QStringLiteral("dtmf"), onRadio},   {QStringLiteral("server"), onRadio},
        {QStringLiteral("ui"), onRadio},
        {QStringLiteral("web"), onRadio},
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
};

QTEST_GUILESS_MAIN(TestLayering)
#include "tst_layering.moc"
