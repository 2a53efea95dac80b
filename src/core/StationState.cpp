#include "core/StationState.h"

#include "core/LanguageTexts.h"

// Until a language is chosen the texts are the French ones, except the first four and the
// eighth, which read differently before the first switch.
std::array<QString, 16> StationState::initialStatusMessages()
{
    std::array<QString, 16> messages = statusMessages(Language::French);
    messages[1] = QStringLiteral("Pas de port sélectionné !");
    messages[2] = QStringLiteral(" connecté à 9600 bds");
    messages[3] = QStringLiteral("Initialsation en cours");
    messages[4] = QStringLiteral(" erreur connexion");
    messages[8] = QStringLiteral("Erreur création fichier .ini");
    return messages;
}
