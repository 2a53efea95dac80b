#include "core/LanguageTexts.h"

namespace {

// The comment on each row names the kind of control that receives it. Menus and items, buttons
// and group boxes resolve "&&" themselves; a plain label gets its text through withoutMnemonics.
const QList<CaptionRow> &frenchCaptions()
{
    static const QList<CaptionRow> rows = {
        // Main window
        {"TForm1", "menuaide", "text", "Aide"}, // QAction
        {"TForm1", "MenuInfoVersion", "text",   // QAction
         "Voir si une version plus récente existe au démarrage d'Ivrelane"},
        {"TForm1", "MenuTX16UD", "text", "Générique Up/Down"},                    // QAction
        {"TForm1", "MenuFichier", "title", "Fichier"},                            // QMenu
        {"TForm1", "MenuChoixTX", "title", "Bande"},                              // QMenu
        {"TForm1", "MenuChoixTXA", "text", "Bande A"},                            // QAction
        {"TForm1", "MenuChoixTXB", "text", "Bande B"},                            // QAction
        {"TForm1", "MenuChoixTXAB", "text", "Bande active"},                      // QAction
        {"TForm1", "MenuModele", "title", "Modèle"},                              // QMenu
        {"TForm1", "MenuLangue", "title", "Langue"},                              // QMenu
        {"TForm1", "Label1", "text", "Mémoires disponibles"},                     // QLabel
        {"TForm1", "Label14", "text", "Canaux && fréquences utilisées :   1 à "}, // QLabel
        {"TForm1", "MenuSaveDTMF", "text", "Enregistrer codes DTMF et mémoires"}, // QAction
        {"TForm1", "MenuQuitter", "text", "Quitter"},                             // QAction
        {"TForm1", "MenuSave", "text", "Sauvegarder configuration"},              // QAction
        // Warning window
        {"TFormWarning", "TFormWarning", "windowTitle", "IVRELANETMD700 - ALARME !"}, // window
        {"TFormWarning", "CheckBoxWarning", "text",                                   // QCheckBox
         "A l'avenir, ne plus me montrer cer avertissement"},
        {"TFormWarning", "StaticText1", "text", // QLabel
         "Attention, cette version ne fonctionne qu'avec la version 1.8.3 et suivantes de "
         "QUORVEL"},
        // Generic transmitter setup
        {"TFormInitTX16", "LabelNombreCanaux", "text", "Nombre de canaux du TX"},       // QLabel
        {"TFormInitTX16", "LabelCanalReset", "text", "Canal de base"},                  // QLabel
        {"TFormInitTX16", "LabelTempoCmd", "text", "Période du scanning"},              // QLabel
        {"TFormInitTX16", "Label2", "text", "Câblages des signaux LPT (masse=pin 25)"}, // QLabel
        {"TFormInitTX16", "Label1", "text", "Liste des mémoires"},                      // QLabel
        {"TFormInitTX16", "LabelHexa", "text", "hexa, ex. 378 ou 0378"},                // QLabel
        {"TFormInitTX16", "CheckBoxOptiTX16", "text",                                   // QCheckBox
         "Scanning circulaire sur les canaux utilisés (sinon coché scanning ascenceur)"},
        {"TFormInitTX16", "GroupBoxLines", "title", "Lignes de commande"},  // QGroupBox
        {"TFormInitTX16", "RadioButtonLinesLPT", "text", "Port parallèle"}, // QRadioButton
        {"TFormInitTX16", "RadioButtonLinesCM108", "text",                  // QRadioButton
         "Interface audio USB (CM108/CM119)"},
        {"TFormInitTX16", "RadioButtonLinesGPIO", "text", "Puce GPIO"}, // QRadioButton
        {"TFormInitTX16", "LabelLinesDevice", "text", "Périphérique"},  // QLabel
        {"TFormInitTX16", "LabelLinesMap", "text", "Broches UP,DOWN,RESET,PTT,SQUELCH"}, // QLabel
        {"TFormInitTX16", "LabelLinesMapHint", "text",                                   // QLabel
         "ex. 1,2,4,3,VOLDN ou 17,27,22,23,24"},
        // Server window
        {"TFormIP", "LabelIP", "text", "IP Serveur"},                        // QLabel
        {"TFormIP", "LabelPort", "text", "Port ="},                          // QLabel
        {"TFormIP", "CheckBoxConnect", "text", "Se connecter au démarrage"}, // QCheckBox
        {"TFormIP", "CheckBoxReconnect", "text", "Reconnexion automatique"}, // QCheckBox
        {"TFormIP", "LabelTxTimeout", "text", "Durée max. d'émission (s)"},  // QLabel
        {"TFormIP", "ButtonConnect", "text", "Connecter IP"},                // QPushButton
        {"TFormIP", "ButtonDisconnect", "text", "Déconnecter"},              // QPushButton
        {"TFormIP", "GroupBoxTXRXchannel", "title", "Interface PC / TM-D7"}, // QGroupBox
        {"TFormIP", "RadioButtonLeft", "text",
         "TM-D7 transmet le canal audio gauche"}, // QRadioButton
        {"TFormIP", "RadioButtonRight", "text",
         "TM-D7 transmet le canal audio droit"}, // QRadioButton
        {"TFormIP", "RadioButtonBoth", "text",
         "TM-D7 transmet les deux canaux audio"}, // QRadioButton
        // DTMF code window
        {"TFormDTMF", "Label1", "text",
         "Liste de vos codes DTMF et actions correspondantes"}, // QLabel
        {"TFormDTMF", "LabelCodeDTMF", "text",                  // QLabel
         "Entrez votre code, choisissez une action et valider par Ajouter"},
        {"TFormDTMF", "GroupBoxCodeDTMF", "title", "Code DTMF"}, // QGroupBox
        {"TFormDTMF", "BitBtnOKCodeDTMF", "text", "Ajouter"},    // QPushButton
        // Memory count dialog
        {"TFormMEM", "Label1", "text", "Mémoires à lire : 1 à"}, // QLabel
        // Hamlib settings window
        {"TFormHamlib", "LabelModel", "text", "Modèle de la radio (Hamlib)"}, // QLabel
        {"TFormHamlib", "LabelSearch", "text", "Rechercher"},                 // QLabel
        {"TFormHamlib", "RadioButtonSerial", "text", "Port série"},           // QRadioButton
        {"TFormHamlib", "LabelSpeed", "text", "Vitesse (bauds)"},             // QLabel
        {"TFormHamlib", "RadioButtonRigctld", "text",
         "rigctld déjà lancé (hôte:port)"},                 // QRadioButton
        {"TFormHamlib", "ButtonCancel", "text", "Annuler"}, // QPushButton
    };
    return rows;
}

const QList<CaptionRow> &englishCaptions()
{
    static const QList<CaptionRow> rows = {
        // Main window
        {"TForm1", "menuaide", "text", "Help"}, // QAction
        {"TForm1", "MenuInfoVersion", "text",   // QAction
         "Check if a new release is available when staring Ivrelane"},
        {"TForm1", "MenuTX16UD", "text", "Generic Up/Down"},                     // QAction
        {"TForm1", "MenuFichier", "title", "File"},                              // QMenu
        {"TForm1", "MenuChoixTX", "title", "Band"},                              // QMenu
        {"TForm1", "MenuChoixTXA", "text", "Band A"},                            // QAction
        {"TForm1", "MenuChoixTXB", "text", "Band B"},                            // QAction
        {"TForm1", "MenuChoixTXAB", "text", "Active band"},                      // QAction
        {"TForm1", "MenuModele", "title", "Model"},                              // QMenu
        {"TForm1", "MenuLangue", "title", "Language"},                           // QMenu
        {"TForm1", "Label1", "text", "Available memories"},                      // QLabel
        {"TForm1", "Label14", "text", "Used channels && frequencies :   1 to "}, // QLabel
        {"TForm1", "MenuSaveDTMF", "text", "Save DTMF codes and memories"},      // QAction
        {"TForm1", "MenuQuitter", "text", "Quit"},                               // QAction
        {"TForm1", "MenuSave", "text", "Save configuration"},                    // QAction
        // Warning window
        {"TFormWarning", "TFormWarning", "windowTitle", "IVRELANETMD700 - WARNING !"}, // window
        {"TFormWarning", "CheckBoxWarning", "text",
         "Dont't show this warning next time"}, // QCheckBox
        {"TFormWarning", "StaticText1", "text", // QLabel
         "Caution ! This release is compatible with release 1.8.3 and next of QUORVEL"},
        // Generic transmitter setup
        {"TFormInitTX16", "LabelNombreCanaux", "text", "TX channel number"},    // QLabel
        {"TFormInitTX16", "LabelCanalReset", "text", "Default channel"},        // QLabel
        {"TFormInitTX16", "LabelTempoCmd", "text", "Scanning period"},          // QLabel
        {"TFormInitTX16", "Label2", "text", "LPT pin cabling (ground=pin 25)"}, // QLabel
        {"TFormInitTX16", "Label1", "text", "List of memories"},                // QLabel
        {"TFormInitTX16", "LabelHexa", "text", "hex, e.g. 378 or 0378"},        // QLabel
        {"TFormInitTX16", "CheckBoxOptiTX16", "text",                           // QCheckBox
         "Rolling scanning on the used channels        (if not checked, up/down scanning)"},
        {"TFormInitTX16", "GroupBoxLines", "title", "Control lines"},      // QGroupBox
        {"TFormInitTX16", "RadioButtonLinesLPT", "text", "Parallel port"}, // QRadioButton
        {"TFormInitTX16", "RadioButtonLinesCM108", "text",                 // QRadioButton
         "USB audio interface (CM108/CM119)"},
        {"TFormInitTX16", "RadioButtonLinesGPIO", "text", "GPIO chip"}, // QRadioButton
        {"TFormInitTX16", "LabelLinesDevice", "text", "Device"},        // QLabel
        {"TFormInitTX16", "LabelLinesMap", "text", "Pins UP,DOWN,RESET,PTT,SQUELCH"}, // QLabel
        {"TFormInitTX16", "LabelLinesMapHint", "text",                                // QLabel
         "e.g. 1,2,4,3,VOLDN or 17,27,22,23,24"},
        // Server window
        {"TFormIP", "LabelIP", "text", "Server IP"},                         // QLabel
        {"TFormIP", "LabelPort", "text", "Port ="},                          // QLabel
        {"TFormIP", "CheckBoxConnect", "text", "Connect when starting"},     // QCheckBox
        {"TFormIP", "CheckBoxReconnect", "text", "Reconnect automatically"}, // QCheckBox
        {"TFormIP", "LabelTxTimeout", "text", "Transmit time-out (s)"},      // QLabel
        {"TFormIP", "ButtonConnect", "text", "Connect IP"},                  // QPushButton
        {"TFormIP", "ButtonDisconnect", "text", "Disconnect"},               // QPushButton
        {"TFormIP", "GroupBoxTXRXchannel", "title", "PC / TM-D7 Interface"}, // QGroupBox
        {"TFormIP", "RadioButtonLeft", "text",
         "TM-D7 transmits left audio channel"}, // QRadioButton
        {"TFormIP", "RadioButtonRight", "text",
         "TM-D7 transmits right audio channel"}, // QRadioButton
        {"TFormIP", "RadioButtonBoth", "text",
         "TM-D7 transmits both audio channels"}, // QRadioButton
        // DTMF code window
        {"TFormDTMF", "Label1", "text", "List of your DTMF codes and associated actions"}, // QLabel
        {"TFormDTMF", "LabelCodeDTMF", "text",                                             // QLabel
         "Enter your code, choose an action and validate with Add"},
        {"TFormDTMF", "GroupBoxCodeDTMF", "title", "DTMF code"}, // QGroupBox
        {"TFormDTMF", "BitBtnOKCodeDTMF", "text", "Add"},        // QPushButton
        // Memory count dialog
        {"TFormMEM", "Label1", "text", "Memories to be read : 1 to"}, // QLabel
        // Hamlib settings window
        {"TFormHamlib", "LabelModel", "text", "Radio model (Hamlib)"}, // QLabel
        {"TFormHamlib", "LabelSearch", "text", "Search"},              // QLabel
        {"TFormHamlib", "RadioButtonSerial", "text", "Serial port"},   // QRadioButton
        {"TFormHamlib", "LabelSpeed", "text", "Speed (baud)"},         // QLabel
        {"TFormHamlib", "RadioButtonRigctld", "text",
         "rigctld already running (host:port)"},           // QRadioButton
        {"TFormHamlib", "ButtonCancel", "text", "Cancel"}, // QPushButton
    };
    return rows;
}

} // namespace

