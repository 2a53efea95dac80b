#pragma once

#include "core/LanguageTexts.h"
#include "generic_tx/GenericTxLinesFields.h"
#include "generic_tx/LineSettings.h"
#include "generic_tx/LinesDiscovery.h"

#include <QList>
#include <QObject>
#include <functional>

class Notifier;

// What carries the generic transmitter's lines, in the setup dialog: the parallel port, a USB
// audio interface or a GPIO chip, with the device (those found are listed) and the pin map.
// The dialog shows the settings when it opens; OK alone changes them.
class GenericTxLinesSetup : public QObject
{
    Q_OBJECT
public:
    GenericTxLinesSetup(LineSettings &settings, Notifier &notifier,
                        std::function<Language()> language, GenericTxLinesFields &fields,
                        QObject *parent = nullptr);

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
    GenericTxLinesFields &m_fields;
    LinesKind m_shownKind = LinesKind::ParallelPort;
};
