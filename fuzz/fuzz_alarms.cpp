// "Snd.ini": read over empty alarms, then written back.

#include "FuzzInput.h"
#include "utilities/AlarmFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    AlarmFile::Reading reading = AlarmFile::parse(Fuzz::text(data, size), {});
    AlarmFile::disarmPast(reading.alarms, QDate(2024, 3, 5));
    AlarmFile::compose(reading.alarms);
    return 0;
}
