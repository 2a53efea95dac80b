// The DTMF interpreter of a whole station: a code table made from the input, then reports and
// ends of the entry window in the order the input gives. Actions run on the real panels; the
// Kenwood has no port (its exchanges end as time-outs), the generic one a port in memory.
#include "FuzzStation.h"

#include "app/DtmfWiring.h"
#include "app/KenwoodWiring.h"
#include "app/Station.h"
#include "dtmf/DtmfCatalogue.h"
#include "dtmf/DtmfInterpreter.h"
#include "dtmf/DtmfMatcher.h"
#include "platform/MemoryParallelPort.h"
#include "radio/RadioRequests.h"
#include "ui/UnitDTMF.h"
#include "ui/UnitTMD700.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>

#include <fuzzer/FuzzedDataProvider.h>

namespace {

// The sixteen keys and two characters no keypad sends, so codes and reports may be invalid.
constexpr char Keys[] = "0123456789ABCDabcd#*x ";

QString keyText(FuzzedDataProvider &in, int maxLength)
{
    const int length = in.ConsumeIntegralInRange(1, maxLength);
    QString text;
    for (int i = 0; i < length && in.remaining_bytes() > 0; ++i)
        text += QLatin1Char(Keys[in.ConsumeIntegralInRange<size_t>(0, sizeof Keys - 2)]);
    return text;
}

QString tableEntry(FuzzedDataProvider &in)
{
    const QString code = keyText(in, 5);
    if (in.ConsumeIntegralInRange(0, 15) == 0) // a hand-edited line from the configuration
        return code +
               QString::fromLatin1(in.ConsumeBytesAsString(in.ConsumeIntegralInRange(0, 20)));
    const QStringList &catalogue =
        in.ConsumeBool() ? DtmfCatalogue::DtmfActionsEn : DtmfCatalogue::DtmfActionsFr;
    const int index = in.ConsumeIntegralInRange<int>(0, int(catalogue.size()) - 1);
    return DtmfCatalogue::entryText(code, catalogue.at(index));
}

} // namespace

// The station is made before the first input, so its start-up does not count as coverage.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzStation::instance({QStringLiteral("MODEL=TMD700"), QStringLiteral("DELAYPIN14=1"),
                           QStringLiteral("DELAYPIN1=1"), QStringLiteral("DELAYPIN16=1"),
                           QStringLiteral("TEMPOTX16=10"), QStringLiteral("LPT378=888")});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    FuzzStation &fuzz = FuzzStation::instance();
    Station &station = fuzz.station();
    Ui::TForm1 &m = station.windows().Form1->ui;
    DtmfInterpreter &interpreter = station.dtmf->interpreter();
    FuzzedDataProvider in(data, size);

    interpreter.TimerDTMFTimer();
    fuzz.parallelPort().clearWrites();
    QAction *model = in.ConsumeBool() ? m.MenuTX16UD : m.menuTMD700;
    if (!model->isChecked())
        model->trigger();

    QStringList codes{DtmfCatalogue::DtmfListHeader};
    const int entries = in.ConsumeIntegralInRange(0, 12);
    for (int i = 0; i < entries; ++i)
        codes << tableEntry(in);
    station.dtmfCodes.setLines(codes);

    // A few memories for the memory and frequency actions to find.
    QStringList memories;
    const int count = in.ConsumeIntegralInRange(0, 5);
    for (int i = 0; i < count; ++i)
        memories << QStringLiteral("%1=14%2.%3 shift=0")
                        .arg(in.ConsumeIntegralInRange(0, 120), 3, 10, QLatin1Char('0'))
                        .arg(in.ConsumeIntegralInRange(4, 6))
                        .arg(in.ConsumeIntegralInRange(0, 999999), 6, 10, QLatin1Char('0'));
    station.kenwood->radio().state().setMemories(memories);

    while (in.remaining_bytes() > 0) {
        if (in.ConsumeIntegralInRange(0, 7) == 0)
            interpreter.TimerDTMFTimer();
        else
            station.dtmf->receiveDtmf(keyText(in, 4));
        if (station.state.DtmfReceived.size() > DtmfMatcher::ReceivedCap ||
            station.requests.waitingCount() > RadioRequests::MaxWaiting)
            __builtin_trap();
    }
    FuzzStation::processEvents();
    return 0;
}
