#pragma once

#include "core/EventLog.h"
#include "core/StationState.h"
#include "dtmf/DtmfCodeList.h"
#include "dtmf/DtmfInterpreter.h"
#include "radio/RadioRequests.h"
#include "radio/RadioSelector.h"
#include "support/RecordingRadio.h"

#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// The DTMF interpreter with what its window line shows, and one recording radio per kind:
// every operation that reaches a radio is recorded in order, under the name of the control the
// operator would have used; memory operations note the memory number they were handed. The
// Kenwood radios hold Memories, the generic transmitter 40 channels (005 on 145.225 MHz).
class DtmfPanel
{
public:
    static const QStringList Memories;

    DtmfPanel();

    // A report as the server's link hands it on: a request of its own.
    void report(const QString &chars);
    // The entry window ends, in its turn among the requests.
    void expire();

    RecordingRadio &radio() { return *static_cast<RecordingRadio *>(radios.current()); }
    void addCode(const QString &code, int action);
    void useModel(const QString &model) { radios.select(model); }
    void useBand(const QString &band);

    // The log's entries without their date and time (whose form follows the locale).
    QStringList logged() const;
    // Nothing collected, nothing awaited.
    bool idle() const;

    QTemporaryDir dir;
    StationState state;
    EventLog log{dir.filePath(QStringLiteral("test.log"))};
    // What the window's DTMF line shows.
    QString shown;
    QStringList pressed;
    DtmfControls c;
    DtmfCodeList codes;
    RecordingRadio generic{RecordingRadio::Kind::Generic, state, pressed};
    RecordingRadio tmd700{RecordingRadio::Kind::Scanning, state, pressed};
    RecordingRadio tmd710{RecordingRadio::Kind::Kenwood, state, pressed};
    RadioSelector radios;
    RadioRequests requests;
    std::unique_ptr<DtmfInterpreter> interpreter;
};
