#pragma once

#include "core/LanguageTexts.h"

#include <QJsonObject>
#include <QString>

class EventLog;
class RadioRequests;
class RadioSelector;
struct StationState;
struct WebSettings;

// What the web page reads of the station and asks of it: the models and the request queue the
// window uses too, and what the station's composition owns (the status report, the settings the
// windows' OK buttons apply). The application implements it.
class WebStation
{
public:
    virtual ~WebStation() = default;

    // The status file's content, as it would be written now.
    virtual QJsonObject status() const = 0;
    virtual Language language() const = 0;
    virtual const EventLog &log() const = 0;
    virtual StationState &state() = 0;
    virtual RadioSelector &radios() = 0;
    virtual RadioRequests &requests() = 0;
    virtual const WebSettings &webSettings() const = 0;

    // The settings an unattended station needs, as the settings form shows them.
    virtual QJsonObject settings() const = 0;
    // Checks them as the windows do and applies what passes the way the windows' OK buttons do,
    // then saves the configuration; the reason of a refusal, empty when all went through.
    virtual QString applySettings(const QJsonObject &settings) = 0;
};
