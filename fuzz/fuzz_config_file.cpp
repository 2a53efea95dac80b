// Configuration file bytes, decoded and applied to a whole station, then saved back to text.
#include "FuzzStation.h"

#include "app/ConfigFile.h"
#include "app/Station.h"
#include "core/ConfigValues.h"
#include "platform/TextFile.h"

// The station is made before the first input, so its start-up does not count as coverage.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzStation::instance();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    FuzzStation &fuzz = FuzzStation::instance();
    Station &station = fuzz.station();
    fuzz.resetLists();
    const QStringList lines = TextFile::decodeLines(fuzzBytes(data, size));
    const ConfigBinding binding = station.configBinding();
    ConfigFile::apply(binding, lines);
    const QStringList saved = ConfigFile::build(binding);
    if (saved.isEmpty() || saved.first() != QLatin1String(ConfigValues::Header))
        __builtin_trap();
    // The saved text goes through the encoder the save uses.
    TextFile::encodeLines(saved);
    FuzzStation::processEvents();
    return 0;
}
