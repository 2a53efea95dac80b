#pragma once

#include "radio/Radio.h"

#include <QStringList>
#include <functional>

struct StationState;

// A radio that carries out nothing: each operation that reaches the backend is written to
// `pressed` under the name of the panel control the operator would have used for it
// ("SpeedButtonTXA", "SpeedButtonMEMA 015", "TrackBarPWRA=2", "UpDownTX Up 9"), and the state
// follows as a real backend's would. Only the generic kind steps through channels; the others
// ignore stepping, as the Radio base does.
class RecordingRadio : public Radio
{
    Q_OBJECT
public:
    enum class Kind { Kenwood, Scanning, Generic };

    RecordingRadio(Kind kind, const StationState &station, QStringList &pressed);

    Capabilities capabilities() const override { return m_caps; }
    void open() override { m_pressed << QStringLiteral("open"); }
    void initialise() override { m_pressed << QStringLiteral("SpeedButtonInit"); }
    QCoro::Task<> release() override
    {
        m_pressed << QStringLiteral("release");
        co_return;
    }
    QCoro::Task<> ensureReceive() override
    {
        m_pressed << QStringLiteral("RX");
        co_return;
    }
    QCoro::Task<> requestFrequency(std::function<void()> done) override
    {
        done();
        co_return;
    }

    void step(bool up) override;
    void resetChannel() override;
    void resynchronise(bool up) override;
    void goToChannel(int index) override;
    void setCircularScan(bool circular) override;

    // Runs inside the memory operation, where a real radio would wait for its answer.
    std::function<void()> duringMemory;
    int channelPosition = 8;
    bool circular = false;

protected:
    QCoro::Task<> transmit(bool on) override;
    QCoro::Task<> scan(int band, bool on) override;
    QCoro::Task<> bandSelected(int band) override;
    QCoro::Task<> vfoSelected(int band) override;
    QCoro::Task<> memorySelected(int band) override;
    QCoro::Task<> powerSelected(int band, int position) override;

private:
    QString bandName(const char *control, int band) const;

    Capabilities m_caps;
    const StationState &m_station;
    QStringList &m_pressed;
    int m_power[2] = {0, 0};
};
