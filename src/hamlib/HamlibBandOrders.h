#pragma once

#include <QByteArray>
#include <QList>
#include <optional>

// The TM-D710 and TM-V71 take per-band orders (the control and transmit bands, a band's VFO or
// memory mode, its channel and its power) that Hamlib's description of them lacks: it reaches
// band B only by putting it in VFO mode and moving the transmit band there. These are the
// radio's own commands and replies, sent through Hamlib's raw call on the port Hamlib holds.
// Pure functions; bands are 0 (A) and 1 (B).
namespace HamlibBandOrders {

// Whether Hamlib's model `model` is one of these radios.
bool applies(int model);

// The radio's own unkey as it goes on the line ("RX" and its carriage return) for the Kenwood
// mobiles that take it; empty for any other model.
QByteArray unkey(int model);

QByteArray bandsQuery();                     // "BC"
QByteArray selectBand(int band);             // "BC b,b": control and transmit on the band
QByteArray modeQuery(int band);              // "VM b"
QByteArray setMode(int band, bool memory);   // "VM b,0" or "VM b,1"
QByteArray channelQuery(int band);           // "MR b"
QByteArray setChannel(int band, int channel); // "MR b,ccc"
QByteArray powerQuery(int band);             // "PC b"
QByteArray setPower(int band, int position); // "PC b,p": 0 high, 1 medium, 2 low
QByteArray vfoQuery(int band);               // "FO b"

// The reply's fields after the command's name ("VM 1,1" to "1", "1"), when `reply` is the
// reply to `command` (the same name and, for a band's command, the same band); nothing for
// another reply, "N" or "?".
std::optional<QList<QByteArray>> fields(const QByteArray &command, const QByteArray &reply);

// A band's VFO record ("FO b,ffffffffff,step,shift,...,offset,mode"): its frequency and
// repeater shift (+1, -1 or 0) and offset, in hertz.
struct Vfo
{
    qint64 hertz = 0;
    int direction = 0;
    qint64 offsetHz = 0;
};
std::optional<Vfo> vfo(const QList<QByteArray> &fields);

} // namespace HamlibBandOrders
