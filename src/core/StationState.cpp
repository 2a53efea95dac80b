#include "core/StationState.h"

#include "core/LanguageTexts.h"

// Until a language is chosen the texts are the French ones, except the first four and the
// eighth, which read differently before the first switch.
std::array<QString, 16> StationState::initialStatusMessages()
{
    std::array<QString, 16> messages = statusMessages(Language::French);
    messages[statusIndex(StatusMessage::NoPortSelected)] =
        QStringLiteral("Pas de port sélectionné !");
    messages[statusIndex(StatusMessage::PortOpened)] = QStringLiteral(" connecté à 9600 bds");
    messages[statusIndex(StatusMessage::Initialising)] = QStringLiteral("Initialsation en cours");
    messages[statusIndex(StatusMessage::PortOpenError)] = QStringLiteral(" erreur connexion");
    messages[statusIndex(StatusMessage::IniFileError)] =
        QStringLiteral("Erreur création fichier .ini");
    return messages;
}
