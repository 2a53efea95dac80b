#include "kenwood/KenwoodRadio.h"

#include "kenwood/KenwoodOperations.h"

KenwoodRadio::KenwoodRadio(Steps steps, QObject *parent) : Radio(parent), m_steps(std::move(steps))
{
}

Capabilities KenwoodRadio::capabilities() const
{
    Capabilities caps;
    caps.bands = 2;
    caps.vfoMemoryModes = true;
    caps.memories = true;
    caps.powerSteps = 3;
    // The TM-D710 and TM-V71 take no scan command.
    caps.scanOnCommand = m_model == Kenwood::Model::TMD700;
    return caps;
}

void KenwoodRadio::requestFrequency(std::function<void()> done)
{
    m_operations->updateFrequencyForReport();
    done();
}

void KenwoodRadio::transmit(bool on)
{
    m_operations->setTransmit(on);
}

void KenwoodRadio::scan(int band, bool on)
{
    m_operations->setScan(band, on);
}

void KenwoodRadio::bandSelected(int band)
{
    m_operations->selectBand(band);
    m_operations->releaseFocus();
}

void KenwoodRadio::vfoSelected(int band)
{
    m_operations->vfoMode(band);
    m_operations->releaseFocus();
}

void KenwoodRadio::memorySelected(int band)
{
    m_operations->memoryMode(band);
    m_operations->releaseFocus();
}

void KenwoodRadio::powerSelected(int band, int position)
{
    m_operations->setPower(band, position);
}
