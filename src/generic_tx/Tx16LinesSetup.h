#pragma once

#include "core/LanguageTexts.h"
#include "generic_tx/LineSettings.h"
#include "generic_tx/LinesDiscovery.h"

#include <QList>
#include <QObject>
#include <functional>

class Notifier;

// The setup dialog's "Lines" fields as their logic fills and reads them.
class Tx16LinesFields
{
public:
    virtual ~Tx16LinesFields() = default;

    // What carries the lines, as chosen.
    virtual LinesKind linesKind() const = 0;
    virtual void setLinesKind(LinesKind kind) = 0;
    // The devices found, offered in the device list in place of those before.
    virtual void listDevices(const QList<LinesDiscovery::Device> &found) = 0;
    // The device list's text as shown, typed or chosen.
    virtual QString deviceText() const = 0;
    virtual void setDeviceText(const QString &text) = 0;
    // The device: the path of the entry shown, or the text as typed.
    virtual QString device() const = 0;
    // The first device of the list chosen; nothing when the list is empty.
    virtual void chooseFirstDevice() = 0;
    virtual QString linesMap() const = 0;
    virtual void setLinesMap(const QString &map) = 0;
    // The squelch-open level ("+5v": Positive, "0v": Negative).
    virtual void setSquelchPolarity(LinePolarity polarity) = 0;
    // The parallel port's address choice offered (true), or the device and the map.
    virtual void offerParallelPort(bool parallelPort) = 0;
    // Where the operator corrects a refused device or map.
    virtual void focusDevice() = 0;
    virtual void focusMap() = 0;
};

// What carries the generic transmitter's lines, in the setup dialog: the parallel port, a USB
// audio interface or a GPIO chip, with the device (those found are listed) and the pin map.
// The dialog shows the settings when it opens; OK alone changes them.
class Tx16LinesSetup : public QObject
{
    Q_OBJECT
public:
    Tx16LinesSetup(LineSettings &settings, Notifier &notifier, std::function<Language()> language,
                   Tx16LinesFields &fields, QObject *parent = nullptr);

    // Opening the dialog: the settings in the controls, the devices found in the list.
    void FormShow();
    // The choice in the dialog, before OK.
    LinesKind chosenKind() const;
    // OK with other lines than the parallel port: false, with a message, when the device or
    // the map is missing or wrong; otherwise the settings take the dialog's values.
    bool confirm();
    // OK on the parallel port: the device and map stay for later; true when the lines change.
    bool confirmParallelPort();
    // A choice of what carries the lines: the fields for it are offered.
    void kindChosen();

    // Where the devices are looked for; a test points them at folders of its own.
    QString hidrawRoot = QStringLiteral("/sys/class/hidraw");
    QString devRoot = QStringLiteral("/dev");

private:
    void listDevices(LinesKind kind);

    LineSettings &m_settings;
    Notifier &m_notifier;
    std::function<Language()> m_language;
    Tx16LinesFields &m_fields;
    LinesKind m_shownKind = LinesKind::ParallelPort;
};
