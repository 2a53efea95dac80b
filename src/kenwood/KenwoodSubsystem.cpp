#include "kenwood/KenwoodSubsystem.h"

#include "app/Station.h"

KenwoodSubsystem::KenwoodSubsystem(Station &station) : m_station(station) {}
