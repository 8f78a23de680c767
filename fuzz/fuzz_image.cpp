// A picture from the picture store: a BMP or JPEG, or a DecodeError.

#include "FuzzInput.h"
#include "platform/image/ImageDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    try {
        Image::decode(Fuzz::bytes(data, size));
    } catch (const Image::DecodeError &) {
    }
    return 0;
}
