#pragma once

#include "generic_tx/Tx16LinesSetup.h"
#include "generic_tx/Tx16Settings.h"
#include "generic_tx/Tx16Setup.h"
#include "server/LineFramer.h"
#include "server/ServerSettingsDialog.h"

#include <QString>

class TFormIP;
class TFormInitTX16;

namespace Ui {
class TFormWarning;
class TFormInitTX16;
} // namespace Ui

// The settings that belong to a dialog stay in its controls; everyone else reads and sets them
// here, never through the controls. Setting one has the control's usual side effects (its
// change handlers run).

// The server window: connection at start, automatic reconnection, the audio channel obeyed, and
// the fields its own logic fills and reads.
class ServerWindowSettings : public ServerDialogFields
{
public:
    explicit ServerWindowSettings(TFormIP &form) : m_form(form) {}

    bool connectAtStart() const;
    void setConnectAtStart(bool on);
    bool reconnect() const;
    void setReconnect(bool on);
    AudioChannel audioChannel() const;
    void setAudioChannel(AudioChannel channel);

    QStringList hostParts() const override;
    void setHostParts(const QStringList &parts) override;
    QString portText() const override;
    void setPortText(const QString &port) override;
    int txTimeoutSeconds() const override;
    void setTxTimeoutSeconds(int seconds) override;
    void showError(const QString &message) override;
    void relabel(Language language) override;

private:
    TFormIP &m_form;
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
class Tx16WindowSettings : public Tx16Settings, public Tx16LinesFields
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

// The setup dialog's channel grid and closing, for the setup logic.
class Tx16SetupWindow : public Tx16SetupForm
{
public:
    // Lays the grid out: three columns, one row per channel.
    explicit Tx16SetupWindow(TFormInitTX16 &form);

    void setColumnTitles(const QStringList &titles) override;
    QString cell(int row, int column) const override;
    void setCell(int row, int column, const QString &text) override;
    void lockCell(int row, int column) override;
    void focusGrid() override;
    void focusCell(int row, int column) override;
    void close() override;

private:
    TFormInitTX16 &m_form;
};
