#pragma once

#include <QString>

struct StationConfiguration;

// Whether the configured radio can be reached, asked the way that changes nothing: a Kenwood is
// asked its model ("ID", never a keying), a Hamlib radio is opened and its frequency read
// without the unkey a station sends, and the generic transmitter, which never replies, has its
// lines' device opened without a write.
namespace RadioProbe {

struct Answer
{
    bool reached = false;
    QString text; // what answered, or why nothing did, in one line
};

Answer ask(const StationConfiguration &configuration);

} // namespace RadioProbe
