// The award reference of a log row (LogOther), decoded; and the substring
// helper with a start and a count taken from the first two bytes.

#include "FuzzInput.h"
#include "awards/AwardReference.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const QString text = Fuzz::text(data + 2, size - 2);
    AwardReference::decode(text);
    const int start = int(int8_t(data[0])), count = int(int8_t(data[1]));
    const QString part = AwardReference::copy(text, start, count);
    if (part.size() > std::max(count, 0))
        __builtin_trap(); // never more than asked for
    return 0;
}
