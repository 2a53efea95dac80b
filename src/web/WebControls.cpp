#include "web/WebControls.h"

#include "radio/Radio.h"
#include "radio/RadioRequests.h"
#include "radio/RadioSelector.h"
#include "web/WebStation.h"

#include <optional>

namespace {

std::optional<int> bandOf(const QUrlQuery &fields, const Radio &radio)
{
    const QString band = fields.queryItemValue(QStringLiteral("band"));
    if (band == QLatin1String("A"))
        return 0;
    if (band == QLatin1String("B") && radio.capabilities().bands > 1)
        return 1;
    return std::nullopt;
}

// The window's power sliders: H at the top (0), M, L.
std::optional<int> powerOf(const QUrlQuery &fields, const Radio &radio)
{
    const QString level = fields.queryItemValue(QStringLiteral("power"));
    const int steps = radio.capabilities().powerSteps;
    const QString levels = QStringLiteral("HML");
    const qsizetype position = level.size() == 1 ? levels.indexOf(level) : -1;
    if (position < 0 || position >= steps)
        return std::nullopt;
    return int(position);
}

using BandOperation = QCoro::Task<> (Radio::*)(int);

void submitOnBand(RadioRequests &requests, RadioSelector &radios, Radio *radio,
                  BandOperation operation, int band)
{
    // Done on the radio still in use when its turn comes, as a click on the panel is.
    requests.submit([&radios, radio, operation, band]() -> QCoro::Task<> {
        if (radios.current() == radio)
            co_await (radio->*operation)(band);
    });
}

} // namespace

namespace WebControls {

QString submit(WebStation &station, const QUrlQuery &fields)
{
    RadioSelector &radios = station.radios();
    RadioRequests &requests = station.requests();
    Radio *radio = radios.current();
    if (radio == nullptr)
        return QStringLiteral("no radio");
    const QString action = fields.queryItemValue(QStringLiteral("action"));
    const Capabilities caps = radio->capabilities();
    if (action == QLatin1String("receive")) {
        requests.submitUnkey([radio] { return radio->setTransmit(false); });
        return {};
    }
    if (action == QLatin1String("transmit")) {
        requests.submitKey([radio] { return radio->setTransmit(true); });
        return {};
    }
    if (action == QLatin1String("init")) {
        if (!caps.initialisesOnCommand)
            return QStringLiteral("this radio is initialised from its setup");
        requests.submit([&radios, radio]() -> QCoro::Task<> {
            if (radios.current() == radio)
                radio->initialise();
            co_return;
        });
        return {};
    }
    const std::optional<int> band = bandOf(fields, *radio);
    if (!band)
        return QStringLiteral("no such band");
    if (action == QLatin1String("band") || action == QLatin1String("vfo")) {
        if (!caps.vfoMemoryModes)
            return QStringLiteral("this radio has no bands");
        submitOnBand(requests, radios, radio,
                     action == QLatin1String("band") ? &Radio::selectBand : &Radio::vfoMode, *band);
        return {};
    }
    if (action == QLatin1String("mem")) {
        if (!caps.memories)
            return QStringLiteral("this radio has no memories");
        const QString channel = fields.queryItemValue(QStringLiteral("channel"));
        if (!channel.isEmpty()) {
            // As a choice in the window's memory list: the entry is chosen at once.
            const int index = radio->state().memoryIndex(channel);
            if (index < 0)
                return QStringLiteral("no such memory");
            radio->state().setCurrentMemory(index);
        }
        submitOnBand(requests, radios, radio, &Radio::memoryMode, *band);
        return {};
    }
    if (action == QLatin1String("power")) {
        const std::optional<int> position = powerOf(fields, *radio);
        if (!position)
            return QStringLiteral("no such power");
        const int b = *band;
        const int p = *position;
        requests.submit([&radios, radio, b, p]() -> QCoro::Task<> {
            if (radios.current() == radio)
                co_await radio->setPower(b, p);
        });
        return {};
    }
    return QStringLiteral("unknown action");
}

} // namespace WebControls
