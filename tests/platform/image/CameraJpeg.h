#pragma once
// A camera-sized JPEG for tests, written row by row with libjpeg so the test
// never holds the whole picture.

#include <QByteArray>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <vector>

// Red above the middle, blue below.
inline QByteArray cameraJpeg(int width, int height, bool progressive)
{
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char *out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 50, TRUE);
    if (progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(size_t(width) * 3);
    while (info.next_scanline < info.image_height) {
        const bool top = int(info.next_scanline) < height / 2;
        for (size_t x = 0; x < row.size(); x += 3) {
            row[x] = top ? 200 : 20;
            row[x + 1] = top ? 30 : 40;
            row[x + 2] = top ? 40 : 220;
        }
        JSAMPROW line = row.data();
        jpeg_write_scanlines(&info, &line, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    const QByteArray bytes(reinterpret_cast<const char *>(out), qsizetype(size));
    std::free(out);
    return bytes;
}


// A progressive JPEG whose last scan comes `times` times over: each repeat
// only refines what is there, so the picture stays whole.
inline QByteArray repeatedLastScan(const QByteArray &jpeg, int times)
{
    const qsizetype lastScan = jpeg.lastIndexOf(QByteArray("\xFF\xDA", 2));
    const qsizetype end = jpeg.lastIndexOf(QByteArray("\xFF\xD9", 2));
    const QByteArray scan = jpeg.mid(lastScan, end - lastScan);
    return jpeg.left(end) + scan.repeated(times - 1) + jpeg.mid(end);
}
