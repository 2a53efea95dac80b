#include "kenwood/KenwoodCommands.h"

namespace Kenwood {

namespace {

QChar bandDigit(int band)
{
    return band == 1 ? QLatin1Char('1') : QLatin1Char('0');
}

bool isTmd700(Model model)
{
    return model == Model::TMD700;
}

} // namespace

QString memoryNumberText(int channel)
{
    return QString::number(channel).rightJustified(3, QLatin1Char('0'));
}

QString memoryReadCommand(int channel, Model model)
{
    return (isTmd700(model) ? QStringLiteral("MR 0,0,") : QStringLiteral("ME ")) +
           memoryNumberText(channel);
}

QString bandSelectCommand(int band)
{
    return QStringLiteral("BC %1,%1").arg(bandDigit(band));
}

QString vfoReadCommand(int band, QStringView vfoRange, Model model)
{
    if (isTmd700(model))
        return QStringLiteral("VR ") + vfoRange.toString();
    return QStringLiteral("FO ") + bandDigit(band);
}

QString modeQueryCommand(int band, Model model)
{
    return (isTmd700(model) ? QStringLiteral("VMC ") : QStringLiteral("VM ")) + bandDigit(band);
}

QString vfoModeCommand(int band, Model model)
{
    return modeQueryCommand(band, model) + QStringLiteral(",0");
}

QString memoryModeCommand(int band, Model model)
{
    return modeQueryCommand(band, model) +
           (isTmd700(model) ? QStringLiteral(",2") : QStringLiteral(",1"));
}

QString selectMemoryCommand(int band, QStringView channel, Model model)
{
    return channelQueryCommand(band, model) + QLatin1Char(',') + channel.toString();
}

QString channelQueryCommand(int band, Model model)
{
    return (isTmd700(model) ? QStringLiteral("MC ") : QStringLiteral("MR ")) + bandDigit(band);
}

QString powerQueryCommand(int band)
{
    return QStringLiteral("PC ") + bandDigit(band);
}

QString powerSetCommand(int band, int level)
{
    return powerQueryCommand(band) + QLatin1Char(',') + QString::number(level);
}

} // namespace Kenwood
