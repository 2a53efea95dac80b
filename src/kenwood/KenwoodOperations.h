#pragma once

#include "kenwood/KenwoodModel.h"

#include <QCoroTask>
#include <QString>
#include <functional>
#include <optional>

class RadioState;
class RigLink;
class TrafficLine;
struct StationState;

// The band, VFO, memory, power, scan and transmit operations of the Kenwood panel, and the
// Kenwood part of the frequency report. Each keeps the panel and the station state in step with
// the transceiver; bands are 0 for A and 1 for B. Each is over when its task is: its exchanges
// are awaited one after the other.
class KenwoodOperations
{
public:
    KenwoodOperations(StationState &state, RadioState &radio, RigLink &link, TrafficLine &traffic,
                      std::function<std::optional<Kenwood::Model>()> model);

    QCoro::Task<> selectBand(int band);
    QCoro::Task<> vfoMode(int band);
    QCoro::Task<> memoryMode(int band);
    // Sends the band's power when the position changes.
    QCoro::Task<> setPower(int band, int position);
    QCoro::Task<> setScan(int band, bool on);
    // An unkey takes the port before any exchange that waits for it.
    QCoro::Task<> setTransmit(bool on);

    // Asks the scan state and, in memory mode, the channel, and sets CurrentFrequency.
    QCoro::Task<> updateFrequencyForReport();
    // The same, then `done`.
    QCoro::Task<> updateFrequency(std::function<void()> done);

    // The six lamps off, the four displays empty.
    void resetIndicators();
    // CurrentFrequency from a display; an empty one leaves it as it was.
    void takeFrequency(const QString &frequency);

    // Shows `entry` of the memory list on the band: current in the combo box and in the band's
    // memory display; CurrentFrequency follows when the band is active.
    void showMemoryEntry(int band, int index);

private:
    QCoro::Task<QString> send(const QString &command);
    bool answered(const QString &reply);
    void releaseScan(int band, bool enabled);

    StationState &m_state;
    RadioState &m_radio;
    RigLink &m_link;
    TrafficLine &m_traffic;
    std::function<std::optional<Kenwood::Model>()> m_model;
};
