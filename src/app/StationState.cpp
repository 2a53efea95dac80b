#include "app/StationState.h"

std::array<QString, 16> StationState::initialStatusMessages()
{
    return {
        QString(),
        QStringLiteral("Pas de port sélectionné !"),
        QStringLiteral(" connecté à 9600 bds"),
        QStringLiteral("Initialsation en cours"),
        QStringLiteral(" erreur connexion"),
        QStringLiteral("ne répond pas"),
        QStringLiteral("réponse OK"),
        QStringLiteral("Initialisation terminée"),
        QStringLiteral("Erreur création fichier .ini"),
        QStringLiteral("Serveur connecté"),
        QStringLiteral("Serveur non connecté"),
        QStringLiteral("Liste des codes DTMF"),
        QStringLiteral("Liste des mémoires"),
        QStringLiteral("L'appareil n'est pas un TM-D700. Vérifiez le modèle choisi et le câble de "
                       "liaison série."),
        QStringLiteral("L'appareil n'est pas un TM-D710. Vérifiez le modèle choisi et le câble de "
                       "liaison série. Assurez-vous de l'utilisation du connecteur arrière du "
                       "TM-D710 et non du connecteur du panneau avant."),
        QStringLiteral("L'appareil n'est pas un TM-V71. Vérifiez le modèle choisi et le câble de "
                       "liaison série. Assurez-vous de l'utilisation du connecteur arrière du "
                       "TM-D710 et non du connecteur du panneau avant."),
    };
}
