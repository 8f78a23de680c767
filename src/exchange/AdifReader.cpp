#include "exchange/AdifReader.h"

#include "platform/format/TextFormat.h"

#include <QIODevice>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isContinuation(char c)
{
    return (uchar(c) & 0xC0) == 0x80;
}

// Bytes of the UTF-8 character that starts with `lead` (the file is valid UTF-8).
int utf8Length(char lead)
{
    const uchar c = uchar(lead);
    if (c < 0x80)
        return 1;
    if (c >= 0xF0)
        return 4;
    if (c >= 0xE0)
        return 3;
    return 2;
}

// How many bytes of `bytes` hold whole characters: a character cut by the
// piece's end is left for the next piece. Valid UTF-8 is valid piece by
// piece when every cut falls between characters.
qsizetype wholeCharacters(QByteArrayView bytes)
{
    const qsizetype n = bytes.size();
    for (qsizetype back = 1; back <= std::min<qsizetype>(4, n); ++back) {
        const char c = bytes[n - back];
        if (!isContinuation(c))
            return back < utf8Length(c) ? n - back : n;
    }
    return n;
}

// One character per byte, decoded once.
const std::array<QChar, 256> &table1251()
{
    static const std::array<QChar, 256> table = [] {
        QByteArray bytes(256, '\0');
        for (int i = 0; i < 256; ++i)
            bytes[i] = char(i);
        const QString text = TextFormat::decode1251(bytes);
        std::array<QChar, 256> t{};
        for (int i = 0; i < 256; ++i)
            t[size_t(i)] = i < text.size() && text.size() == 256 ? text.at(i) : QChar(i);
        return t;
    }();
    return table;
}

} // namespace

QByteArrayView AdifRecord::rawName(int i) const
{
    const Span &s = fields_[size_t(i)];
    return QByteArrayView(data_.constData() + s.nameAt, s.nameLength);
}

QByteArrayView AdifRecord::rawValue(int i) const
{
    const Span &s = fields_[size_t(i)];
    return QByteArrayView(data_.constData() + s.valueAt, s.valueLength);
}

QString AdifRecord::name(int i) const
{
    const Span &s = fields_[size_t(i)];
    return QString::fromLatin1(data_.constData() + s.nameAt, s.nameLength).toUpper();
}

QString AdifRecord::value(int i) const
{
    const Span &s = fields_[size_t(i)];
    return decode(s.valueAt, s.valueLength);
}

int AdifRecord::indexOf(QLatin1StringView name) const
{
    for (int i = 0; i < size(); ++i) {
        if (sameName(rawName(i), name))
            return i;
    }
    return -1;
}

QString AdifRecord::value(QLatin1StringView name) const
{
    const int i = indexOf(name);
    return i < 0 ? QString() : value(i);
}

QString AdifRecord::decode(qsizetype at, qsizetype length) const
{
    const char *bytes = data_.constData() + at;
    if (utf8_)
        return QString::fromUtf8(bytes, length);
    const auto &table = table1251();
    QString text(length, Qt::Uninitialized);
    QChar *out = text.data();
    for (qsizetype i = 0; i < length; ++i)
        out[i] = table[uchar(bytes[i])];
    return text;
}

AdifReader::AdifReader(const QByteArray &file)
    : buffer_(file), size_(file.size()), utf8_(file.isValidUtf8())
{
}

AdifReader::AdifReader(QIODevice &device, qsizetype piece)
    : device_(&device), piece_(std::max<qsizetype>(piece, 1)), size_(std::max<qint64>(0, device.size() - device.pos()))
{
    decideEncoding();
}

qsizetype AdifReader::readInto(char *to, qsizetype length)
{
    qsizetype got = 0;
    while (got < length) {
        const qint64 n = device_->read(to + got, length - got);
        if (n < 0)
            throw ReadError(device_->errorString().toStdString());
        if (n == 0)
            break;
        got += qsizetype(n);
    }
    return got;
}

// One pass over the file, a piece at a time, before any record: the encoding
// holds for the whole file. The device goes back to where it stood.
void AdifReader::decideEncoding()
{
    const qint64 start = device_->pos();
    QByteArray piece(piece_ + 3, Qt::Uninitialized);
    qsizetype carried = 0, total = 0;
    while (utf8_ && total < size_) {
        const qsizetype got = readInto(piece.data() + carried, std::min(piece_, size_ - total));
        if (got == 0)
            break;
        total += got;
        const QByteArrayView bytes(piece.constData(), carried + got);
        const qsizetype whole = wholeCharacters(bytes);
        utf8_ = bytes.first(whole).isValidUtf8();
        carried = bytes.size() - whole;
        std::memmove(piece.data(), piece.constData() + whole, size_t(carried));
    }
    utf8_ = utf8_ && carried == 0;
    if (!device_->seek(start))
        throw ReadError(device_->errorString().toStdString());
}

// Whether the byte at `at` exists, reading pieces until it is in the buffer.
bool AdifReader::available(qsizetype at)
{
    while (at >= base_ + buffer_.size()) {
        if (!device_ || read_ >= size_)
            return false;
        readPiece();
    }
    return true;
}

