#include "app/InterfaceSubsystem.h"

#include "app/Station.h"

InterfaceSubsystem::InterfaceSubsystem(Station &station) : m_station(station) {}
