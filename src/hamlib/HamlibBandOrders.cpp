#include "hamlib/HamlibBandOrders.h"

#include <hamlib/rig.h>

namespace HamlibBandOrders {

namespace {

QByteArray withBand(const char *name, int band)
{
    return QByteArray(name) + ' ' + QByteArray::number(band);
}

bool isNumber(const QByteArray &text)
{
    if (text.isEmpty())
        return false;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

} // namespace

bool applies(int model)
{
    return model == RIG_MODEL_TMD710 || model == RIG_MODEL_TMV71;
}

QByteArray unkey(int model)
{
    if (applies(model) || model == RIG_MODEL_TMD700)
        return QByteArrayLiteral("RX\r");
    return {};
}

QByteArray bandsQuery()
{
    return QByteArrayLiteral("BC");
}

QByteArray selectBand(int band)
{
    return withBand("BC", band) + ',' + QByteArray::number(band);
}

QByteArray modeQuery(int band)
{
    return withBand("VM", band);
}

QByteArray setMode(int band, bool memory)
{
    return withBand("VM", band) + (memory ? ",1" : ",0");
}

QByteArray channelQuery(int band)
{
    return withBand("MR", band);
}

QByteArray setChannel(int band, int channel)
{
    return withBand("MR", band) + ',' + QByteArray::number(channel).rightJustified(3, '0');
}

QByteArray powerQuery(int band)
{
    return withBand("PC", band);
}

QByteArray setPower(int band, int position)
{
    return withBand("PC", band) + ',' + QByteArray::number(position);
}

QByteArray vfoQuery(int band)
{
    return withBand("FO", band);
}

std::optional<QList<QByteArray>> fields(const QByteArray &command, const QByteArray &reply)
{
    const qsizetype space = command.indexOf(' ');
    const QByteArray name = space < 0 ? command : command.left(space);
    if (!reply.startsWith(name + ' '))
        return std::nullopt;
    const QList<QByteArray> out = reply.mid(name.size() + 1).split(',');
    for (const QByteArray &field : out) {
        if (!isNumber(field))
            return std::nullopt;
    }
    // A band's command is answered for that band.
    if (space >= 0 && out.first() != command.mid(space + 1).split(',').first())
        return std::nullopt;
    return out;
}

std::optional<Vfo> vfo(const QList<QByteArray> &fields)
{
    if (fields.size() < 12)
        return std::nullopt;
    Vfo out;
    out.hertz = fields.at(1).toLongLong();
    const int shift = fields.at(3).toInt();
    out.direction = shift == 1 ? 1 : shift == 2 ? -1 : 0;
    out.offsetHz = fields.at(11).toLongLong();
    return out;
}

} // namespace HamlibBandOrders
