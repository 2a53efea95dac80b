#include "radio/Radio.h"

Radio::Radio(QObject *parent) : QObject(parent) {}

QCoro::Task<> Radio::setTransmit(bool on)
{
    if (on == m_state.keyed())
        co_return;
    if (on && (!m_state.panelEnabled() || !m_state.transmitAvailable()))
        co_return;
    co_await transmit(on);
}

QCoro::Task<> Radio::setScan(int band, bool on)
{
    const Capabilities caps = capabilities();
    if (!caps.scanOnCommand || band >= caps.bands || !m_state.panelEnabled() ||
        !m_state.band(band).scanAvailable || on == m_state.band(band).scanning)
        co_return;
    co_await scan(band, on);
}

QCoro::Task<> Radio::selectBand(int band)
{
    if (capabilities().vfoMemoryModes && m_state.acceptsBandOperation(band))
        co_await bandSelected(band);
}

QCoro::Task<> Radio::vfoMode(int band)
{
    if (capabilities().vfoMemoryModes && m_state.acceptsBandOperation(band))
        co_await vfoSelected(band);
}

QCoro::Task<> Radio::memoryMode(int band)
{
    if (capabilities().vfoMemoryModes && m_state.acceptsBandOperation(band) &&
        m_state.band(band).memoryAvailable)
        co_await memorySelected(band);
}

QCoro::Task<> Radio::setPower(int band, int position)
{
    // Like a slider moved by hand, a power request is taken even while the panel waits.
    const int steps = capabilities().powerSteps;
    if (position < 0 || position >= steps)
        co_return;
    co_await powerSelected(band, position);
}
