#pragma once

#include "core/ConfigValues.h"
#include "core/LanguageTexts.h"
#include "core/StationState.h"

#include <QStringList>
#include <functional>
#include <optional>

class QWidget;
class DtmfCodeList;
class RadioSelector;
class RadioState;
class ServerWindowSettings;
class GenericTxWindowSettings;
class WarningWindowSettings;
struct SerialPortSettings;
struct TcpClientSettings;
struct HamlibSettings;
struct LineSettings;
struct WebSettings;

// What the configuration file reads and writes. The dialogs' settings are kept in their controls:
// reading sets them (with their usual side effects), saving reads them back.
struct ConfigBinding
{
    StationState *state;
    SerialPortSettings *ComPortTX;
    TcpClientSettings *IdTCPClient;
    QWidget *Form1;

    std::function<void(Language)> chooseLanguage;              // as the Language menu does
    std::function<void(StationState::BandChoice)> chooseBands; // TX=A, TX=B at start-up
    std::function<void(bool)> chooseVersionCheck; // VERSTART=, as the Info menu's item does
    // A band's power position as the panel shows it (it may wait for its turn to reach the
    // radio); nothing while no radio or operator has set one, and PWRA=/PWRB= are kept as read.
    std::function<std::optional<int>(int band)> shownPower;
    DtmfCodeList *dtmfCodes;
    ServerWindowSettings *server;
    WarningWindowSettings *warning;
    GenericTxWindowSettings *tx16;
    RadioState *channels; // the generic transmitter's channel list, its memories
    HamlibSettings *hamlib = nullptr;
    LineSettings *lines = nullptr;
    const RadioSelector *radios = nullptr; // the model in use, saved as MODEL=
    WebSettings *web = nullptr;            // WEB=, WEBPASSWORD=
};

namespace ConfigFile {

// Applies every line in file order.
void apply(const ConfigBinding &b, const QStringList &lines);

// The whole file as the save writes it, header first.
QStringList build(const ConfigBinding &b);

enum class SaveResult { Saved, Failed };

// Writes the configuration in `directory`: the new file goes to "Ivrelane.~in" and is renamed
// over "Ivrelane.ini" in one step, so a failure at any point leaves a complete file behind.
SaveResult save(const ConfigBinding &b, const QString &directory);

} // namespace ConfigFile