const QList<CaptionRow> &captionTable(Language language)
{
    return language == Language::English ? englishCaptions() : frenchCaptions();
}

std::array<QString, 16> statusMessages(Language language)
{
    if (language == Language::English) {
        return {
            QString(),
            QStringLiteral("No COM port is selected !"),
            QStringLiteral(" opened at 9600 bds"),
            QStringLiteral("Initializing..."),
            QStringLiteral(" COM opening error"),
            QStringLiteral("does not answer"),
            QStringLiteral("answers OK"),
            QStringLiteral("Initialization completed"),
            QStringLiteral("Error when creating ini file"),
            QStringLiteral("Server is connected"),
            QStringLiteral("Server not connected"),
            QStringLiteral("List of DTMF codes"),
            QStringLiteral("List of memories"),
            QStringLiteral(
                "The rig is not a TM-D700. Verify the choosen model and the serial connection."),
            QStringLiteral("The rig is not a TM-D710. Verify the choosen model and the serial "
                           "connection. Be sure that you use the back connector of the TM-D710 "
                           "and not the panel connector."),
            QStringLiteral("The rig is not a TM-V71. Verify the choosen model and the serial "
                           "connection. Be sure that you use the back connector of the TM-D710 "
                           "and not the panel connector."),
        };
    }
    return {
        QString(),
        QStringLiteral("Pas de port COM sélectionné !"),
        QStringLiteral(" ouvert à 9600 bds"),
        QStringLiteral("Initialisation en cours"),
        QStringLiteral(" erreur ouverture COM"),
        QStringLiteral("ne répond pas"),
        QStringLiteral("réponse OK"),
        QStringLiteral("Initialisation terminée"),
        QStringLiteral("Erreur création fichier ini"),
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

QString messageText(Language language, MessageId id)
{
    const bool english = language == Language::English;
    switch (id) {
    case MessageId::DtmfCodeExists:
        return english
                   ? QStringLiteral("This DTMF code already exists ! Do you want to replace it ?")
                   : QStringLiteral("Ce code DTMF existe dèjà ! Voulez-vous le remplacer ?");
    case MessageId::DtmfExistingCodeStartsAlike:
        return english
                   ? QStringLiteral("An existing code starts with the same characters as this new "
                                    "code !")
                   : QStringLiteral("Un code existant commence par les mêmes caractères que ce "
                                    "nouveau code !");
    case MessageId::DtmfNewCodeStartsAlike:
        return english
                   ? QStringLiteral("The beginning of this code is that one of an existing code !")
                   : QStringLiteral("Le début de ce code est celui d'un code existant !");
    case MessageId::HelpNotOpened:
        return english ? QStringLiteral("No program could open the help page. Its file: ")
                       : QStringLiteral("Aucun programme n'a pu ouvrir la page d'aide. Son "
                                        "fichier : ");
    case MessageId::SettingsNotSaved:
        return english ? QStringLiteral("Settings will not be saved (read-only folder)")
                       : QStringLiteral("Réglages non sauvegardés (dossier en lecture seule)");
    case MessageId::LptPortMissing:
        return english ? QStringLiteral("none") : QStringLiteral("aucun");
    case MessageId::LinesDeviceMissing:
        return english ? QStringLiteral("Choose the device of the control lines")
                       : QStringLiteral("Choisissez le périphérique des lignes de commande");
    case MessageId::LinesMapError:
        return english
                   ? QStringLiteral("Pins: UP,DOWN,RESET,PTT,SQUELCH, each once, \"-\" if not "
                                    "wired (e.g. 1,2,4,3,VOLDN or 17,27,22,23,24)")
                   : QStringLiteral("Broches : UP,DOWN,RESET,PTT,SQUELCH, chacune une fois, "
                                    "\"-\" si non câblée (ex. 1,2,4,3,VOLDN ou 17,27,22,23,24)");
    // The messages below read the same in both languages.
    case MessageId::DtmfCodeMustEndIn01:
        return QStringLiteral("Le code doit se terminer par 0 ou 1 !");
    case MessageId::DtmfCodeMustEndIn45:
        return QStringLiteral("Le code doit se terminer par 4 ou 5 !");
    case MessageId::ServerFormatError:
        return QStringLiteral("Erreur format !");
    case MessageId::LptNotChosen:
        return QStringLiteral("LPT ?");
    case MessageId::ChannelRowFormatError:
        return QStringLiteral("Err. Format");
    case MessageId::LptNumberError:
        return QStringLiteral("LPT num error");
    }
    return QString();
}

QString withoutMnemonics(const QString &caption)
{
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&') && i + 1 < caption.size())
            ++i; // "&&" keeps the second "&"; "&x" keeps just "x"
        shown += caption.at(i);
    }
    return shown;
}
