#include "app/WebWiring.h"

#include "app/ConfigCheck.h"
#include "app/InterfaceWiring.h"
#include "app/KenwoodWiring.h"
#include "app/ServerWindowSettings.h"
#include "app/ServerWiring.h"
#include "app/Station.h"
#include "app/StatusReport.h"
#include "platform/SerialPortList.h"
#include "server/ServerAddress.h"
#include "radio/TransmitTimeout.h"
#include "web/WebServer.h"

#include <QDir>
#include <QJsonArray>

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
        m_station.log.append(QStringLiteral("Web page: cannot listen on %1: %2").arg(address, reason));
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
    const Station &s = m_station;
    const QJsonObject values{
        {QLatin1String("model"), s.radios.currentModel()},
        {QLatin1String("COM"), s.ComPortTX.portName},
        {QLatin1String("IPSERVER"), s.IdTCPClient.host},
        {QLatin1String("PORT"), QString::number(s.IdTCPClient.port)},
        {QLatin1String("CONNECT"), s.serverSettings->connectAtStart()},
        {QLatin1String("RECONNECT"), s.serverSettings->reconnect()},
        {QLatin1String("TXTIMEOUT"), QString::number(s.state.TxTimeoutSeconds)},
        {QLatin1String("LANGUAGE"),
         s.state.language == Language::English ? QStringLiteral("E") : QStringLiteral("F")},
    };
    QStringList ports = listSerialPorts(s.deviceDirectory);
    if (!s.ComPortTX.portName.isEmpty() && !ports.contains(s.ComPortTX.portName))
        ports.prepend(s.ComPortTX.portName);
    const QJsonObject choices{
        {QLatin1String("model"), QJsonArray::fromStringList(ConfigCheck::modelNames())},
        {QLatin1String("COM"), QJsonArray::fromStringList(ports)},
        {QLatin1String("LANGUAGE"), QJsonArray{QStringLiteral("F"), QStringLiteral("E")}},
    };
    return QJsonObject{{QLatin1String("values"), values}, {QLatin1String("choices"), choices}};
}

// Checked first as the windows check them, so that a refusal changes nothing; then applied as
// the Model and COM menus, the server window's OK and the Language menu do, and saved.
QString WebWiring::applySettings(const QJsonObject &settings)
{
    Station &s = m_station;
    const auto text = [&](const char *key, const QString &current) {
        const QJsonValue value = settings.value(QLatin1String(key));
        return value.isString() ? value.toString() : current;
    };
    const auto flag = [&](const char *key, bool current) {
        const QJsonValue value = settings.value(QLatin1String(key));
        return value.isBool() ? value.toBool() : current;
    };
    const QString model = text("model", s.radios.currentModel());
    if (!ConfigCheck::modelNames().contains(model))
        return QStringLiteral("model: not one of %1").arg(ConfigCheck::modelNames().join(u", "));
    const QString port = text("COM", s.ComPortTX.portName);
    if (port != s.ComPortTX.portName && !listSerialPorts(s.deviceDirectory).contains(port))
        return QStringLiteral("COM: no such serial port");
    const QString language = text("LANGUAGE", s.state.language == Language::English
                                                  ? QStringLiteral("E")
                                                  : QStringLiteral("F"));
    if (language != QLatin1String("E") && language != QLatin1String("F"))
        return QStringLiteral("LANGUAGE: F or E");
    bool timeoutOk = false;
    const int timeout =
        text("TXTIMEOUT", QString::number(s.state.TxTimeoutSeconds)).toInt(&timeoutOk);
    if (!timeoutOk || timeout < 0 || timeout > TransmitTimeout::MaxSeconds)
        return QStringLiteral("TXTIMEOUT: 0 to %1").arg(TransmitTimeout::MaxSeconds);
    // The server window's own check of the address and port, which applies them when they pass.
    ServerSettingsDialog &dialog = s.server->settingsDialog();
    dialog.FormShow();
    s.serverSettings->setHostParts(ServerAddress::splitHost(text("IPSERVER", s.IdTCPClient.host)));
    s.serverSettings->setPortText(text("PORT", QString::number(s.IdTCPClient.port)));
    s.serverSettings->setTxTimeoutSeconds(timeout);
    if (!dialog.FormClose())
        return messageText(s.currentLanguage(), MessageId::ServerFormatError);

    s.serverSettings->setConnectAtStart(flag("CONNECT", s.serverSettings->connectAtStart()));
    s.serverSettings->setReconnect(flag("RECONNECT", s.serverSettings->reconnect()));
    const Language chosen = language == QLatin1String("E") ? Language::English : Language::French;
    if (chosen != s.state.language)
        s.interface->chooseLanguage(chosen);
    if (port != s.ComPortTX.portName) {
        // As a choice in the COM menu's list: the Kenwood's port is opened again.
        s.kenwood->radio().closePort();
        s.ComPortTX.portName = port;
        s.kenwood->radio().open();
    }
    if (model != s.radios.currentModel())
        s.chooseModel(model);
    QDir::setCurrent(s.directory());
    if (ConfigFile::save(s.configBinding(), s.directory()) == ConfigFile::SaveResult::Failed)
        return s.state.statusMessage(StatusMessage::IniFileError);
    return {};
}
