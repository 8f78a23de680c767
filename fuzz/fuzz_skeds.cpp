// "Sked.tnr": read over empty rows, then written back and lit.

#include "FuzzInput.h"
#include "utilities/SkedFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const SkedFile::Reading reading = SkedFile::parse(Fuzz::text(data, size), {});
    SkedFile::compose(reading.rows);
    SkedFile::litLamp(reading.rows, QDate(2024, 3, 5));
    for (const SkedFile::Row &row : reading.rows)
        SkedFile::boxText(row);
    return 0;
}
