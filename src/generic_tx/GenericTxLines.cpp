#include "generic_tx/GenericTxLines.h"

#include "core/ConfigValues.h"
#include "core/EventLog.h"
#include "core/Notifier.h"
#include "core/StationState.h"
#include "generic_tx/ControlLineDriver.h"
#include "generic_tx/ControlLines.h"
#include "generic_tx/GenericTxRadio.h"
#include "generic_tx/GenericTxSettings.h"
#include "generic_tx/LinesFactory.h"
#include "generic_tx/PortDiscovery.h"
#include "radio/RadioState.h"

GenericTxLines::GenericTxLines(StationState &state, EventLog &log, Notifier &notifier,
                               ParallelPort &port, ControlLineDriver &driver, RadioState &radio,
                               const GenericTxSettings &settings, QObject *parent)
    : QObject(parent), m_state(state), m_log(log), m_notifier(notifier), m_port(port),
      m_driver(driver), m_radio(radio), m_settings(settings), m_watch(driver)
{
    // Kept in the log, so the operator can tell a missing permission from a missing driver.
    m_driver.reportFailure = [this](const QString &reason) {
        m_log.append(
            (m_driver.onParallelPort() ? QStringLiteral("LPT: ") : QStringLiteral("Lines: ")) +
            reason);
    };
    connect(&m_watch, &LinesWatch::lost, this,
            [this](const QString &device, const QString &reason) {
                // The reason first, so that the line the operator looks for reads as a lost
                // serial port's does.
                m_log.append(QStringLiteral("Lines: ") + reason);
                m_log.append(QStringLiteral("Lines %1 lost").arg(device));
                show(Health::Lost, QStringLiteral("Lines %1 lost").arg(device));
            });
    connect(&m_watch, &LinesWatch::back, this, [this](const QString &device) {
        m_log.append(QStringLiteral("Lines %1 back").arg(device));
        show(Health::Ok, QStringLiteral("Lines %1 OK").arg(device));
    });
}

GenericTxLines::~GenericTxLines() = default;

QString GenericTxLines::kindText() const
{
    return LineConfig::kindText(settings.kind);
}

void GenericTxLines::take()
{
    if (settings.kind != LinesKind::ParallelPort) {
        m_radio.setPortName(settings.device);
        takeOtherLines();
        return;
    }
    takeParallelPort();
}

void GenericTxLines::letGo()
{
    m_watch.watch(nullptr);
    m_driver.releasePort();
    m_health = Health::None;
}

void GenericTxLines::changed()
{
    if (settings.kind != LinesKind::ParallelPort) {
        m_radio.setPortName(settings.device);
        takeOtherLines();
        return;
    }
    // The device's outputs rest before the parallel port takes over.
    letGo();
    m_driver.useLines(nullptr);
    m_lines.reset();
}

void GenericTxLines::portConfirmed(quint16 base, bool atRest)
{
    if (!atRest) {
        show(Health::Error, QStringLiteral("LPT error"));
        return;
    }
    show(Health::Ok, PortDiscovery::portOkText(base));
    logReady(base);
}

void GenericTxLines::takeParallelPort()
{
    const quint16 base = quint16(m_state.LptBase);
    // Most machines have no parallel port any more: the log says so, and where it looked.
    PortDiscovery::AddressTexts found = PortDiscovery::initialTexts();
    PortDiscovery::discoverFromDriver(m_port, found);
    if (PortDiscovery::noneFound(found))
        m_log.append(QStringLiteral("LPT: No parallel port found (the kernel lists its "
                                    "ports in /proc/sys/dev/parport)"));
    m_radio.setPortName(base == 0 ? QString()
                                  : QStringLiteral("LPT %1h").arg(ConfigValues::hexAddress(base)));
    if (base == 0) {
        show(Health::None, QStringLiteral("No LPT => INIT"));
        return;
    }
    m_driver.enablePort();
    if (!m_driver.writeIdle(TxLine::Up)) {
        m_notifier.beep();
        show(Health::Error, QStringLiteral("LPT error"));
        return;
    }
    show(Health::Ok, PortDiscovery::portOkText(base));
    for (TxLine line : {TxLine::Down, TxLine::Reset, TxLine::Ptt}) {
        if (!m_driver.writeIdle(line)) {
            m_notifier.beep();
            return;
        }
    }
    logReady(base);
}

void GenericTxLines::takeOtherLines()
{
    // Lines in use before (other lines chosen in the dialog) are left at rest.
    letGo();
    m_driver.useLines(nullptr);
    m_lines = LinesFactory::create(settings, m_settings.squelchPolarity());
    // Nothing is driven without a device: not even the parallel port, which is not in use.
    m_driver.useLines(m_lines.get());
    if (!m_lines->present()) {
        m_log.append(QStringLiteral("Lines: no device or pin map chosen (INIT)"));
        show(Health::None, QStringLiteral("No lines => INIT"));
        return;
    }
    if (const std::optional<LineMap> map = LineConfig::parseMap(settings.kind, settings.map);
        map && LineConfig::squelchReportsPressesOnly(settings.kind, *map))
        m_log.append(QStringLiteral("Lines: the mute inputs report a press only once "
                                    "released, not a squelch level: use VOLDN or VOLUP"));
    m_watch.watch(m_lines.get());
    if (!m_driver.openLines()) {
        m_notifier.beep();
        m_log.append(QStringLiteral("Lines: ") + m_lines->failure());
        show(Health::Error, QStringLiteral("Lines %1 error").arg(m_lines->deviceName()));
        // Not plugged in yet, or not given to this user yet: it is looked for as a lost one.
        m_watch.keepLooking();
        return;
    }
    show(Health::Ok, QStringLiteral("Lines %1 OK").arg(m_lines->deviceName()));
    logReady(m_lines->deviceName());
}

void GenericTxLines::show(Health health, const QString &text)
{
    m_health = health;
    emit healthChanged(health, text);
}

void GenericTxLines::logReady(const QString &device)
{
    m_log.append(QStringLiteral("Radio ready: %1 on %2 (%3)")
                     .arg(GenericTxRadio::ModelName.toString(), device,
                          LineConfig::kindText(settings.kind)));
}

void GenericTxLines::logReady(quint16 base)
{
    PortDiscovery::AddressTexts found = PortDiscovery::initialTexts();
    PortDiscovery::discoverFromDriver(m_port, found);
    m_log.append(QStringLiteral("Radio ready: %1 on %2")
                     .arg(GenericTxRadio::ModelName.toString(),
                          PortDiscovery::portDescription(found, base)));
}
