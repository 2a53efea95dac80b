#pragma once

#include <QObject>

class Station;

// Language switching, the ancillary windows, help and the version check: wires its handlers to the station's windows.
class InterfaceSubsystem : public QObject
{
    Q_OBJECT
public:
    explicit InterfaceSubsystem(Station &station);

private:
    Station &m_station;
};
