#include "generic_tx/PinLogic.h"
#include "platform/MemoryParallelPort.h"
#include "platform/ParallelPortFactory.h"
#include "platform/ParportProcInfo.h"
#include "platform/PpdevParallelPort.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
// Lays out <root>/sys/dev/parport/<entry>/base-addr as the kernel does.
void addParport(const QString &procRoot, const QString &entry, const QByteArray &record)
{
    const QString dir = procRoot + QStringLiteral("/sys/dev/parport/") + entry;
    QVERIFY(QDir().mkpath(dir));
    QFile file(dir + QStringLiteral("/base-addr"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(record);
}

bool succeeded(const ParallelPort &port)
{
    return port.GetLastState().contains(QLatin1String("succes"));
}
} // namespace

class TestParallelPort : public QObject
{
    Q_OBJECT

private slots:
    void memoryRegisters();
    void memoryRefusesWhatHardwareWould_data();
    void memoryRefusesWhatHardwareWould();
    void memoryRecordsWritesInOrder();
    void readModifyWriteKeepsOtherBits();
    void idleLevelsAreWrittenInOrder();

    void baseAddrRecord_data();
    void baseAddrRecord();
    void procListing();
    void lptAddressesFromProc();
    void ppdevMissingDevice();
    void ppdevAddressWithoutPort();
    void ppdevDeviceThatIsNotAPort_data();
    void ppdevDeviceThatIsNotAPort();
    void ppdevWithoutParportModule();
    void ppdevRealPortWhenPresent();

    void factoryReturnsInstalledPort();
};

void TestParallelPort::memoryRegisters()
{
    MemoryParallelPort port(0x278);
    port.Outport(0x27A, 0x0B);
    QVERIFY(succeeded(port));
    port.Outport(0x278, 0x55);
    QCOMPARE(port.Inport(0x27A), quint8(0x0B));
    QVERIFY(succeeded(port));
    QCOMPARE(port.Inport(0x278), quint8(0x55));

    port.setStatus(0x3F);
    port.setSquelchBit(true);
    QCOMPARE(port.Inport(0x279), quint8(0xBF));
    port.setSquelchBit(false);
    QCOMPARE(port.Inport(0x279), quint8(0x3F));

    QCOMPARE(port.GetLPTPortAddress(1), quint16(0x278));
    QCOMPARE(port.GetLPTPortAddress(2), quint16(0));
    QCOMPARE(port.GetLPTPortAddress(4), quint16(0));
}

void TestParallelPort::memoryRefusesWhatHardwareWould_data()
{
    QTest::addColumn<quint16>("base");
    QTest::addColumn<bool>("writesFail");
    QTest::addColumn<quint16>("address");

    QTest::newRow("another port's control register") << quint16(0x378) << false << quint16(0x27A);
    QTest::newRow("status register is read-only") << quint16(0x378) << false << quint16(0x379);
    QTest::newRow("no port on the machine") << quint16(0) << false << quint16(0x002);
    QTest::newRow("writes refused") << quint16(0x378) << true << quint16(0x37A);
}

void TestParallelPort::memoryRefusesWhatHardwareWould()
{
    QFETCH(quint16, base);
    QFETCH(bool, writesFail);
    QFETCH(quint16, address);

    MemoryParallelPort port(base);
    port.setControl(0x04);
    port.setStatus(0x80);
    port.setWritesFail(writesFail);
    port.Outport(address, 0xAA);

    QVERIFY(!succeeded(port));
    QVERIFY(!port.GetLastState().isEmpty());
    QCOMPARE(port.control(), quint8(0x04));
    QCOMPARE(port.status(), quint8(0x80));
    QCOMPARE(port.writes().size(), 1);
    QVERIFY(!port.writes().first().reachedRegister);
}

void TestParallelPort::memoryRecordsWritesInOrder()
{
    MemoryParallelPort port;
    for (quint8 value : {0x01, 0x03, 0x07, 0x0F})
        port.Outport(0x37A, value);

    QCOMPARE(port.writes().size(), 4);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(port.writes().at(i).port, quint16(0x37A));
        QCOMPARE(port.writes().at(i).value, quint8((1 << (i + 1)) - 1));
        QVERIFY(port.writes().at(i).reachedRegister);
        if (i > 0)
            QVERIFY(port.writes().at(i).elapsedNs >= port.writes().at(i - 1).elapsedNs);
    }
    port.clearWrites();
    QVERIFY(port.writes().isEmpty());
}

