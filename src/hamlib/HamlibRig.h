#pragma once

#include "hamlib/HamlibTypes.h"

#include <QObject>
#include <atomic>

struct s_rig;

// The radio through Hamlib. Lives on a worker thread of its own and is the only code that calls
// Hamlib: each call blocks that thread, never the window. Requests arrive queued, run one at a
// time in order, and report through signals. A call the radio refuses reports Hamlib's error
// text as a refusal: the radio is still there. Any other failure reports it as lost, and the
// next request reopens the link first, so a rigctld or a serial adapter that comes back is used
// again without the operator.
class HamlibRig : public QObject
{
    Q_OBJECT
public:
    // `wantedTransmit` is the keying the window last asked for; applyTransmit() reads it when it
    // runs, so an unkey asked after a key that still waits in the queue cancels it. `stopping`
    // is set when the link is being closed: a long reading ends there.
    HamlibRig(const std::atomic<bool> &wantedTransmit, const std::atomic<bool> &stopping,
              QObject *parent = nullptr);
    ~HamlibRig() override;

    // What a radio can do, from Hamlib's description after rig_init (or, for a rigctld, after
    // rig_open).
    static HamlibCapabilities capabilitiesOf(s_rig *rig);

    void open(int model, const QString &port, int speed);
    void close();
    void readMemories(int count);
    void selectBand(int band);
    void setMode(int band, int activeBand, bool memory, int channel);
    void readBand(int band);
    void setPower(int band, bool activeBand, int position);
    void setScan(int band, bool on);
    void applyTransmit();
    void readFrequency(int band);
    // Back to receive and no scan; used before closing.
    void release();

signals:
    void opened(const HamlibCapabilities &capabilities);
    void bandRead(const HamlibBandState &state);
    void memoriesRead(const QStringList &entries);
    void frequencyRead(const HamlibFrequency &frequency);
    void answered();
    void failed(const QString &error);
    void refused(const QString &error, HamlibRequest request, int band);

private:
    bool ready();
    // The request under way, named in a refusal.
    void begin(HamlibRequest request, int band);
    bool check(int result, const char *call);
    void lose(const QString &error);
    void reportBand(int band, bool selected);
    // Puts the radio on the band's VFO, in the mode the band was left in.
    bool selectBandVfo(int band);
    int bandVfo(int band) const;
    // Hamlib's result code.
    int readChannel(int channel, qint64 *hertz, QString *shift, QString *name);
    QString shiftOfCurrent();
    bool currentIsMemory(int band, bool *memory);

    const std::atomic<bool> &m_wantedTransmit;
    const std::atomic<bool> &m_stopping;
    s_rig *m_rig = nullptr;
    bool m_open = false;
    bool m_transmitKnown = false;
    bool m_transmitting = false;
    bool m_memoryMode[2] = {false, false};
    HamlibCapabilities m_caps;
    HamlibRequest m_request = HamlibRequest::Read;
    int m_requestBand = 0;
};
