#pragma once

#include "radio/Radio.h"

#include <functional>

class HamlibOperations;

// A transceiver Hamlib drives, behind the Radio seam. What the radio lacks (a second band,
// memories, scanning, PTT) shows in the state once Hamlib has described it.
class HamlibRadio : public Radio
{
    Q_OBJECT
public:
    struct Steps
    {
        std::function<void()> open;
        std::function<void()> initialise;
        std::function<void()> release;
    };

    explicit HamlibRadio(Steps steps, QObject *parent = nullptr);
    void attach(HamlibOperations &operations) { m_operations = &operations; }

    Capabilities capabilities() const override;
    void open() override { m_steps.open(); }
    void initialise() override { m_steps.initialise(); }
    void release() override { m_steps.release(); }
    // Answered in the order asked, once the worker has read the radio.
    void requestFrequency(std::function<void()> done) override;

protected:
    void transmit(bool on) override;
    void scan(int band, bool on) override;
    void bandSelected(int band) override;
    void vfoSelected(int band) override;
    void memorySelected(int band) override;
    void powerSelected(int band, int position) override;

private:
    HamlibOperations *m_operations = nullptr;
    Steps m_steps;
};
