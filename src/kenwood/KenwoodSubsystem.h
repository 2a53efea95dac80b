#pragma once

#include <QObject>

class Station;

// Kenwood transceiver control: wires its handlers to the station's windows.
class KenwoodSubsystem : public QObject
{
    Q_OBJECT
public:
    explicit KenwoodSubsystem(Station &station);

private:
    Station &m_station;
};
