#pragma once

#include <QString>
#include <QUrlQuery>

class WebStation;

// The operator's controls on the page, each handed to the radio in use through the request
// queue as the window's button would: RECEIVE (unkey), TRANSMIT (a test keying that the
// transmit time-out ends), INIT, band A/B, VFO, MEM with an optional channel, power H/M/L.
namespace WebControls {

// Queues what `fields` asks (action=receive|transmit|init|band|vfo|mem|power, band=A|B,
// channel=015, power=H|M|L); the reason of a refusal, empty when queued.
QString submit(WebStation &station, const QUrlQuery &fields);

} // namespace WebControls
