#include "support/RecordingRadio.h"

#include "core/StationState.h"

RecordingRadio::RecordingRadio(Kind kind, const StationState &station, QStringList &pressed)
    : m_station(station), m_pressed(pressed)
{
    if (kind == Kind::Generic) {
        m_caps.panel = Capabilities::Panel::Channels;
        m_caps.scanOnCommand = true;
        m_caps.stepping = true;
        m_caps.initialisesOnCommand = false;
        m_caps.answers = false;
        state().setScanAvailable(0, true);
        return;
    }
    m_caps.bands = 2;
    m_caps.vfoMemoryModes = true;
    m_caps.memories = true;
    m_caps.powerSteps = 3;
    m_caps.scanOnCommand = kind == Kind::Scanning;
}

QString RecordingRadio::bandName(const char *control, int band) const
{
    return QString::fromLatin1(control) + (band == 1 ? QLatin1Char('B') : QLatin1Char('A'));
}

void RecordingRadio::step(bool up)
{
    if (!m_caps.stepping)
        return;
    channelPosition += up ? 1 : -1;
    m_pressed << QStringLiteral("UpDownTX %1 %2").arg(up ? "Up" : "Down").arg(channelPosition);
}

void RecordingRadio::resetChannel()
{
    if (m_caps.stepping)
        m_pressed << QStringLiteral("ButtonReset");
}

void RecordingRadio::resynchronise(bool up)
{
    if (!m_caps.stepping)
        return;
    m_pressed << (up ? QStringLiteral("ButtonSynchroUP") : QStringLiteral("ButtonSynchroDown"));
}

void RecordingRadio::goToChannel(int index)
{
    if (!m_caps.stepping)
        return;
    m_pressed << QStringLiteral("ComboBoxTXMEM %1").arg(index);
}

void RecordingRadio::setCircularScan(bool on)
{
    if (!m_caps.stepping || circular == on)
        return;
    circular = on;
    m_pressed << QStringLiteral("CheckBoxOptiTX16 %1").arg(on ? "on" : "off");
}

QCoro::Task<> RecordingRadio::transmit(bool on)
{
    state().setKeyed(on);
    m_pressed << (m_caps.stepping ? QStringLiteral("SpeedButtonTX16TX")
                                  : QStringLiteral("SpeedButtonTX"));
    co_return;
}

QCoro::Task<> RecordingRadio::scan(int band, bool on)
{
    state().setScanning(band, on);
    m_pressed << (m_caps.stepping ? QStringLiteral("SpeedButtonTX16SC")
                                  : bandName("SpeedButtonScan", band));
    co_return;
}

QCoro::Task<> RecordingRadio::bandSelected(int band)
{
    m_pressed << bandName("SpeedButtonTX", band);
    co_return;
}

QCoro::Task<> RecordingRadio::vfoSelected(int band)
{
    m_pressed << bandName("SpeedButtonVFO", band);
    co_return;
}

QCoro::Task<> RecordingRadio::memorySelected(int band)
{
    m_pressed << bandName("SpeedButtonMEM", band) + QLatin1Char(' ') + m_station.MemoryNumberText;
    if (duringMemory)
        duringMemory();
    co_return;
}

// Like the panel's slider: a position already shown sends nothing.
QCoro::Task<> RecordingRadio::powerSelected(int band, int position)
{
    if (m_power[band] == position)
        co_return;
    m_power[band] = position;
    m_pressed << bandName("TrackBarPWR", band) + QLatin1Char('=') + QString::number(position);
    co_return;
}