void TestParallelPort::readModifyWriteKeepsOtherBits()
{
    MemoryParallelPort port;
    port.setControl(0xE5); // upper bits and RESET/DOWN bits already set

    const quint8 written =
        PinLogic::writeLevel(port, 0x378, TxLine::Up, LinePolarity::Positive, true);
    QCOMPARE(written, quint8(0xE5)); // UP active "pos." clears bit 1, which was clear already
    PinLogic::writeLevel(port, 0x378, TxLine::Ptt, LinePolarity::Negative, true);
    QCOMPARE(port.control(), quint8(0xED));
    PinLogic::writeLevel(port, 0x378, TxLine::Down, LinePolarity::Positive, true);
    QCOMPARE(port.control(), quint8(0xEC));
    QCOMPARE(port.writes().size(), 3);
}

void TestParallelPort::idleLevelsAreWrittenInOrder()
{
    MemoryParallelPort port(0x3BC);
    port.setControl(0xF0);
    PinLogic::writeIdleLevels(port, 0x3BC,
                              {LinePolarity::Positive, LinePolarity::Negative,
                               LinePolarity::Negative, LinePolarity::Positive});

    // UP pos. rests with bit 1 set, DOWN neg. with bit 0 clear, RESET neg. with bit 2 set,
    // PTT +5v with bit 3 set; each write builds on the one before.
    const QList<quint8> expected{0xF2, 0xF2, 0xF6, 0xFE};
    QCOMPARE(port.writes().size(), 4);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(port.writes().at(i).port, quint16(0x3BE));
        QCOMPARE(port.writes().at(i).value, expected.at(i));
    }
}

void TestParallelPort::baseAddrRecord_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<int>("expected"); // -1: no address

    QTest::newRow("kernel layout") << QByteArray("888\t1912\n") << 888;
    QTest::newRow("single field") << QByteArray("632\n") << 632;
    QTest::newRow("leading blanks") << QByteArray("  956\t-1") << 956;
    QTest::newRow("no I/O base") << QByteArray("0\t0\n") << 0;
    QTest::newRow("empty") << QByteArray() << -1;
    QTest::newRow("hexadecimal is not the kernel's") << QByteArray("0x378\t0") << -1;
    QTest::newRow("letters") << QByteArray("abc\n") << -1;
    QTest::newRow("negative") << QByteArray("-888\n") << -1;
    QTest::newRow("beyond I/O space") << QByteArray("4294967296\n") << -1;
    QTest::newRow("memory-mapped base") << QByteArray("65536\n") << -1;
}

void TestParallelPort::baseAddrRecord()
{
    QFETCH(QByteArray, record);
    QFETCH(int, expected);

    const std::optional<quint16> base = ParportProcInfo::parseBaseAddr(record);
    if (expected < 0)
        QVERIFY(!base.has_value());
    else
        QCOMPARE(base, std::optional<quint16>(quint16(expected)));
}

void TestParallelPort::procListing()
{
    QTemporaryDir proc;
    QVERIFY(proc.isValid());
    addParport(proc.path(), QStringLiteral("parport1"), "632\t1656\n");
    addParport(proc.path(), QStringLiteral("parport0"), "888\t1912\n");
    addParport(proc.path(), QStringLiteral("default"), "");
    addParport(proc.path(), QStringLiteral("parportX"), "956\n");

    const ParportProcInfo info(proc.path());
    QCOMPARE(info.portNumbers(), QList<int>({0, 1}));
    QCOMPARE(info.portNumberForBase(632), std::optional<int>(1));
    QCOMPARE(info.portNumberForBase(888), std::optional<int>(0));
    QVERIFY(!info.portNumberForBase(956).has_value());
    QVERIFY(!info.baseAddress(2).has_value());
}

void TestParallelPort::lptAddressesFromProc()
{
    QTemporaryDir proc;
    QVERIFY(proc.isValid());
    addParport(proc.path(), QStringLiteral("parport0"), "888\t1912\n");
    addParport(proc.path(), QStringLiteral("parport2"), "956\t-1\n");

    PpdevParallelPort port(proc.path(), proc.path() + QStringLiteral("/dev"));
    QCOMPARE(port.GetLPTPortAddress(1), quint16(0x378));
    QCOMPARE(port.GetLPTPortAddress(2), quint16(0));
    QCOMPARE(port.GetLPTPortAddress(3), quint16(0x3BC));
    QCOMPARE(port.GetLPTPortAddress(0), quint16(0));
    QCOMPARE(port.GetLPTPortAddress(-5), quint16(0));
}

void TestParallelPort::ppdevMissingDevice()
{
    QTemporaryDir root;
    QVERIFY(root.isValid());
    addParport(root.path(), QStringLiteral("parport0"), "888\t1912\n");
    QVERIFY(QDir().mkpath(root.path() + QStringLiteral("/dev")));

    PpdevParallelPort port(root.path(), root.path() + QStringLiteral("/dev"));
    port.EnablePorts(0x378, 0x378);
    QVERIFY(!succeeded(port));
    QVERIFY(port.GetLastState().contains(QLatin1String("parport0")));

    QCOMPARE(port.Inport(0x37A), quint8(0xFF));
    QVERIFY(!succeeded(port));
    port.Outport(0x37A, 0x0B);
    QVERIFY(!succeeded(port));
    QVERIFY(port.GetLastState().contains(QLatin1String("0378h")));

    port.DisablePorts(0x378, 0x378);
}

