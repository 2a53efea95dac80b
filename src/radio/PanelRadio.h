#pragma once

#include "radio/Radio.h"

#include <functional>
#include <type_traits>

// A radio behind the transceiver panel (a Kenwood, or one Hamlib drives): its operations object
// carries out what the rules let through, under the panel's operation names. An operation may be
// done at once (it returns nothing) or be a task that waits for the radio; either way the radio's
// task is over when it is. Opening, the initialisation and the release are the radio's own.
template <typename Operations> class PanelRadio : public Radio
{
public:
    explicit PanelRadio(QObject *parent = nullptr) : Radio(parent) {}
    void attach(Operations &operations) { m_operations = &operations; }

    QCoro::Task<> requestFrequency(std::function<void()> done) override
    {
        return awaited([this, done] { return m_operations->updateFrequency(done); });
    }

protected:
    QCoro::Task<> transmit(bool on) override
    {
        return awaited([this, on] { return m_operations->setTransmit(on); });
    }
    QCoro::Task<> scan(int band, bool on) override
    {
        return awaited([this, band, on] { return m_operations->setScan(band, on); });
    }
    QCoro::Task<> bandSelected(int band) override
    {
        return awaited([this, band] { return m_operations->selectBand(band); });
    }
    QCoro::Task<> vfoSelected(int band) override
    {
        return awaited([this, band] { return m_operations->vfoMode(band); });
    }
    QCoro::Task<> memorySelected(int band) override
    {
        return awaited([this, band] { return m_operations->memoryMode(band); });
    }
    QCoro::Task<> powerSelected(int band, int position) override
    {
        return awaited([this, band, position] { return m_operations->setPower(band, position); });
    }

private:
    static QCoro::Task<> done(std::function<void()> function)
    {
        function();
        co_return;
    }
    template <typename Call> static QCoro::Task<> awaited(Call call)
    {
        if constexpr (std::is_void_v<std::invoke_result_t<Call &>>)
            return done(std::function<void()>(call));
        else
            return call();
    }

    Operations *m_operations = nullptr;
};
