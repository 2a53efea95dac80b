#include "support/GenericTxFixture.h"

#include "app/GenericTxWiring.h"
#include "generic_tx/ChannelStepper.h"
#include "generic_tx/ControlLineDriver.h"
#include "platform/ParallelPortFactory.h"
#include "ui/UnitInitTX16.h"
#include "ui/UnitTMD700.h"

#include <QRegularExpression>
#include <QTest>

GenericTxFixture::GenericTxFixture(const QStringList &extraConfiguration, quint8 initialControl)
    : port(std::make_shared<MemoryParallelPort>(0x378))
{
    port->setControl(initialControl);
    ParallelPortFactory::installTestPort(port);
    QStringList lines{QStringLiteral("MODEL=TX16UD"),     QStringLiteral("WARNING=Y"),
                      QStringLiteral("DELAYPIN14=50"),    QStringLiteral("DELAYPIN1=50"),
                      QStringLiteral("DELAYPIN16=250"),   QStringLiteral("TEMPOTX16=200"),
                      QStringLiteral("BASECHANNELTX16=1")};
    if (extraConfiguration.filter(QRegularExpression(QStringLiteral("^LPT"))).isEmpty())
        lines.append(QStringLiteral("LPT378=888"));
    fixture.writeConfiguration(lines + extraConfiguration);
    fixture.start();
}

GenericTxFixture::~GenericTxFixture()
{
    ParallelPortFactory::installTestPort(nullptr);
}

Ui::TForm1 &GenericTxFixture::main()
{
    return station().windows().Form1->ui;
}

Ui::TFormInitTX16 &GenericTxFixture::setup()
{
    return station().windows().FormInitTX16->ui;
}

QList<quint8> GenericTxFixture::controlWrites() const
{
    QList<quint8> values;
    for (const MemoryParallelPort::Write &write : port->writes()) {
        if (write.port == port->base() + 2)
            values.append(write.value);
    }
    return values;
}

int GenericTxFixture::pulses(quint8 mask, bool restSet) const
{
    int count = 0;
    bool atRest = true;
    for (quint8 value : controlWrites()) {
        const bool rest = bool(value & mask) == restSet;
        if (atRest && !rest)
            ++count;
        atRest = rest;
    }
    return count;
}

bool GenericTxFixture::waitUntilQuiet(int timeoutMs)
{
    ControlLineDriver &driver = station().genericTx->driver();
    ChannelStepper &stepper = station().genericTx->stepper();
    return QTest::qWaitFor(
        [&] {
            return !stepper.ticking() && !driver.pulsing(TxLine::Up) &&
                   !driver.pulsing(TxLine::Down) && !driver.pulsing(TxLine::Reset);
        },
        timeoutMs);
}
