#pragma once

#include "hamlib/HamlibPortGuard.h"
#include "hamlib/HamlibTypes.h"

#include <QList>
#include <QObject>
#include <atomic>
#include <memory>
#include <optional>

class HamlibRigBands;
struct s_rig;

// What the window's side tells the worker without waiting for it. Shared, so a worker left
// behind in a call that does not return still has it.
struct HamlibWishes
{
    // The keying the window last asked for: an unkey asked after a key that still waits in the
    // queue cancels it.
    std::atomic<bool> transmit{false};
    // The link is being closed: requests still queued return at once, a request under way stops
    // before its next command, and only the unkey goes to the radio.
    std::atomic<bool> stopping{false};
    // Requests queued or running.
    std::atomic<int> outstanding{0};
    // Unkeys asked by the window, and the last of them the worker has carried out (or found
    // done): the window sends one itself when the worker is held up.
    std::atomic<int> unkeysAsked{0};
    std::atomic<int> unkeysDone{0};
    HamlibPortGuard port;
};

// The radio through Hamlib. Lives on a worker thread of its own and is the only code that calls
// Hamlib: each call blocks that thread, never the window. Requests arrive queued, run one at a
// time in order, and report through signals. A call the radio refuses reports Hamlib's error
// text as a refusal: the radio is still there. A serial radio that does not reply in time is
// reported as lost and asked again on the same open port. Any other failure reports it as lost,
// and the next request reopens the link first, so a rigctld or a serial adapter that comes back
// is used again without the operator. Each opening unkeys the radio first. Only a call that
// read the radio's reply reports it as answering.
class HamlibRig : public QObject
{
    Q_OBJECT
public:
    explicit HamlibRig(std::shared_ptr<HamlibWishes> wishes, QObject *parent = nullptr);
    ~HamlibRig() override;

    // To be called once before any Hamlib call, while no other thread uses the locale: Hamlib
    // sets LC_NUMERIC to "C" around its calls and then restores the name it read before, which
    // that very switch has freed. With "C" already in place both steps change nothing; the
    // program's texts never take their decimal point from the C locale.
    static void prepareProcessLocale();

    // What a radio can do, from Hamlib's description after rig_init (or, for a rigctld, after
    // rig_open).
    static HamlibCapabilities capabilitiesOf(s_rig *rig);

    void open(int model, const QString &port, int speed);
    // The radio is only asked, never told: no unkey at each opening (a check of the link while
    // no station runs changes nothing).
    void askOnly() { m_askOnly = true; }
    void close();
    // The memory list, the bands, their modes, powers and frequencies.
    HamlibRigBands &bands() { return *m_bands; }
    void setScan(int band, bool on);
    void applyTransmit();
    // Finds a link that has ended (a rigctld stopped, a serial adapter pulled out) without
    // asking the radio anything; reported as lost.
    void checkLink();
    // Back to receive when the radio may be keyed; used before closing.
    void release();

signals:
    void opened(const HamlibCapabilities &capabilities);
    void bandRead(const HamlibBandState &state);
    void memoriesRead(const QStringList &entries);
    void frequencyRead(const HamlibFrequency &frequency);
    void answered();
    void failed(const QString &error);
    void refused(const QString &error, HamlibRequest request, int band);
    // The band's power asked was not taken: the radio did not answer it.
    void powerNotTaken(int band);

private:
    friend class HamlibRigBands;

    // How long a rigctld is given to name its radio after each opening.
    static constexpr int RigctldAskMs = 1000;

    static bool isRefusal(int result);
    bool ready();
    bool stopping() const { return m_wishes->stopping.load(); }
    // The request under way, named in a refusal.
    void begin(HamlibRequest request, int band);
    bool check(int result, const char *call);
    // A failure that may mean the link is gone: Hamlib closes it, and the next request opens it
    // again.
    void lose(const QString &error);
    // No reply in time: the port stays open (reopening it would only add Hamlib's probes, each
    // waiting for the same silence), and the radio's keying is no longer known.
    void timedOut(const QString &error);
    void unkeyDone(int asked);
    void closePort();
    // Memory mode on the band selected; false when the radio refused it (reported).
    bool selectMemoryVfo();
    int bandVfo(int band) const;
    // Hamlib's result code.
    int readChannel(int channel, qint64 *hertz, QString *shift, QString *name);
    QString shiftOfCurrent();
    bool currentIsMemory(int band, bool *memory);

    std::shared_ptr<HamlibWishes> m_wishes;
    s_rig *m_rig = nullptr;
    // The device or host:port, as Hamlib opens it.
    QString m_port;
    // The port this worker holds, from its first opening to its end; empty for none.
    QString m_claimed;
    // The radio's own unkey, as it goes on the line; empty when not known.
    QByteArray m_unkey;
    bool m_open = false;
    bool m_askOnly = false;
    // The radio takes the per-band orders.
    bool m_ordered = false;
    bool m_transmitKnown = false;
    bool m_transmitting = false;
    bool m_memoryMode[2] = {false, false};
    HamlibCapabilities m_caps;
    HamlibRequest m_request = HamlibRequest::Read;
    int m_requestBand = 0;
    std::unique_ptr<HamlibRigBands> m_bands;
};
