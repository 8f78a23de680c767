// An ADIF file: every record read, every field decoded, every record offered
// as a contact.

#include "FuzzInput.h"
#include "exchange/AdifContact.h"
#include "exchange/AdifReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    AdifReader reader(Fuzz::bytes(data, size));
    while (const std::optional<AdifRecord> record = reader.next()) {
        for (int i = 0; i < record->size(); ++i) {
            record->name(i);
            record->value(i);
        }
        AdifContact::fromRecord(*record);
    }
    return 0;
}
