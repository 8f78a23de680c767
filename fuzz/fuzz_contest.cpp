// "Contest.ini" and the operator's "*.tst" files, the contest name list, and
// the arrows applied to what was read.

#include "FuzzInput.h"
#include "contest/ContestFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = Fuzz::text(data, size);
    const ContestFile::Reading reading = ContestFile::parse(text);
    for (const QString &point : reading.points) {
        ContestFile::pointStep(point, 1);
        ContestFile::pointStep(point, -1);
    }
    ContestFile::stepStep(reading.step, 1);
    ContestFile::stepStep(reading.step, -1);
    ContestFile::contestNames(text);
    return 0;
}
