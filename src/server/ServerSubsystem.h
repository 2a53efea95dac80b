#pragma once

#include <QObject>

class Station;

// Relay server link: wires its handlers to the station's windows.
class ServerSubsystem : public QObject
{
    Q_OBJECT
public:
    explicit ServerSubsystem(Station &station);

private:
    Station &m_station;
};
