#include "generic_tx/Tx16LinesSetup.h"

#include "core/Notifier.h"

#include <utility>

Tx16LinesSetup::Tx16LinesSetup(LineSettings &settings, Notifier &notifier,
                               std::function<Language()> language, Tx16LinesFields &fields,
                               QObject *parent)
    : QObject(parent), m_settings(settings), m_notifier(notifier), m_language(std::move(language)),
      m_fields(fields)
{
}

void Tx16LinesSetup::FormShow()
{
    m_fields.setLinesKind(m_settings.kind);
    listDevices(m_settings.kind);
    m_fields.setDeviceText(m_settings.device);
    m_fields.setLinesMap(m_settings.map);
    m_shownKind = m_settings.kind;
    kindChosen();
}

LinesKind Tx16LinesSetup::chosenKind() const
{
    return m_fields.linesKind();
}

bool Tx16LinesSetup::confirm()
{
    const LinesKind kind = chosenKind();
    const std::optional<QString> device = LineConfig::deviceSetting(m_fields.device());
    if (!device) {
        m_notifier.warning(messageText(m_language(), MessageId::LinesDeviceMissing));
        m_fields.focusDevice();
        return false;
    }
    const QString map = m_fields.linesMap().trimmed();
    if (!LineConfig::parseMap(kind, map)) {
        m_notifier.warning(messageText(m_language(), MessageId::LinesMapError));
        m_fields.focusMap();
        return false;
    }
    m_settings = LineSettings{kind, *device, map};
    return true;
}

bool Tx16LinesSetup::confirmParallelPort()
{
    return std::exchange(m_settings.kind, LinesKind::ParallelPort) != LinesKind::ParallelPort;
}

void Tx16LinesSetup::kindChosen()
{
    const LinesKind kind = chosenKind();
    const bool parallelPort = kind == LinesKind::ParallelPort;
    m_fields.offerParallelPort(parallelPort);
    if (parallelPort) {
        m_shownKind = kind;
        return;
    }
    const bool switched = kind != m_shownKind;
    // A device of the other kind means nothing here.
    const QString typed = switched ? QString() : m_fields.deviceText();
    m_shownKind = kind;
    listDevices(kind);
    m_fields.setDeviceText(typed);
    // A map written for the other kind of device means nothing on this one; the usual wiring
    // of a kind just chosen comes with its map.
    if (!LineConfig::parseMap(kind, m_fields.linesMap().trimmed())) {
        m_fields.setLinesMap(LineConfig::defaultMap(kind));
        if (switched)
            m_fields.setSquelchPolarity(LineConfig::defaultSquelchOpenLevel(kind));
    }
    if (typed.isEmpty())
        m_fields.chooseFirstDevice();
}

void Tx16LinesSetup::listDevices(LinesKind kind)
{
    QList<LinesDiscovery::Device> found;
    if (kind == LinesKind::UsbAudio)
        found = LinesDiscovery::usbAudioInterfaces(hidrawRoot, devRoot);
    else if (kind == LinesKind::GpioChip)
        found = LinesDiscovery::gpioChips(devRoot);
    m_fields.listDevices(found);
}
