#pragma once

#include "radio/Radio.h"

#include <functional>
#include <type_traits>

// A radio behind the transceiver panel (a Kenwood, or one Hamlib drives): its operations object
// carries out what the rules let through, under the panel's operation names. Opening, the
// initialisation and the release belong to the station's wiring of that kind, which hands them
// over once. An operation or step may be done at once (it returns nothing) or be a task that
// waits for the radio; either way the radio's task is over when it is.
template <typename Operations> class PanelRadio : public Radio
{
public:
    // A step the wiring hands over: a plain function or one that returns a task.
    class Step
    {
    public:
        Step() = default;
        template <typename Function> Step(Function function)
        {
            if constexpr (std::is_void_v<std::invoke_result_t<Function &>>)
                m_run = [function]() mutable { return done(std::function<void()>(function)); };
            else
                m_run = std::move(function);
        }
        explicit operator bool() const { return bool(m_run); }
        QCoro::Task<> operator()() const { return m_run ? m_run() : done({}); }

    private:
        std::function<QCoro::Task<>()> m_run;
    };

    struct Steps
    {
        Step open;
        Step initialise;
        Step release;
        Step ensureReceive; // may be empty
    };

    explicit PanelRadio(Steps steps, QObject *parent = nullptr)
        : Radio(parent), m_steps(std::move(steps))
    {
    }
    void attach(Operations &operations) { m_operations = &operations; }

    void open() override { m_steps.open(); }
    void initialise() override { m_steps.initialise(); }
    QCoro::Task<> release() override { return m_steps.release(); }
    QCoro::Task<> ensureReceive() override { return m_steps.ensureReceive(); }
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
    // As after a click on the panel, the window takes the keyboard back.
    QCoro::Task<> bandSelected(int band) override
    {
        co_await awaited([this, band] { return m_operations->selectBand(band); });
        m_operations->releaseFocus();
    }
    QCoro::Task<> vfoSelected(int band) override
    {
        co_await awaited([this, band] { return m_operations->vfoMode(band); });
        m_operations->releaseFocus();
    }
    QCoro::Task<> memorySelected(int band) override
    {
        co_await awaited([this, band] { return m_operations->memoryMode(band); });
        m_operations->releaseFocus();
    }
    QCoro::Task<> powerSelected(int band, int position) override
    {
        return awaited([this, band, position] { return m_operations->setPower(band, position); });
    }

private:
    static QCoro::Task<> done(std::function<void()> function)
    {
        if (function)
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
    Steps m_steps;
};
