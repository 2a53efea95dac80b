#pragma once

#include "hamlib/HamlibOperations.h"
#include "platform/LinkSettings.h"
#include "radio/PanelRadio.h"

#include <memory>

class EventLog;
class HamlibLink;
struct StationState;

// A transceiver Hamlib drives, behind the Radio seam: its link on a worker thread (started with
// the settings, stopped at the release), the initialisation after each start, and the panel's
// operations. What the radio lacks (a second band, memories, scanning, PTT) shows in the state
// once Hamlib has described it.
class HamlibRadio : public PanelRadio<HamlibOperations>
{
    Q_OBJECT
public:
    // Its name under MODEL=.
    static constexpr QStringView ModelName = u"HAMLIB";
    // Where the link stands, for the port's status line: no radio to reach (settings missing),
    // started but not open yet or failed, open.
    enum class LinkStatus { None, Closed, Open };

    HamlibRadio(StationState &station, EventLog &log, QObject *parent = nullptr);
    ~HamlibRadio() override;

    Capabilities capabilities() const override;
    // HAMLIBMODEL=, HAMLIBPORT=, HAMLIBSPEED=: used from the next open() on.
    HamlibSettings &settings() { return m_settings; }
    HamlibLink &link() { return *m_link; }
    HamlibOperations &operations() { return *m_operations; }
    LinkStatus linkStatus() const { return m_linkStatus; }

    // Starts the link with the settings, then the initialisation. Without a model or a port
    // Hamlib stays the model with no radio, until the settings give what is missing.
    void open() override;
    // INIT: unkeyed, scanning stopped, then opened again.
    void initialise() override;
    // Unkeys, stops scanning, closes the radio and stops the worker thread.
    QCoro::Task<> release() override;
    // The same, at once.
    void close();
    // New settings taken while the radio is in use: the radio in use is unkeyed first.
    void reopen();

signals:
    void linkStatusChanged(HamlibRadio::LinkStatus status);
    // The settings lack the model or the port: `text` says which.
    void settingsMissing(const QString &text);
    // The initialisation after an open is over, or there is no radio to initialise.
    void initialisationOver();
    // The radio let the transceiver panel go: the other radio behind it starts anew.
    void panelLeft();

private:
    void setLinkStatus(LinkStatus status);
    void stopTransmitAndScan();

    StationState &m_station;
    EventLog &m_log;
    HamlibSettings m_settings;
    std::unique_ptr<HamlibLink> m_link;
    std::unique_ptr<HamlibOperations> m_operations;
    LinkStatus m_linkStatus = LinkStatus::None;
};
