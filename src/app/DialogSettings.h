#pragma once

#include "generic_tx/Tx16Settings.h"
#include "server/LineFramer.h"

#include <QString>

namespace Ui {
class TFormIP;
class TFormWarning;
class TFormInitTX16;
} // namespace Ui

// The settings that belong to a dialog stay in its controls; everyone else reads and sets them
// here, never through the controls. Setting one has the control's usual side effects (its
// change handlers run).

// The server window: connection at start, automatic reconnection, the audio channel obeyed.
class ServerWindowSettings
{
public:
    explicit ServerWindowSettings(Ui::TFormIP &ui) : m_ui(ui) {}

    bool connectAtStart() const;
    void setConnectAtStart(bool on);
    bool reconnect() const;
    void setReconnect(bool on);
    AudioChannel audioChannel() const;
    void setAudioChannel(AudioChannel channel);

private:
    Ui::TFormIP &m_ui;
};

// The warning window: "do not show again".
class WarningWindowSettings
{
public:
    explicit WarningWindowSettings(Ui::TFormWarning &ui) : m_ui(ui) {}

    bool accepted() const;
    void setAccepted(bool accepted);

private:
    Ui::TFormWarning &m_ui;
};

// The generic transmitter's setup dialog.
class Tx16WindowSettings : public Tx16Settings
{
public:
    explicit Tx16WindowSettings(Ui::TFormInitTX16 &ui) : m_ui(ui) {}

    int channelCount() const override;
    void setChannelCount(int count);
    int baseChannel() const override;
    void setBaseChannel(int channel);
    void keepBaseChannelWithin(int count) override;
    // Within the dialog's range.
    int period() const override;
    void setPeriod(int ms);
    int pulseLength(TxLine pulsed) const override;
    void setPulseLength(TxLine pulsed, int ms);
    LinePolarity polarity(TxLine line) const override;
    void setPolarity(TxLine line, LinePolarity polarity);
    LinePolarity squelchPolarity() const override;
    void setSquelchPolarity(LinePolarity polarity);
    bool circularScan() const override;
    void setCircularScan(bool circular) override;

    Port port() const override;
    void markPort(Port port, bool chosen) override;
    void setPortCaption(Port port, const QString &caption) override;
    QString typedAddress() const override;
    void setTypedAddress(const QString &address);

private:
    Ui::TFormInitTX16 &m_ui;
};
