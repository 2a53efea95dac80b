#pragma once

#include "web/WebStation.h"

#include <QObject>
#include <memory>

class Station;
class WebServer;

// Gives the web page the station's models and the settings the windows apply, and starts the
// page once start-up is over when WEB= (or --web) asks for it. An address that cannot be used
// is logged with the reason; the station runs on without the page.
class WebWiring : public QObject, public WebStation
{
    Q_OBJECT
public:
    explicit WebWiring(Station &station);
    ~WebWiring() override;

    void start();
    // The page's server while it runs; nothing otherwise.
    WebServer *server() const { return m_server.get(); }

    QJsonObject status() const override;
    Language language() const override;
    const EventLog &log() const override;
    StationState &state() override;
    RadioSelector &radios() override;
    RadioRequests &requests() override;
    const WebSettings &webSettings() const override;
    QJsonObject settings() const override;
    QString applySettings(const QJsonObject &settings) override;

private:
    Station &m_station;
    std::unique_ptr<WebServer> m_server;
};
