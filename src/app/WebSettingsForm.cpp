#include "app/WebSettingsForm.h"

#include "app/HamlibWiring.h"
#include "app/InterfaceWiring.h"
#include "app/KenwoodWiring.h"
#include "app/ServerWiring.h"
#include "app/Station.h"
#include "hamlib/HamlibConfigKeys.h"
#include "hamlib/HamlibModelList.h"
#include "hamlib/HamlibRadio.h"
#include "hamlib/HamlibTexts.h"
#include "platform/SerialPortList.h"
#include "radio/TransmitTimeout.h"
#include "server/ServerAddress.h"
#include "service/ConfigCheck.h"
#include "ui/HamlibSettingsWindow.h"
#include "ui/ServerWindowSettings.h"

#include <QDir>
#include <QJsonArray>

#include <optional>

namespace {

// Hamlib's model, port and speed, checked as the Hamlib window checks what was typed.
std::optional<HamlibSettings> checkedHamlib(const QJsonObject &json, const HamlibSettings &current,
                                            QString *refusal)
{
    const auto text = [&](const char *key, const QString &was) {
        const QJsonValue value = json.value(QLatin1String(key));
        return value.isString() ? value.toString().trimmed() : was;
    };
    HamlibSettings chosen;
    const std::optional<int> model = HamlibConfigKeys::modelNumber(
        text("HAMLIBMODEL", current.model > 0 ? QString::number(current.model) : QString()));
    if (!model || *model <= 0) {
        *refusal =
            QStringLiteral("HAMLIBMODEL: a model number Hamlib knows (rigctl -l lists them)");
        return std::nullopt;
    }
    chosen.model = *model;
    const QString portText = text("HAMLIBPORT", current.port);
    if (chosen.model == HamlibSettingsWindow::RigctldModelNumber) {
        if (!HamlibTexts::rigctldAddress(portText)) {
            *refusal = QStringLiteral("HAMLIBPORT: rigctld's host or host:port (127.0.0.1:4532)");
            return std::nullopt;
        }
        chosen.port = portText;
        return chosen;
    }
    const std::optional<QString> port = HamlibConfigKeys::portSetting(portText);
    if (!port && !HamlibModelList::settingsComplete(chosen)) {
        *refusal = QStringLiteral("HAMLIBPORT: the radio's serial port");
        return std::nullopt;
    }
    if (port && HamlibModelList::portMissing(chosen.model, *port)) {
        *refusal = QStringLiteral("HAMLIBPORT: %1 does not exist on this machine").arg(*port);
        return std::nullopt;
    }
    const QString speedText =
        text("HAMLIBSPEED", current.speed > 0 ? QString::number(current.speed) : QString());
    const std::optional<int> speed = HamlibConfigKeys::serialSpeed(speedText);
    if (!speedText.isEmpty() && !speed) {
        *refusal = QStringLiteral("HAMLIBSPEED: a standard serial speed, or empty for the model's");
        return std::nullopt;
    }
    chosen.port = port.value_or(QString());
    chosen.speed = speed.value_or(0);
    return chosen;
}

} // namespace

QJsonObject WebSettingsForm::values() const
{
    const Station &s = m_station;
    const QJsonObject values{
        {QLatin1String("model"), s.radios.currentModel()},
        {QLatin1String("COM"), s.ComPortTX.portName},
        {QLatin1String("IPSERVER"), s.IdTCPClient.host},
        {QLatin1String("PORT"), QString::number(s.IdTCPClient.port)},
        {QLatin1String("CONNECT"), s.serverSettings->connectAtStart()},
        {QLatin1String("RECONNECT"), s.serverSettings->reconnect()},
        {QLatin1String("HAMLIBMODEL"), s.hamlib->radio().settings().model > 0
                                           ? QString::number(s.hamlib->radio().settings().model)
                                           : QString()},
        {QLatin1String("HAMLIBPORT"), s.hamlib->radio().settings().port},
        {QLatin1String("HAMLIBSPEED"), s.hamlib->radio().settings().speed > 0
                                           ? QString::number(s.hamlib->radio().settings().speed)
                                           : QString()},
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
QString WebSettingsForm::apply(const QJsonObject &settings)
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
    const QString language =
        text("LANGUAGE",
             s.state.language == Language::English ? QStringLiteral("E") : QStringLiteral("F"));
    if (language != QLatin1String("E") && language != QLatin1String("F"))
        return QStringLiteral("LANGUAGE: F or E");
    bool timeoutOk = false;
    const int timeout =
        text("TXTIMEOUT", QString::number(s.state.TxTimeoutSeconds)).toInt(&timeoutOk);
    if (!timeoutOk || timeout < 0 || timeout > TransmitTimeout::MaxSeconds)
        return QStringLiteral("TXTIMEOUT: 0 to %1").arg(TransmitTimeout::MaxSeconds);
    std::optional<HamlibSettings> hamlib;
    if (model == HamlibRadio::ModelName.toString()) {
        QString refusal;
        hamlib = checkedHamlib(settings, s.hamlib->radio().settings(), &refusal);
        if (!hamlib)
            return refusal;
    }
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
    // A model change is over only once the radio in use has been let go: saved again then.
    if (model != s.radios.currentModel()) {
        auto *once = new QObject(&s);
        QObject::connect(&s.radios, &RadioSelector::currentChanged, once, [&s, once] {
            QDir::setCurrent(s.directory());
            ConfigFile::save(s.configBinding(), s.directory());
            once->deleteLater();
        });
    }
    if (hamlib) {
        // As the Hamlib window's OK: the radio opened again with a change, or chosen.
        const HamlibSettings &was = s.hamlib->radio().settings();
        if (model != s.radios.currentModel() || hamlib->model != was.model ||
            hamlib->port != was.port || hamlib->speed != was.speed)
            s.hamlib->accept(*hamlib);
    } else if (model != s.radios.currentModel()) {
        s.chooseModel(model);
    }
    QDir::setCurrent(s.directory());
    if (ConfigFile::save(s.configBinding(), s.directory()) == ConfigFile::SaveResult::Failed)
        return s.state.statusMessage(StatusMessage::IniFileError);
    return {};
}
