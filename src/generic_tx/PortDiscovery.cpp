#include "generic_tx/PortDiscovery.h"

#include "platform/ParallelPort.h"
#include "platform/ParportProcInfo.h"

#include <algorithm>

namespace PortDiscovery {

AddressTexts initialTexts()
{
    const QString none = QStringLiteral("0000");
    return {none, none, none};
}

void discover(const QString &procRoot, AddressTexts &texts)
{
    const ParportProcInfo proc(procRoot);
    if (proc.portNumbers().isEmpty())
        return;
    texts = initialTexts();
    for (int n = 0; n < int(texts.size()); ++n) {
        const quint16 base = proc.baseAddress(n).value_or(0);
        if (base != 0)
            texts[n] = hex4(base);
    }
}

void discoverFromDriver(ParallelPort &port, AddressTexts &texts)
{
    for (int n = 0; n < int(texts.size()); ++n) {
        const quint16 base = port.GetLPTPortAddress(n + 1);
        if (base != 0)
            texts[n] = hex4(base);
    }
}

quint16 parseHexAddress(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || trimmed.size() > 4)
        return 0;
    for (QChar c : trimmed) {
        const char16_t u = c.unicode();
        const bool hexDigit =
            (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
        if (!hexDigit)
            return 0;
    }
    bool ok = false;
    const uint value = trimmed.toUInt(&ok, 16);
    return ok ? quint16(value) : 0;
}

Addresses addresses(const AddressTexts &texts)
{
    return {parseHexAddress(texts[0]), parseHexAddress(texts[1]), parseHexAddress(texts[2])};
}

QString hex4(quint16 address)
{
    return QStringLiteral("%1").arg(address, 4, 16, QLatin1Char('0')).toUpper();
}

QString choiceCaption(quint16 address)
{
    return hex4(address) + QLatin1Char('h');
}

QString portDescription(const AddressTexts &found, quint16 address)
{
    const Addresses bases = addresses(found);
    for (std::size_t n = 0; n < bases.size(); ++n) {
        if (address != 0 && bases[n] == address)
            return QStringLiteral("LPT%1 (%2)").arg(n + 1).arg(choiceCaption(address));
    }
    return choiceCaption(address);
}

bool noneFound(const AddressTexts &found)
{
    const Addresses bases = addresses(found);
    return std::all_of(bases.begin(), bases.end(), [](quint16 base) { return base == 0; });
}

QString portOkText(quint16 address)
{
    return QStringLiteral("LPT ") + hex4(address) + QStringLiteral("h OK");
}

} // namespace PortDiscovery
