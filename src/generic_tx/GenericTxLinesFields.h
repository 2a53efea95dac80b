#pragma once

#include "generic_tx/LineSettings.h"
#include "generic_tx/LinesDiscovery.h"

#include <QList>
#include <QString>

// The setup dialog's "Lines" fields as their logic fills and reads them.
class GenericTxLinesFields
{
public:
    virtual ~GenericTxLinesFields() = default;

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