void TestParallelPort::ppdevAddressWithoutPort()
{
    QTemporaryDir root;
    QVERIFY(root.isValid());
    addParport(root.path(), QStringLiteral("parport0"), "888\t1912\n");

    PpdevParallelPort port(root.path(), root.path());
    port.Outport(0x27A, 0x0B);
    QVERIFY(!succeeded(port));
    QVERIFY(port.GetLastState().contains(QLatin1String("027Ah")));
    // Three registers per port: base + 3 belongs to no port.
    QCOMPARE(port.Inport(0x37B), quint8(0xFF));
    QVERIFY(!succeeded(port));
}

void TestParallelPort::ppdevDeviceThatIsNotAPort_data()
{
    QTest::addColumn<bool>("asDirectory");
    QTest::newRow("regular file refuses the claim") << false;
    QTest::newRow("directory cannot be opened for writing") << true;
}

void TestParallelPort::ppdevDeviceThatIsNotAPort()
{
    QFETCH(bool, asDirectory);

    QTemporaryDir root;
    QVERIFY(root.isValid());
    addParport(root.path(), QStringLiteral("parport0"), "888\t1912\n");
    const QString dev = root.path() + QStringLiteral("/dev");
    QVERIFY(QDir().mkpath(dev));
    if (asDirectory) {
        QVERIFY(QDir().mkpath(dev + QStringLiteral("/parport0")));
    } else {
        QFile fake(dev + QStringLiteral("/parport0"));
        QVERIFY(fake.open(QIODevice::WriteOnly));
        fake.write("\x0b");
    }

    PpdevParallelPort port(root.path(), dev);
    for (int attempt = 0; attempt < 2; ++attempt) {
        port.Outport(0x37A, 0x0B);
        QVERIFY(!succeeded(port));
        QVERIFY(port.GetLastState().contains(dev + QStringLiteral("/parport0")));
        QCOMPARE(port.Inport(0x379), quint8(0xFF));
    }
    // The file was never written through.
    QFile fake(dev + QStringLiteral("/parport0"));
    if (!asDirectory) {
        QVERIFY(fake.open(QIODevice::ReadOnly));
        QCOMPARE(fake.readAll(), QByteArray("\x0b"));
    }
}

void TestParallelPort::ppdevWithoutParportModule()
{
    QTemporaryDir root;
    QVERIFY(root.isValid());
    PpdevParallelPort port(root.path(), root.path());
    QCOMPARE(port.GetLPTPortAddress(1), quint16(0));
    port.EnablePorts(0x378, 0x378);
    QVERIFY(!succeeded(port));
    QCOMPARE(port.Inport(0x379), quint8(0xFF));
    QVERIFY(!succeeded(port));
}

void TestParallelPort::ppdevRealPortWhenPresent()
{
    const ParportProcInfo system;
    const QList<int> numbers = system.portNumbers();
    if (numbers.isEmpty() || !QFile::exists(QStringLiteral("/dev/parport%1").arg(numbers.first())))
        QSKIP("this machine has no parallel port");

    const quint16 base = system.baseAddress(numbers.first()).value_or(0);
    if (base == 0)
        QSKIP("the first parallel port has no I/O base address");
    PpdevParallelPort port;
    const quint8 control = port.Inport(base + 2);
    if (!succeeded(port))
        QSKIP(qPrintable(QStringLiteral("port not usable here: ") + port.GetLastState()));
    // Writing back what was read leaves the lines as they are.
    port.Outport(base + 2, control);
    QVERIFY2(succeeded(port), qPrintable(port.GetLastState()));
    QCOMPARE(port.Inport(base + 2), control);
    port.DisablePorts(base, base);
}

void TestParallelPort::factoryReturnsInstalledPort()
{
    auto memory = std::make_shared<MemoryParallelPort>(0x278);
    ParallelPortFactory::installTestPort(memory);
    const std::shared_ptr<ParallelPort> chosen = ParallelPortFactory::create();
    QCOMPARE(chosen.get(), memory.get());
    chosen->Outport(0x27A, 0x01);
    QCOMPARE(memory->control(), quint8(0x01));

    ParallelPortFactory::installTestPort(nullptr);
    const std::shared_ptr<ParallelPort> system = ParallelPortFactory::create();
    QVERIFY(dynamic_cast<PpdevParallelPort *>(system.get()) != nullptr);
}

QTEST_GUILESS_MAIN(TestParallelPort)
#include "tst_parallel_port.moc"
