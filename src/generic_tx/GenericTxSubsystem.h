#pragma once

#include <QObject>

class Station;

// Generic Up/Down transmitter: wires its handlers to the station's windows.
class GenericTxSubsystem : public QObject
{
    Q_OBJECT
public:
    explicit GenericTxSubsystem(Station &station);

private:
    Station &m_station;
};
