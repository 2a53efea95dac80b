#include "radio/Radio.h"

Radio::Radio(QObject *parent) : QObject(parent) {}

void Radio::setTransmit(bool on)
{
    if (on == m_state.keyed())
        return;
    if (on && (!m_state.panelEnabled() || !m_state.transmitAvailable()))
        return;
    transmit(on);
}

void Radio::setScan(int band, bool on)
{
    const Capabilities caps = capabilities();
    if (!caps.scanOnCommand || band >= caps.bands || !m_state.panelEnabled() ||
        !m_state.band(band).scanAvailable || on == m_state.band(band).scanning)
        return;
    scan(band, on);
}

void Radio::selectBand(int band)
{
    if (capabilities().vfoMemoryModes && m_state.acceptsBandOperation(band))
        bandSelected(band);
}

void Radio::vfoMode(int band)
{
    if (capabilities().vfoMemoryModes && m_state.acceptsBandOperation(band))
        vfoSelected(band);
}

void Radio::memoryMode(int band)
{
    if (capabilities().vfoMemoryModes && m_state.acceptsBandOperation(band) &&
        m_state.band(band).memoryAvailable)
        memorySelected(band);
}

void Radio::setPower(int band, int position)
{
    // Like a slider moved by hand, a power request is taken even while the panel waits.
    const int steps = capabilities().powerSteps;
    if (position < 0 || position >= steps)
        return;
    powerSelected(band, position);
}
