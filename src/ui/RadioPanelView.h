#pragma once

#include <QCoroTask>
#include <QObject>
#include <QPointer>
#include <array>
#include <optional>

class QAbstractButton;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSlider;
class Radio;
class RadioRequests;
class RadioSelector;
class RadioState;
class TForm1;
class QWidget;
struct StationState;

// The transceiver panel's controls (shared by the Kenwood and Hamlib radios), the channel panel's
// group and two toggles, and the window that holds them.
struct RadioPanelControls
{
    QWidget *window;
    QGroupBox *GroupBoxTX, *GroupBoxTX16UD;
    QAbstractButton *SpeedButtonTXA, *SpeedButtonTXB;
    QAbstractButton *SpeedButtonVFOA, *SpeedButtonVFOB;
    QAbstractButton *SpeedButtonMEMA, *SpeedButtonMEMB;
    QAbstractButton *SpeedButtonScanA, *SpeedButtonScanB;
    QAbstractButton *SpeedButtonTX, *SpeedButtonInit;
    QSlider *TrackBarPWRA, *TrackBarPWRB;
    QComboBox *ComboBoxMEM;
    QLineEdit *EditVFOA, *EditVFOB, *EditMEMA, *EditMEMB;
    QLabel *ImageTXA, *ImageTXB, *ImageVFOA, *ImageVFOB, *ImageMEMA, *ImageMEMB;
    // The hidden lamp pictures the lamps copy: lit green, lit red, off.
    QLabel *ImageLEDvert, *ImageLEDrouge, *ImageLEDOFF;
    QAbstractButton *SpeedButtonTX16TX, *SpeedButtonTX16SC;

    static RadioPanelControls fromForm(TForm1 &window);
};

// Paints the window from the radio in use: its title, the panel that drives it (transceiver or
// channels) with the scan buttons the radio takes, and the panel's controls from its state. Hands
// the operator's clicks on the panel to that radio: the toggles show what the radio does, never
// what was clicked last. The window keeps the keyboard (the space bar keys the transceiver):
// it takes it back after a click on the panel and after each operation the radio carries out.
class RadioPanelView : public QObject
{
    Q_OBJECT
public:
    RadioPanelView(const RadioPanelControls &controls, const StationState &station,
                   RadioSelector &radios, RadioRequests &requests, QObject *parent = nullptr);

    // Follows the radio now selected: the window's title and panel, then its state.
    void follow();
    void paint();
    // The operator chose an entry of the memory list (or a DTMF code did, on the list).
    void memoryChosen(int index);
    // The operator (or a test) moved a power slider.
    void powerMoved(int band, int position);
    // A band's power as its slider shows it, once the radio in use or the operator has moved
    // the slider; nothing before.
    std::optional<int> shownPower(int band) const;

    // The operator's clicks on the toggles (the click has already flipped them).
    void SpeedButtonTXClick();
    void scanClicked(int band);
    void SpeedButtonTX16TXClick();
    void SpeedButtonTX16SCClick();

    // Shows the radio's memory list (the generic transmitter's channels) in `list`, filled again
    // only when it changed, so that a repaint keeps the operator's place.
    static void showEntries(QComboBox *list, const RadioState &s);

private:
    // What an operation changes on the transceiver panel, whoever asked for it.
    struct Operated
    {
        bool keyed = false;
        bool panelEnabled = false;
        int transmitBand = -1;
        std::array<bool, 2> scanning{};
        std::array<int, 2> power{};
        std::array<int, 2> mode{};
        bool operator==(const Operated &) const = default;
    };
    static Operated operated(const RadioState &s);
    void paintPanelChoice();
    void paintTransceiver(const RadioState &s);
    // The window takes the keyboard back from whichever of its controls holds it.
    void takeKeyboard();
    // A click on a band, VFO or MEM button: the operation, then the keyboard back.
    void bandButtonClicked(QCoro::Task<> (Radio::*operation)(int), int band);
    void showMemories(const RadioState &s);
    void transmitClicked(bool on);
    void scanAsked(int band, bool on);

    RadioPanelControls m_c;
    const StationState &m_station;
    RadioSelector &m_radios;
    RadioRequests &m_requests;
    // The last position asked of each band's slider while its request waits; -1 once it runs.
    struct PowerAsked
    {
        int position = -1;
        int number = 0;
    };
    std::array<PowerAsked, 2> m_powerAsked;
    std::array<bool, 2> m_powerShown{}; // a slider moved since start-up
    QPointer<RadioState> m_state;
    bool m_channels = false; // the radio in use is on the channel panel
    Operated m_operated;
    bool m_painting = false;
};