// Drops what neither the record being read nor the tag being read needs and
// appends the next piece. A record handed out still holds the old buffer:
// then the kept bytes move to a new one.
void AdifReader::readPiece()
{
    const qsizetype keep = fields_.empty() ? keep_ : std::min(keep_, fields_.front().nameAt);
    const qsizetype drop = std::clamp<qsizetype>(keep - base_, 0, buffer_.size());
    const qsizetype kept = buffer_.size() - drop;
    const qsizetype want = std::min(piece_, size_ - read_);
    if (buffer_.isDetached()) {
        std::memmove(buffer_.data(), buffer_.constData() + drop, size_t(kept));
        buffer_.resize(kept);
    } else {
        QByteArray fresh;
        fresh.reserve(std::max(kept + want, 2 * piece_));
        fresh.append(buffer_.constData() + drop, kept);
        buffer_.swap(fresh);
    }
    base_ += drop;
    buffer_.resize(kept + want);
    const qsizetype got = readInto(buffer_.data() + kept, want);
    buffer_.resize(kept + got);
    read_ += got;
    if (got < want)
        size_ = read_; // the file shrank since it was opened: it ends here
}

// The position of the next `c` from `from` on, or -1. What lies before the
// search point is not needed by the tag.
qsizetype AdifReader::find(char c, qsizetype from)
{
    for (keep_ = from; available(from); keep_ = from) {
        const char *at = buffer_.constData() + (from - base_);
        const qsizetype end = base_ + buffer_.size();
        if (const void *hit = std::memchr(at, c, size_t(end - from)))
            return from + (static_cast<const char *>(hit) - at);
        from = end;
    }
    return -1;
}

// Both kinds of writer exist: most count a value's bytes, some its characters.
// The byte count wins unless it splits a character or the text after it
// cannot follow a value; then the character count is tried.
qsizetype AdifReader::valueEnd(qsizetype at, qsizetype length)
{
    const qsizetype byteEnd = at + length;
    if (!utf8_)
        return byteEnd;
    bool ascii = true;
    for (qsizetype i = at; i < byteEnd && ascii; ++i)
        ascii = uchar(byte(i)) < 0x80;
    if (ascii)
        return byteEnd; // both counts agree
    auto canFollow = [&](qsizetype i) {
        if (!available(i))
            return true;
        const char c = byte(i);
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '<';
    };
    if ((!available(byteEnd) || !isContinuation(byte(byteEnd))) && canFollow(byteEnd))
        return byteEnd;
    qsizetype i = at;
    qsizetype chars = 0;
    for (; chars < length && available(i); ++chars)
        i += utf8Length(byte(i));
    if (chars == length && available(i - 1) && canFollow(i))
        return i;
    return byteEnd;
}

// Reads up to and including the next tag. Text between tags and malformed
// tags are passed over; every step moves forward, so no input can loop.
AdifReader::Tag AdifReader::readTag(AdifRecord::Span &span)
{
    for (;;) {
        const qsizetype open = find('<', pos_);
        if (open < 0) {
            pos_ = size_;
            return Tag::None;
        }
        keep_ = open;
        qsizetype p = open + 1;
        while (available(p) && byte(p) != ':' && byte(p) != '>' && byte(p) != '<')
            ++p;
        if (!available(p) || byte(p) == '<') {
            pos_ = p;
            continue;
        }
        const QByteArrayView name(buffer_.constData() + (open + 1 - base_), p - open - 1);
        Tag mark = Tag::None;
        if (AdifRecord::sameName(name, QLatin1StringView("EOR")))
            mark = Tag::EndOfRecord;
        else if (AdifRecord::sameName(name, QLatin1StringView("EOH")))
            mark = Tag::EndOfHeader;
        if (byte(p) == '>' || mark != Tag::None) {
            // A mark, or a tag without a length that carries no value.
            const qsizetype gt = find('>', p);
            pos_ = gt >= 0 ? gt + 1 : size_;
            if (mark != Tag::None)
                return mark;
            continue;
        }
        // Length digits, read exactly; a length beyond the file saturates.
        qsizetype q = p + 1;
        qint64 length = 0;
        const qint64 limit = std::numeric_limits<qint32>::max();
        const qsizetype digitsAt = q;
        for (; available(q) && isDigit(byte(q)); ++q)
            length = std::min(limit, length * 10 + (byte(q) - '0'));
        if (q == digitsAt || !available(q) || (byte(q) != '>' && byte(q) != ':')) {
            pos_ = q;
            continue;
        }
        if (byte(q) == ':') { // type indicator
            while (available(q) && byte(q) != '>' && byte(q) != '<')
                ++q;
            if (!available(q) || byte(q) == '<') {
                pos_ = q;
                continue;
            }
        }
        const qsizetype valueAt = q + 1;
        if (length > size_ - valueAt || (length > 0 && !available(valueAt + length - 1))) {
            pos_ = valueAt;
            return Tag::Broken;
        }
        const qsizetype end = valueEnd(valueAt, qsizetype(length));
        span = {open + 1, p - open - 1, valueAt, end - valueAt};
        pos_ = end;
        return Tag::Field;
    }
}

std::optional<AdifRecord> AdifReader::next()
{
    fields_.clear();
    bool broken = false;
    for (;;) {
        AdifRecord::Span span{};
        switch (readTag(span)) {
        case Tag::None:
            if (broken || !fields_.empty())
                ++dropped_;
            fields_.clear();
            return std::nullopt;
        case Tag::Field:
            fields_.push_back(span);
            break;
        case Tag::Broken:
            // The record is lost at its end mark whatever follows: its fields
            // need not be kept in the buffer.
            broken = true;
            fields_.clear();
            break;
        case Tag::EndOfHeader:
            fields_.clear();
            broken = false;
            break;
        case Tag::EndOfRecord:
            if (broken) {
                ++dropped_;
                fields_.clear();
                broken = false;
                break;
            }
            if (fields_.empty())
                break; // a stray mark
            AdifRecord record;
            record.data_ = buffer_;
            record.utf8_ = utf8_;
            record.fields_ = fields_;
            for (AdifRecord::Span &s : record.fields_) {
                s.nameAt -= base_;
                s.valueAt -= base_;
            }
            return record;
        }
    }
}
