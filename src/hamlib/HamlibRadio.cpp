#include "hamlib/HamlibRadio.h"

#include "hamlib/HamlibOperations.h"

HamlibRadio::HamlibRadio(Steps steps, QObject *parent) : Radio(parent), m_steps(std::move(steps)) {}

// Two bands, memories and scanning are offered as the panel offers them; the state's
// availability (from Hamlib's description of the radio) decides each request.
Capabilities HamlibRadio::capabilities() const
{
    Capabilities caps;
    caps.bands = 2;
    caps.vfoMemoryModes = true;
    caps.memories = true;
    caps.powerSteps = 3;
    caps.scanOnCommand = true;
    return caps;
}

void HamlibRadio::requestFrequency(std::function<void()> done)
{
    m_operations->updateFrequency(std::move(done));
}

void HamlibRadio::transmit(bool on)
{
    m_operations->setTransmit(on);
}

void HamlibRadio::scan(int band, bool on)
{
    m_operations->setScan(band, on);
}

void HamlibRadio::bandSelected(int band)
{
    m_operations->selectBand(band);
    m_operations->releaseFocus();
}

void HamlibRadio::vfoSelected(int band)
{
    m_operations->vfoMode(band);
    m_operations->releaseFocus();
}

void HamlibRadio::memorySelected(int band)
{
    m_operations->memoryMode(band);
    m_operations->releaseFocus();
}

void HamlibRadio::powerSelected(int band, int position)
{
    m_operations->setPower(band, position);
}
