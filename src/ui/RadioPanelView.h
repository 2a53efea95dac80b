#pragma once

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
class RadioRequests;
class RadioSelector;
class RadioState;
namespace Ui {
class TForm1;
}

// The transceiver panel's controls (shared by the Kenwood and Hamlib radios) and the generic
// transmitter's two toggles.
struct RadioPanelControls
{
    QGroupBox *GroupBoxTX;
    QAbstractButton *SpeedButtonTXA, *SpeedButtonTXB;
    QAbstractButton *SpeedButtonVFOA, *SpeedButtonVFOB;
    QAbstractButton *SpeedButtonMEMA, *SpeedButtonMEMB;
    QAbstractButton *SpeedButtonScanA, *SpeedButtonScanB;
    QAbstractButton *SpeedButtonTX;
    QSlider *TrackBarPWRA, *TrackBarPWRB;
    QComboBox *ComboBoxMEM;
    QLineEdit *EditVFOA, *EditVFOB, *EditMEMA, *EditMEMB;
    QLabel *ImageTXA, *ImageTXB, *ImageVFOA, *ImageVFOB, *ImageMEMA, *ImageMEMB;
    // The hidden lamp pictures the lamps copy: lit green, lit red, off.
    QLabel *ImageLEDvert, *ImageLEDrouge, *ImageLEDOFF;
    QAbstractButton *SpeedButtonTX16TX, *SpeedButtonTX16SC;

    static RadioPanelControls fromForm(Ui::TForm1 &ui);
};

// Paints the panel from the state of the radio in use, and hands the operator's clicks on the
// toggles to that radio: the toggles show what the radio does, never what was clicked last.
class RadioPanelView : public QObject
{
    Q_OBJECT
public:
    RadioPanelView(const RadioPanelControls &controls, RadioSelector &radios,
                   RadioRequests &requests, QObject *parent = nullptr);

    // Follows the state of the radio now selected.
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
    void showMemories(const RadioState &s);
    void transmitClicked(bool on);
    void scanAsked(int band, bool on);

    RadioPanelControls m_c;
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
    bool m_generic = false;
    bool m_painting = false;
};
