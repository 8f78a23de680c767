#pragma once
// Pictures held in memory (a table's blob) decoded into a QImage. The format is
// told by the bytes themselves, never by a file name, which may have been cut.

#include <QByteArray>
#include <QImage>
#include <stdexcept>

namespace Image {

enum class Format { Unknown, Bmp, Jpeg };

// "BM" starts a BMP, FF D8 FF a JPEG.
Format sniffFormat(const QByteArray &bytes);

// A picture that cannot be decoded; the message says why.
class DecodeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Decodes a BMP or JPEG. A JPEG whose scan data ends early gives what was
// decoded (the rest grey), as viewers do. A JPEG is decoded at a reduced
// scale when that still covers `shown` (where it is shown, at its own
// proportions) or when its full size would pass the image-memory limit.
// Raises DecodeError for anything else that is not a whole picture, and for a
// JPEG of more scans than any camera writes (each costs a pass over the
// picture); never ends the program.
QImage decode(const QByteArray &bytes, QSize shown = {});

} // namespace Image
