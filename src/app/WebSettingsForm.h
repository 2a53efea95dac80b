#pragma once

#include <QJsonObject>
#include <QString>

class Station;

// The web page's settings form: what an unattended station needs (model, serial port, Hamlib's
// model, port and speed, server address and port, connect at start, reconnection, transmit
// time-out, language). Values are checked as the windows check them, all before any is taken,
// then applied as the Model and COM menus, the Hamlib window's OK, the server window's OK and
// the Language menu apply them, and the configuration is saved.
class WebSettingsForm
{
public:
    explicit WebSettingsForm(Station &station) : m_station(station) {}

    // {"values": {KEY: value}, "choices": {KEY: [...]}} as the form shows them.
    QJsonObject values() const;
    // The reason of a refusal (nothing changed then); empty when applied and saved.
    QString apply(const QJsonObject &settings);

private:
    Station &m_station;
};
