#include "web/WebMetrics.h"

namespace WebMetrics {

namespace {

void metric(QByteArray &out, const char *name, const char *type, const char *help,
            const QJsonValue &value)
{
    out += QByteArrayLiteral("# HELP ivrelane_") + name + ' ' + help + '\n';
    out += QByteArrayLiteral("# TYPE ivrelane_") + name + ' ' + type + '\n';
    // A value the station cannot tell (a transmitter that never answers) has no sample.
    if (value.isBool())
        out += QByteArrayLiteral("ivrelane_") + name + (value.toBool() ? " 1\n" : " 0\n");
    else if (value.isDouble())
        out += QByteArrayLiteral("ivrelane_") + name + ' ' + QByteArray::number(value.toInteger()) +
               '\n';
}

} // namespace

QByteArray text(const QJsonObject &status)
{
    const QJsonObject counters = status.value(QLatin1String("counters")).toObject();
    const auto counter = [&](const char *key) { return counters.value(QLatin1String(key)); };
    QByteArray out;
    metric(out, "up", "gauge", "The station runs.", true);
    metric(out, "keyed", "gauge", "The transmitter is keyed.",
           status.value(QLatin1String("keyed")));
    metric(out, "radio_answering", "gauge", "The radio answers.",
           status.value(QLatin1String("answers")));
    metric(out, "server_connected", "gauge", "The relay server link is up.",
           status.value(QLatin1String("server")).toObject().value(QLatin1String("connected")));
    metric(out, "keyings_total", "counter", "Keyings since start.", counter("keyings"));
    metric(out, "transmit_seconds_total", "counter", "Time keyed since start, in seconds.",
           counter("transmitSeconds"));
    metric(out, "transmit_timeouts_total", "counter", "Transmit time-outs since start.",
           counter("transmitTimeouts"));
    metric(out, "radio_faults_total", "counter",
           "Exchanges the radio left unanswered and radio failures since start.",
           counter("radioFaults"));
    metric(out, "port_losses_total", "counter",
           "Serial port and control-line device losses since start.", counter("portLosses"));
    metric(out, "server_reconnections_total", "counter",
           "Automatic reconnections to the relay server since start.",
           counter("serverReconnections"));
    metric(out, "requests_dropped_total", "counter",
           "Requests dropped because too many waited for the radio.", counter("requestsDropped"));
    return out;
}

} // namespace WebMetrics
