#pragma once

#include "radio/Radio.h"

#include <functional>

// A radio behind the transceiver panel (a Kenwood, or one Hamlib drives): its operations object
// carries out what the rules let through, under the panel's operation names. Opening, the
// initialisation and the release belong to the station's wiring of that kind, which hands them
// over once.
template <typename Operations> class PanelRadio : public Radio
{
public:
    struct Steps
    {
        std::function<void()> open;
        std::function<void()> initialise;
        std::function<void()> release;
        std::function<void()> ensureReceive; // may be empty
    };

    explicit PanelRadio(Steps steps, QObject *parent = nullptr)
        : Radio(parent), m_steps(std::move(steps))
    {
    }
    void attach(Operations &operations) { m_operations = &operations; }

    void open() override { m_steps.open(); }
    void initialise() override { m_steps.initialise(); }
    void release() override { m_steps.release(); }
    void ensureReceive() override
    {
        if (m_steps.ensureReceive)
            m_steps.ensureReceive();
    }
    void requestFrequency(std::function<void()> done) override
    {
        m_operations->updateFrequency(std::move(done));
    }

protected:
    void transmit(bool on) override { m_operations->setTransmit(on); }
    void scan(int band, bool on) override { m_operations->setScan(band, on); }
    // As after a click on the panel, the window takes the keyboard back.
    void bandSelected(int band) override
    {
        m_operations->selectBand(band);
        m_operations->releaseFocus();
    }
    void vfoSelected(int band) override
    {
        m_operations->vfoMode(band);
        m_operations->releaseFocus();
    }
    void memorySelected(int band) override
    {
        m_operations->memoryMode(band);
        m_operations->releaseFocus();
    }
    void powerSelected(int band, int position) override { m_operations->setPower(band, position); }

private:
    Operations *m_operations = nullptr;
    Steps m_steps;
};
