#include "generic_tx/GenericTxSubsystem.h"

#include "app/Station.h"

GenericTxSubsystem::GenericTxSubsystem(Station &station) : m_station(station) {}
