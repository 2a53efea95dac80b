#pragma once

#include <QString>
#include <array>

class ParallelPort;

// Base addresses of LPT1..LPT3, kept as four upper-case hexadecimal digits ("0000" for none),
// and the texts the setup dialog and the main window show for an address.
namespace PortDiscovery {
using AddressTexts = std::array<QString, 3>;
using Addresses = std::array<quint16, 3>;

AddressTexts initialTexts();

// Reads the kernel's parport records under procRoot: LPTn is parport(n-1). When the kernel
// lists no port at all (module not loaded), the previous texts are kept; otherwise every port
// starts from "0000" and takes the address found for it.
void discover(const QString &procRoot, AddressTexts &texts);
// Asks the port driver for LPT1..LPT3; a port it reports as 0 keeps its previous text.
void discoverFromDriver(ParallelPort &port, AddressTexts &texts);

// Hexadecimal text to an address: 1 to 4 hexadecimal digits, blanks around them allowed;
// 0 for anything else.
quint16 parseHexAddress(const QString &text);
Addresses addresses(const AddressTexts &texts);

// "0378" for 0x378.
QString hex4(quint16 address);
// Caption of a port choice, "0378h".
QString choiceCaption(quint16 address);
// The port at `address` for the log: "LPT1 (0378h)" when it is one of those found, "0378h"
// otherwise.
QString portDescription(const AddressTexts &found, quint16 address);
// Whether no port was found at all.
bool noneFound(const AddressTexts &found);
// Text shown once the port answers, "LPT 0378h OK".
QString portOkText(quint16 address);
} // namespace PortDiscovery
