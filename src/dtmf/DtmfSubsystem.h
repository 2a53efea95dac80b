#pragma once

#include <QObject>

class Station;

// DTMF code table editor and interpreter: wires its handlers to the station's windows.
class DtmfSubsystem : public QObject
{
    Q_OBJECT
public:
    explicit DtmfSubsystem(Station &station);

private:
    Station &m_station;
};
