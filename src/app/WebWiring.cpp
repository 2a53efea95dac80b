#include "app/WebWiring.h"

#include "app/Station.h"
#include "app/WebSettingsForm.h"
#include "service/StatusReport.h"
#include "web/WebServer.h"

WebWiring::WebWiring(Station &station) : QObject(nullptr), m_station(station)
{
    connect(&station, &Station::startupFinished, this, &WebWiring::start);
}

WebWiring::~WebWiring() = default;

void WebWiring::start()
{
    const QString address = m_station.webAddressOnCommandLine.isEmpty()
                                ? m_station.webSettings.address
                                : m_station.webAddressOnCommandLine;
    if (address.isEmpty() || m_server)
        return;
    auto server = std::make_unique<WebServer>(*this);
    QString reason;
    if (!server->start(address, &reason)) {
        m_station.log.append(
            QStringLiteral("Web page: cannot listen on %1: %2").arg(address, reason));
        return;
    }
    m_server = std::move(server);
    // The port actually taken (WEB=...:0 takes a free one).
    const QString host = address.left(address.lastIndexOf(QLatin1Char(':')));
    m_station.log.append(QStringLiteral("Web page on %1:%2").arg(host).arg(m_server->port()));
}

QJsonObject WebWiring::status() const
{
    return m_station.status->snapshot();
}

Language WebWiring::language() const
{
    return m_station.currentLanguage();
}

const EventLog &WebWiring::log() const
{
    return m_station.log;
}

StationState &WebWiring::state()
{
    return m_station.state;
}

RadioSelector &WebWiring::radios()
{
    return m_station.radios;
}

RadioRequests &WebWiring::requests()
{
    return m_station.requests;
}

const WebSettings &WebWiring::webSettings() const
{
    return m_station.webSettings;
}

QJsonObject WebWiring::settings() const
{
    return WebSettingsForm(m_station).values();
}

QString WebWiring::applySettings(const QJsonObject &settings)
{
    return WebSettingsForm(m_station).apply(settings);
}
