#pragma once

#include "generic_tx/GenericTxLinesFields.h"
#include "generic_tx/GenericTxSettings.h"

#include <QString>

namespace Ui {
class TFormInitTX16;
} // namespace Ui

// The settings that belong to a dialog stay in its controls; everyone else reads and sets them
// here, never through the controls. Setting one has the control's usual side effects (its
// change handlers run).

// The generic transmitter's setup dialog.
class GenericTxWindowSettings : public GenericTxSettings, public GenericTxLinesFields
{
public:
    explicit GenericTxWindowSettings(Ui::TFormInitTX16 &ui) : m_ui(ui) {}

    int channelCount() const override;
    void setChannelCount(int count);
    int baseChannel() const override;
    void setBaseChannel(int channel) override;
    void keepBaseChannelWithin(int count) override;
    // Within the dialog's range.
    int period() const override;
    void setPeriod(int ms) override;
    int pulseLength(TxLine pulsed) const override;
    void setPulseLength(TxLine pulsed, int ms);
    LinePolarity polarity(TxLine line) const override;
    void setPolarity(TxLine line, LinePolarity polarity);
    LinePolarity squelchPolarity() const override;
    void setSquelchPolarity(LinePolarity polarity) override;
    bool circularScan() const override;
    void setCircularScan(bool circular) override;

    Port port() const override;
    void markPort(Port port, bool chosen) override;
    void setPortCaption(Port port, const QString &caption) override;
    QString typedAddress() const override;
    void setTypedAddress(const QString &address);

    LinesKind linesKind() const override;
    void setLinesKind(LinesKind kind) override;
    void listDevices(const QList<LinesDiscovery::Device> &found) override;
    QString deviceText() const override;
    void setDeviceText(const QString &text) override;
    QString device() const override;
    void chooseFirstDevice() override;
    QString linesMap() const override;
    void setLinesMap(const QString &map) override;
    void offerParallelPort(bool parallelPort) override;
    void focusDevice() override;
    void focusMap() override;

private:
    Ui::TFormInitTX16 &m_ui;
};
