// "Cw_Conf.tnr": read over the design values, then written back and stepped
// with the arrows.

#include "FuzzInput.h"
#include "station/KeyerSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const KeyerSettings::Reading reading = KeyerSettings::parse(Fuzz::text(data, size), KeyerSettings::defaults());
    KeyerSettings::compose(reading.settings);
    for (const int direction : {1, -1}) {
        KeyerSettings::leadRange.stepped(reading.settings.lead, direction);
        KeyerSettings::stopRange.stepped(reading.settings.stop, direction);
        KeyerSettings::speedRange.stepped(reading.settings.speed, direction);
    }
    return 0;
}
