#include "platform/image/ImageDecoder.h"

#include <QImageReader>
#include <csetjmp>
#include <memory>
#include <cstdio>
#include <jpeglib.h>
#include <string>

namespace Image {

Format sniffFormat(const QByteArray &bytes)
{
    if (bytes.startsWith("BM"))
        return Format::Bmp;
    if (bytes.size() >= 3 && uchar(bytes[0]) == 0xFF && uchar(bytes[1]) == 0xD8 && uchar(bytes[2]) == 0xFF)
        return Format::Jpeg;
    return Format::Unknown;
}

namespace {

// libjpeg's own error_exit calls exit(); ours jumps back to the decoder
// instead, keeping the library's message for the error box.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void errorExit(j_common_ptr info)
{
    auto *manager = reinterpret_cast<ErrorManager *>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

// Warnings (a truncated scan) are not the operator's business; stderr stays quiet.
void outputMessage(j_common_ptr) {}

// Adobe writes CMYK JPEGs inverted; libjpeg cannot turn them into RGB itself.
void cmykToRgb(const uchar *in, uchar *out, JDIMENSION width)
{
    for (JDIMENSION x = 0; x < width; ++x, in += 4, out += 4) {
        const int k = in[3];
        out[0] = uchar(in[0] * k / 255);
        out[1] = uchar(in[1] * k / 255);
        out[2] = uchar(in[2] * k / 255);
        out[3] = 0xFF;
    }
}

// Everything that must survive a longjmp lives here, outside the jumping
// frame's registers; no object with a destructor is created after setjmp.
struct JpegJob {
    jpeg_decompress_struct info;
    ErrorManager error;
    jpeg_progress_mgr progress;
    QImage image;
    bool started = false;
};

// Pictures larger than this are refused whatever their scale: a hundred
// megapixels is beyond any camera an operator sends pictures from.
constexpr qint64 maximumPixels = 100'000'000;

// A progressive picture comes in about ten scans; each scan is decoded over
// the whole picture, so a file that repeats one thousands of times keeps the
// window busy for as many passes.
constexpr int maximumScans = 500;
constexpr char tooManyScans[] = "The picture has too many scans";

// libjpeg reports its progress between passes over the input; there a
// picture past the scan limit is given up like a damaged one.
void countScans(j_common_ptr common)
{
    const auto *info = reinterpret_cast<j_decompress_ptr>(common);
    if (info->input_scan_number <= maximumScans)
        return;
    auto *manager = reinterpret_cast<ErrorManager *>(common->err);
    std::snprintf(manager->message, sizeof manager->message, "%s", tooManyScans);
    std::longjmp(manager->jump, 1);
}

// libjpeg's full-image coefficient buffers, needed when the picture comes in
// more than one scan (progressive); scaling does not shrink them.
qint64 coefficientBytes(const jpeg_decompress_struct &info)
{
    const bool multiScan = info.progressive_mode || info.comps_in_scan < info.num_components;
    if (!multiScan)
        return 0;
    auto roundUp = [](qint64 value, qint64 step) { return (value + step - 1) / step * step; };
    qint64 bytes = 0;
    for (int c = 0; c < info.num_components; ++c) {
        const jpeg_component_info &component = info.comp_info[c];
        bytes += roundUp(component.width_in_blocks, component.h_samp_factor) *
                 roundUp(component.height_in_blocks, component.v_samp_factor) * qint64(sizeof(JBLOCK));
    }
    return bytes;
}

// Chooses libjpeg's DCT scale (eighths): the smallest that still covers `shown`
// at the picture's proportions, and never one whose pixels pass `limit`.
void chooseScale(jpeg_decompress_struct &info, QSize shown, qint64 limit)
{
    const QSize full(int(info.image_width), int(info.image_height));
    const QSize wanted = shown.isValid() ? full.scaled(shown, Qt::KeepAspectRatio).boundedTo(full) : full;
    for (unsigned eighths = 8; eighths >= 1; --eighths) {
        info.scale_num = eighths;
        info.scale_denom = 8;
        jpeg_calc_output_dimensions(&info);
        const bool fits = limit <= 0 || qint64(info.output_width) * info.output_height * 4 <= limit;
        const unsigned smaller = eighths - 1;
        // Can one eighth less still cover what is shown?
        const bool smallerCovers = smaller >= 1 && qint64(full.width()) * smaller / 8 >= wanted.width() &&
                                   qint64(full.height()) * smaller / 8 >= wanted.height();
        if (fits && !smallerCovers)
            return;
    }
}

// Returns an empty string on success, else libjpeg's message.
std::string decodeJpeg(JpegJob &job, const QByteArray &bytes, QSize shown)
{
    job.info.err = jpeg_std_error(&job.error.pub);
    job.error.pub.error_exit = errorExit;
    job.error.pub.output_message = outputMessage;
    job.error.message[0] = '\0';
    if (setjmp(job.error.jump)) {
        if (job.started)
            jpeg_destroy_decompress(&job.info);
        return job.error.message[0] ? std::string(job.error.message) : std::string("JPEG error");
    }
    jpeg_create_decompress(&job.info);
    job.started = true;
    job.progress.progress_monitor = countScans;
    job.info.progress = &job.progress;
    jpeg_mem_src(&job.info, reinterpret_cast<const unsigned char *>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    // The size comes from the picture's header: a damaged one may claim tens
    // of thousands of pixels a side. Such a picture is refused before
    // anything is allocated for it, within the limit Qt keeps for BMPs;
    // libjpeg's own buffers are held to it as well.
    const qint64 limit = qint64(QImageReader::allocationLimit()) * 1024 * 1024;
    if (limit > 0)
        job.info.mem->max_memory_to_use = long(limit);
    jpeg_read_header(&job.info, TRUE);
    chooseScale(job.info, shown, limit);
    if (qint64(job.info.image_width) * job.info.image_height > maximumPixels ||
        (limit > 0 && (qint64(job.info.output_width) * job.info.output_height * 4 > limit ||
                       coefficientBytes(job.info) > limit))) {
        jpeg_destroy_decompress(&job.info);
        return "The picture is too large";
    }
    const bool cmyk = job.info.jpeg_color_space == JCS_CMYK || job.info.jpeg_color_space == JCS_YCCK;
    job.info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBX;
    jpeg_start_decompress(&job.info);
    job.image = QImage(int(job.info.output_width), int(job.info.output_height), QImage::Format_RGBX8888);
    if (job.image.isNull()) {
        jpeg_destroy_decompress(&job.info);
        return "The picture is too large";
    }
    while (job.info.output_scanline < job.info.output_height) {
        uchar *line = job.image.scanLine(int(job.info.output_scanline));
        JSAMPROW row = line;
        jpeg_read_scanlines(&job.info, &row, 1);
        if (cmyk)
            cmykToRgb(line, line, job.info.output_width);
    }
    jpeg_finish_decompress(&job.info);
    jpeg_destroy_decompress(&job.info);
    return {};
}

} // namespace

QImage decode(const QByteArray &bytes, QSize shown)
{
    switch (sniffFormat(bytes)) {
    case Format::Bmp: {
        QImage image = QImage::fromData(bytes, "BMP");
        if (image.isNull())
            throw DecodeError("Bitmap image is not valid");
        return image;
    }
    case Format::Jpeg: {
        auto job = std::make_unique<JpegJob>();
        const std::string failure = decodeJpeg(*job, bytes, shown);
        if (!failure.empty())
            throw DecodeError("JPEG error: " + failure);
        return job->image;
    }
    case Format::Unknown:
        break;
    }
    throw DecodeError("Unknown picture file extension");
}

} // namespace Image
