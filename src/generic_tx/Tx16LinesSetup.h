#pragma once

#include "core/LanguageTexts.h"
#include "generic_tx/LineSettings.h"

#include <QObject>
#include <functional>

class Notifier;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QWidget;

// The setup dialog's "Lines" controls.
struct Tx16LinesWidgets
{
    QRadioButton *RadioButtonLinesLPT, *RadioButtonLinesCM108, *RadioButtonLinesGPIO;
    QComboBox *ComboBoxLinesDevice;
    QLineEdit *EditLinesMap;
    // Only for the parallel port: its address choice.
    QWidget *GroupBoxLPT;
};

// What carries the generic transmitter's lines, in the setup dialog: the parallel port, a USB
// audio interface or a GPIO chip, with the device (those found are listed) and the pin map.
// The dialog shows the settings when it opens; OK alone changes them.
class Tx16LinesSetup : public QObject
{
    Q_OBJECT
public:
    Tx16LinesSetup(LineSettings &settings, Notifier &notifier, std::function<Language()> language,
                   const Tx16LinesWidgets &widgets, QObject *parent = nullptr);

    // Opening the dialog: the settings in the controls, the devices found in the list.
    void FormShow();
    // The choice in the dialog, before OK.
    LinesKind chosenKind() const;
    // OK with other lines than the parallel port: false, with a message, when the device or
    // the map is missing or wrong; otherwise the settings take the dialog's values.
    bool confirm();
    // OK on the parallel port: the device and map stay for later; true when the lines change.
    bool confirmParallelPort();

    // Where the devices are looked for; a test points them at folders of its own.
    QString hidrawRoot = QStringLiteral("/sys/class/hidraw");
    QString devRoot = QStringLiteral("/dev");

private:
    void kindChosen();
    void listDevices(LinesKind kind);
    QString chosenDevice() const;

    LineSettings &m_settings;
    Notifier &m_notifier;
    std::function<Language()> m_language;
    Tx16LinesWidgets m_w;
    LinesKind m_shownKind = LinesKind::ParallelPort;
};
