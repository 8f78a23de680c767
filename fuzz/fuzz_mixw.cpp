// The MixW log: its last line cut into a contact, the band of its frequency.

#include "FuzzInput.h"
#include "station/MixwLog.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = Fuzz::text(data, size);
    MixwLog::parse(MixwLog::lastLine(text));
    MixwLog::bandKey(text.section(u';', 6, 6));
    return 0;
}
