#include "web/WebTexts.h"

#include <array>

namespace WebTexts {

namespace {

struct Row
{
    const char *key;
    const char *french;
    const char *english;
};

// clang-format off
constexpr std::array Rows{
    Row{"title", "Station Ivrelane", "Ivrelane station"},
    Row{"radio", "Radio", "Radio"},
    Row{"model", "Modèle", "Model"},
    Row{"port", "Port", "Port"},
    Row{"answers", "Répond", "Answers"},
    Row{"yes", "oui", "yes"},
    Row{"no", "non", "no"},
    Row{"unknown", "—", "—"},
    Row{"transmitting", "Émission", "Transmitting"},
    Row{"since", "depuis", "since"},
    Row{"band", "Bande", "Band"},
    Row{"mode", "Mode", "Mode"},
    Row{"frequency", "Fréquence", "Frequency"},
    Row{"power", "Puissance", "Power"},
    Row{"server", "Serveur", "Server"},
    Row{"address", "Adresse", "Address"},
    Row{"connected", "Connecté", "Connected"},
    Row{"counters", "Compteurs", "Counters"},
    Row{"keyings", "Passages en émission", "Keyings"},
    Row{"transmitSeconds", "Durée d'émission (s)", "Transmit time (s)"},
    Row{"transmitTimeouts", "Durées max. dépassées", "Transmit time-outs"},
    Row{"radioFaults", "Défauts radio", "Radio faults"},
    Row{"portLosses", "Pertes de port", "Port losses"},
    Row{"serverReconnections", "Reconnexions serveur", "Server reconnections"},
    Row{"requestsDropped", "Demandes abandonnées", "Requests dropped"},
    Row{"log", "Journal", "Log"},
    Row{"controls", "Commandes", "Controls"},
    Row{"password", "Mot de passe", "Password"},
    Row{"login", "Connexion", "Log in"},
    Row{"logout", "Déconnexion", "Log out"},
    Row{"wrongPassword", "Mot de passe incorrect", "Wrong password"},
    Row{"wait", "Patientez avant un nouvel essai", "Wait before trying again"},
    Row{"receive", "RÉCEPTION", "RECEIVE"},
    Row{"testTransmit", "Essai d'émission", "Test keying"},
    Row{"init", "INIT", "INIT"},
    Row{"memory", "Mémoire", "Memory"},
    Row{"refused", "Refusé", "Refused"},
    Row{"offline", "Liaison avec la station perdue", "Connection to the station lost"},
    Row{"noPassword",
        "Page en lecture seule. Pour activer les commandes : ivrelane --web-password --folder DOSSIER, puis redémarrer la station.",
        "Read-only page. To enable the controls: ivrelane --web-password --folder DIR, then restart the station."},
    Row{"settings", "Réglages", "Settings"},
    Row{"save", "Enregistrer", "Save"},
    Row{"saved", "Réglages enregistrés", "Settings saved"},
    Row{"serialPort", "Port série", "Serial port"},
    Row{"hamlibModel", "Modèle Hamlib", "Hamlib model"},
    Row{"hamlibPort", "Port Hamlib", "Hamlib port"},
    Row{"hamlibSpeed", "Vitesse Hamlib", "Hamlib speed"},
    Row{"lines", "Lignes de commande", "Control lines"},
    Row{"linesDevice", "Périphérique des lignes", "Lines device"},
    Row{"linesMap", "Broches UP,DOWN,RESET,PTT,SQUELCH", "Pins UP,DOWN,RESET,PTT,SQUELCH"},
    Row{"serverAddress", "Adresse du serveur", "Server address"},
    Row{"serverPort", "Port du serveur", "Server port"},
    Row{"connectAtStart", "Se connecter au démarrage", "Connect when starting"},
    Row{"reconnect", "Reconnexion automatique", "Reconnect automatically"},
    Row{"txTimeout", "Durée max. d'émission (s)", "Transmit time-out (s)"},
    Row{"language", "Langue", "Language"},
};
// clang-format on

} // namespace

QJsonObject table(Language language)
{
    QJsonObject texts;
    for (const Row &row : Rows)
        texts[QLatin1String(row.key)] =
            QString::fromUtf8(language == Language::English ? row.english : row.french);
    return texts;
}

QString text(Language language, const char *key)
{
    for (const Row &row : Rows) {
        if (qstrcmp(row.key, key) == 0)
            return QString::fromUtf8(language == Language::English ? row.english : row.french);
    }
    return {};
}

} // namespace WebTexts
