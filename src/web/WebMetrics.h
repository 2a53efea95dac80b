#pragma once

#include <QByteArray>
#include <QJsonObject>

// The status report in Prometheus' text format, for monitoring systems.
namespace WebMetrics {

QByteArray text(const QJsonObject &status);

} // namespace WebMetrics
