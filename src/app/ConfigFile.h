#pragma once

#include "core/LanguageTexts.h"
#include "core/StationState.h"

#include <QStringList>
#include <functional>

class QAction;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QSlider;
class QSpinBox;
class QWidget;
class DtmfCodeList;
class RadioSelector;
class RadioState;
struct SerialPortSettings;
struct TcpClientSettings;
struct HamlibSettings;
struct LineSettings;

// The controls and variables that the configuration file reads and writes. The controls are the
// settings' store: reading sets them (with their usual side effects), saving reads them back.
struct ConfigBinding
{
    StationState *state;
    SerialPortSettings *ComPortTX;
    TcpClientSettings *IdTCPClient;
    QWidget *Form1;

    std::function<void(Language)> chooseLanguage;              // as the Language menu does
    std::function<void(StationState::BandChoice)> chooseBands; // TX=A, TX=B at start-up
    QAction *MenuInfoVersion;
    QSlider *TrackBarPWRA, *TrackBarPWRB;
    QListWidget *ListBoxPort;
    DtmfCodeList *dtmfCodes;
    QCheckBox *CheckBoxConnect, *CheckBoxReconnect;
    QRadioButton *RadioButtonLeft, *RadioButtonRight, *RadioButtonBoth;
    QCheckBox *CheckBoxWarning;
    QCheckBox *CheckBoxOptiTX16;
    QSpinBox *SpinEditCanalNombre, *SpinEditTempoTX16;
    QSpinBox *SpinEditPin14, *SpinEditPin1, *SpinEditPin16;
    QRadioButton *RadioButtonH378, *RadioButtonH278, *RadioButtonH3BC, *RadioButtonH000;
    QLineEdit *EditH000;
    QRadioButton *RadioButtonPin14Neg, *RadioButtonPin1Neg, *RadioButtonPin16Neg;
    QRadioButton *RadioButtonPin17L, *RadioButtonPin11L;
    RadioState *channels; // the generic transmitter's channel list, its memories
    HamlibSettings *hamlib = nullptr;
    LineSettings *lines = nullptr;
    const RadioSelector *radios = nullptr; // the model in use, saved as MODEL=
};

namespace ConfigFile {

constexpr const char *Header = "[IvrelaneTMD7x0]";

// Applies every line in file order.
void apply(const ConfigBinding &b, const QStringList &lines);

// The whole file as the save writes it, header first.
QStringList build(const ConfigBinding &b);

enum class SaveResult { Saved, Failed };

// Writes the configuration in `directory`: the new file goes to "Ivrelane.~in" and is renamed
// over "Ivrelane.ini" in one step, so a failure at any point leaves a complete file behind.
SaveResult save(const ConfigBinding &b, const QString &directory);

} // namespace ConfigFile
