// "Tarnel.ini": read, then written back from what was read.

#include "FuzzInput.h"
#include "core/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const SettingsFile::Reading reading = SettingsFile::parse(Fuzz::text(data, size));
    SettingsFile::compose(reading.values);
    return 0;
}
