#include "dtmf/DtmfCatalogue.h"

namespace DtmfCatalogue {

const QStringList DtmfActionsFr = {
    QStringLiteral("00= nil"),
    QStringLiteral("01= Commuter sur TXA (Kenwood)"),
    QStringLiteral("02= Commuter sur TXB (Kenwood)"),
    QStringLiteral("03= TXA en mode VFO (Kenwood)"),
    QStringLiteral("04= TXB en mode VFO (Kenwood)"),
    QStringLiteral("05= TXA en mode Mémoire précédente (Kenwood)"),
    QStringLiteral("06= TXB en mode Mémoire précédente  (Kenwood)"),
    QStringLiteral("07= Mémoire Nnn sur TXA (Kenwood)"),
    QStringLiteral("08= Mémoire Nnn sur TXB (Kenwood)"),
    QStringLiteral("09= Mode VFO sur TX actif (Kenwood)"),
    QStringLiteral("10= Mémoire Nnn sur TX actif (Tous)"),
    QStringLiteral("11= Fréquence Ffff sur TX actif (Tous)"),
    QStringLiteral("20= Puissance TXA Low  (Kenwood)"),
    QStringLiteral("21= Puissance TXA Medium (Kenwood)"),
    QStringLiteral("22= Puissance TXA High (Kenwood)"),
    QStringLiteral("23= Puissance TXB Low (Kenwood)"),
    QStringLiteral("24= Puissance TXB Medium (Kenwood)"),
    QStringLiteral("25= Puissance TXB High (Kenwood)"),
    QStringLiteral("26= TX en émission (Tous)"),
    QStringLiteral("27= TX en réception (Tous)"),
    QStringLiteral("30= Lancer le scanning (TMD700/Generic))"),
    QStringLiteral("31= Arrèter le scanning (TMD700/Generic)"),
    QStringLiteral("32= UP (Generic)"),
    QStringLiteral("33= DOWN (Generic)"),
    QStringLiteral("34= RESET (Generic)"),
    QStringLiteral("35= Option Balayage circulaire (Generic)"),
    QStringLiteral("36= Option Balayage ascenceur (Generic)"),
    QStringLiteral("40= Resynchronisation Up (generic)"),
    QStringLiteral("41= Resynchronisation Dn (generic)"),
    QStringLiteral("99= Initialisation/Sauvegarde"),
};

const QStringList DtmfActionsEn = {
    QStringLiteral("00= nil"),
    QStringLiteral("01= Switch to TXA (Kenwood)"),
    QStringLiteral("02= Switch to TXB (Kenwood)"),
    QStringLiteral("03= Switch TXA to VFO mode (Kenwood)"),
    QStringLiteral("04= Switch TXB to VFO mode (Kenwood)"),
    QStringLiteral("05= Switch TXA to last memory (Kenwood)"),
    QStringLiteral("06= Switch TXB to last memory (Kenwood)"),
    QStringLiteral("07= Switch TXA to memory #Nnn (Kenwood)"),
    QStringLiteral("08= Switch TXB to memory #Nnn (Kenwood)"),
    QStringLiteral("09= Switch active TX to VFO mode (Kenwood)"),
    QStringLiteral("10= Switch active TX to memory #Nnn (All)"),
    QStringLiteral("11= Switch active TX to frequency Ffff (All)"),
    QStringLiteral("20= Switch TXA power to Low (Kenwood)"),
    QStringLiteral("21= Switch TXA power to Medium (Kenwood)"),
    QStringLiteral("22= Switch TXA power to High (Kenwood)"),
    QStringLiteral("23= Switch TXB power to Low (Kenwood)"),
    QStringLiteral("24= Switch TXB power to Medium (Kenwood)"),
    QStringLiteral("25= Switch TXB power to High (Kenwood)"),
    QStringLiteral("26= TX in transmit mode (All)"),
    QStringLiteral("27= TX in receive mode (All)"),
    QStringLiteral("30= Start scanning (TMD700/Generic)"),
    QStringLiteral("31= Stop scanning (TMD700/Generic)"),
    QStringLiteral("32= UP (Generic)"),
    QStringLiteral("33= DOWN (Generic)"),
    QStringLiteral("34= RESET (Generic)"),
    QStringLiteral("35= Option : circular scanning (Generic)"),
    QStringLiteral("36= Option : Up/Down scanning (Generic)"),
    QStringLiteral("40= Resynchronisation Up (generic)"),
    QStringLiteral("41= Resynchronisation Dn (generic)"),
    QStringLiteral("99= Initialization/Save configuration "),
};

const QString DtmfListHeader = QStringLiteral(" [DTMF]");

const QString EntrySeparator = QStringLiteral(" : action ");

QString codeOf(const QString &entry)
{
    const qsizetype blank = entry.indexOf(QLatin1Char(' '));
    return blank > 0 ? entry.left(blank) : QString();
}

static std::optional<int> toInteger(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

std::optional<int> actionNumberOf(const QString &entry)
{
    static const QString marker = QStringLiteral("action ");
    const qsizetype at = entry.indexOf(marker);
    const qsizetype equals = entry.indexOf(QLatin1Char('='));
    if (at < 0 || equals < 0)
        return std::nullopt;
    const qsizetype start = at + marker.size();
    if (equals < start)
        return std::nullopt;
    return toInteger(entry.mid(start, equals - start));
}

std::optional<int> actionNumberOfText(const QString &actionText)
{
    const qsizetype equals = actionText.indexOf(QLatin1Char('='));
    if (equals < 0)
        return std::nullopt;
    return toInteger(actionText.left(equals));
}

QString entryText(const QString &code, const QString &actionText)
{
    return code + EntrySeparator + actionText;
}

} // namespace DtmfCatalogue
