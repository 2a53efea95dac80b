#pragma once

#include "hamlib/HamlibTypes.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

class HamlibRig;
class QThread;
struct HamlibWishes;

// The window's side of the Hamlib radio: starts the worker thread that owns it, queues requests
// to it in order and hands its reports back on the window's thread. Nothing here waits for the
// radio, except stop() at the end.
class HamlibLink : public QObject
{
    Q_OBJECT
public:
    explicit HamlibLink(QObject *parent = nullptr);
    ~HamlibLink() override;

    // How long stop() waits for the worker: a call stuck inside Hamlib is then left behind.
    static constexpr int StopWaitMs = 1500;
    // How long an unkey may wait behind the call under way before it is written on the port.
    static constexpr int UnkeyWaitMs = 500;

    bool isStarted() const { return m_rig != nullptr; }
    // Opens the radio on a fresh worker thread (an earlier one is stopped first).
    void start(int model, const QString &port, int speed);
    // Unkeys the radio if it may be keyed, closes it and ends the thread. The requests still
    // queued are dropped and the one under way stops before its next command. While a request
    // runs, a radio whose unkey is known gets it on the port at once, and the call under way is
    // cut off from the line; a Hamlib call that does not return within StopWaitMs is abandoned
    // with its thread, which ends when the call does (or with the process, the system closing
    // the port), and holds its port until then.
    void stop();
    // Requests queued or running: a radio that does not answer is not asked again until the
    // earlier ones have run.
    int outstanding() const;

    void readMemories(int count);
    // Reads where the radio is and leaves it there; `band` must transmit (-1: the radio's own).
    void readInitialState(int band, bool bothBands);
    void selectBand(int band);
    // The band that transmits stays selected.
    void setMode(int band, int activeBand, bool memory, int channel);
    void readBand(int band);
    void setPower(int band, bool activeBand, int position);
    void setScan(int band, bool on);
    // Asks for the keying; an unkey asked while a key waits in the queue cancels it, and one
    // the worker has not carried out within UnkeyWaitMs is written on the port.
    void setTransmit(bool on);
    void readFrequency(int band);
    // Reports a link found ended as lost; the radio is not asked anything.
    void checkLink();

signals:
    void opened(const HamlibCapabilities &capabilities);
    void bandRead(const HamlibBandState &state);
    void memoriesRead(const QStringList &entries);
    void frequencyRead(const HamlibFrequency &frequency);
    void answered();
    void failed(const QString &error);
    void refused(const QString &error, HamlibRequest request, int band);
    void powerNotTaken(int band);

private:
    void post(std::function<void(HamlibRig &)> request);

    void unkeyOverdue();

    QThread *m_thread = nullptr;
    QTimer m_unkeyWatch;
    HamlibRig *m_rig = nullptr; // lives on m_thread
    std::shared_ptr<HamlibWishes> m_wishes;
};
