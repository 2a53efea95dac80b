#include "dtmf/DtmfSubsystem.h"

#include "app/Station.h"

DtmfSubsystem::DtmfSubsystem(Station &station) : m_station(station) {}
