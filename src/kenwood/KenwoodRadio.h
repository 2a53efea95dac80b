#pragma once

#include "kenwood/KenwoodModel.h"
#include "radio/Radio.h"

#include <functional>

class KenwoodOperations;

// A TM-D700, TM-D710 or TM-V71 behind the Radio seam. The operations run the Kenwood
// exchanges; opening, the initialisation and the release belong to the station's Kenwood
// wiring, which hands them over once.
class KenwoodRadio : public Radio
{
    Q_OBJECT
public:
    struct Steps
    {
        std::function<void()> open;
        std::function<void()> initialise;
        std::function<void()> release;
        std::function<void()> ensureReceive;
    };

    explicit KenwoodRadio(Steps steps, QObject *parent = nullptr);
    void attach(KenwoodOperations &operations) { m_operations = &operations; }

    void setModel(Kenwood::Model model) { m_model = model; }
    Kenwood::Model model() const { return m_model; }
    Capabilities capabilities() const override;

    void open() override { m_steps.open(); }
    void initialise() override { m_steps.initialise(); }
    void release() override { m_steps.release(); }
    void ensureReceive() override { m_steps.ensureReceive(); }
    // The exchanges are synchronous: `done` runs before this returns.
    void requestFrequency(std::function<void()> done) override;

protected:
    void transmit(bool on) override;
    void scan(int band, bool on) override;
    void bandSelected(int band) override;
    void vfoSelected(int band) override;
    void memorySelected(int band) override;
    void powerSelected(int band, int position) override;

private:
    KenwoodOperations *m_operations = nullptr;
    Steps m_steps;
    Kenwood::Model m_model = Kenwood::Model::TMD700;
};
