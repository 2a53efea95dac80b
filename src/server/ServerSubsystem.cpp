#include "server/ServerSubsystem.h"

#include "app/Station.h"

ServerSubsystem::ServerSubsystem(Station &station) : m_station(station) {}
