#include "app/Station.h"
#include "support/GenericTxFixture.h"
#include "support/RigSimProcess.h"
#include "support/ServerPeer.h"
#include "support/StationFixture.h"
#include "ui/UnitTMD700.h"

#include <QApplication>
#include <QProxyStyle>
#include <QSet>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTest>

#include <utility>

namespace {

constexpr int InitTimeoutMs = 30'000;
// Keyings before the looks are taken as known, and keyings after that.
constexpr int FirstKeyings = 5;
constexpr int MoreKeyings = 40;

// The application's style, recording the palette and icon each paint of the watched button is
// handed. A style keeps what it paints under keys made from these (Fusion's bevel in
// QPixmapCache, whose every key Qt keeps): a look never seen before costs memory for good, so a
// keying must bring none.
class PaintRecorder : public QProxyStyle
{
public:
    PaintRecorder() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                            QPainter *painter, const QWidget *widget) const override
    {
        if (watched && widget == watched) {
            const auto *tool = qstyleoption_cast<const QStyleOptionToolButton *>(option);
            looks.insert({option->palette.cacheKey(), tool ? tool->icon.cacheKey() : 0});
        }
        QProxyStyle::drawComplexControl(control, option, painter, widget);
    }

    const QWidget *watched = nullptr;
    mutable QSet<std::pair<qint64, qint64>> looks;
};

PaintRecorder *recorder()
{
    return static_cast<PaintRecorder *>(QApplication::style());
}

// The looks a button is painted with, over `keyings` keyings: `key` presses or asks for it and
// waits until done, then the button is painted keyed and unkeyed.
QSet<std::pair<qint64, qint64>> looksOver(QAbstractButton *button, int keyings,
                                          const std::function<bool(bool keyed)> &key)
{
    for (int i = 0; i < keyings; ++i) {
        for (bool keyed : {true, false}) {
            if (!key(keyed))
                return {};
            button->grab(); // paints it through the style, as a shown window would
        }
    }
    return recorder()->looks;
}

} // namespace

// Memory of a station keyed day and night: TRANSMIT/RECEIVE pairs must not make the process
// grow. The check is not a memory size but its cause: every keying painted the TRANSMIT toggle
// with a palette never seen before (a style sheet set at each keying), and the style's cache keys
// for it piled up, about 0.55 KB per pair (bench/bench_keying_memory measures it).
class TestKeyingMemory : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void kenwoodKeyedByTheServerPaintsTheSameLooks();
    void genericTransmitterPaintsTheSameLooks();
};

void TestKeyingMemory::initTestCase()
{
    QApplication::setStyle(new PaintRecorder);
}

void TestKeyingMemory::init()
{
    recorder()->watched = nullptr;
    recorder()->looks.clear();
}

void TestKeyingMemory::kenwoodKeyedByTheServerPaintsTheSameLooks()
{
    RigSimProcess rig;
    StationFixture fixture;
    ServerPeer server;
    const QString link = fixture.path(QStringLiteral("dev/ttyV0"));
    QVERIFY(!rig.start({QStringLiteral("--model"), QStringLiteral("TMD710"),
                        QStringLiteral("--link"), link})
                 .isEmpty());
    fixture.writeConfiguration({QStringLiteral("MODEL=TMD710"), QStringLiteral("COM=") + link,
                                QStringLiteral("CONNECT=1"), QStringLiteral("IPSERVER=127.0.0.1"),
                                QStringLiteral("PORT=%1").arg(server.port()),
                                QStringLiteral("CHANNEL=BOTH"), QStringLiteral("WARNING=Y")});
    Station &station = fixture.start();
    Ui::TForm1 &ui = station.windows().Form1->ui;
    QTRY_VERIFY_WITH_TIMEOUT(station.state.RigStatus == 3 && ui.GroupBoxTX->isEnabled(),
                             InitTimeoutMs);
    QVERIFY(server.waitForClient(InitTimeoutMs));

    QAbstractButton *transmit = ui.SpeedButtonTX;
    recorder()->watched = transmit;
    int pairs = 0;
    auto key = [&](bool keyed) {
        server.send(keyed ? "TRANSMIT_R\r\n" : "RECEIVE_R\r\n");
        if (!keyed)
            ++pairs;
        const QString command = keyed ? QStringLiteral("TX") : QStringLiteral("RX");
        return QTest::qWaitFor(
            [&] {
                return transmit->isChecked() == keyed &&
                       rig.receivedCommands().count(command) >= pairs + (keyed ? 1 : 0);
            },
            10'000);
    };
    const auto known = looksOver(transmit, FirstKeyings, key);
    QVERIFY2(!known.isEmpty(), qPrintable(rig.logText()));
    const auto later = looksOver(transmit, MoreKeyings, key);
    QVERIFY2(later.size() == known.size(),
             qPrintable(QStringLiteral("%1 looks after %2 keyings, %3 after %4")
                            .arg(known.size())
                            .arg(FirstKeyings)
                            .arg(later.size())
                            .arg(FirstKeyings + MoreKeyings)));
    QCOMPARE(rig.receivedCommands().count(QStringLiteral("TX")), FirstKeyings + MoreKeyings);
}

void TestKeyingMemory::genericTransmitterPaintsTheSameLooks()
{
    GenericTxFixture generic;
    for (QAbstractButton *toggle :
         {static_cast<QAbstractButton *>(generic.main().SpeedButtonTX16TX),
          static_cast<QAbstractButton *>(generic.main().SpeedButtonTX16SC)}) {
        init();
        recorder()->watched = toggle;
        auto key = [&](bool keyed) {
            if (toggle->isChecked() != keyed)
                toggle->click();
            return toggle->isChecked() == keyed;
        };
        const auto known = looksOver(toggle, FirstKeyings, key);
        QVERIFY(!known.isEmpty());
        const auto later = looksOver(toggle, MoreKeyings, key);
        QVERIFY2(later.size() == known.size(),
                 qPrintable(QStringLiteral("%1: %2 looks after %3 keyings, %4 after %5")
                                .arg(toggle->objectName())
                                .arg(known.size())
                                .arg(FirstKeyings)
                                .arg(later.size())
                                .arg(FirstKeyings + MoreKeyings)));
    }
}

QTEST_MAIN(TestKeyingMemory)
#include "tst_keying_memory.moc"
