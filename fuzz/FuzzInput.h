#pragma once
// What every target starts from: libFuzzer's bytes as the file contents a
// reader is handed, copied so they end in a NUL as a file read by Qt does,
// and the same bytes as text, decoded as the program decodes its files.

#include "platform/format/TextFormat.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace Fuzz {

inline QByteArray bytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

inline QString text(const uint8_t *data, size_t size)
{
    return TextFormat::decodeText(bytes(data, size));
}

} // namespace Fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);
