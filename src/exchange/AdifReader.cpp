#include "exchange/AdifReader.h"

#include "platform/format/TextFormat.h"

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
    : data_(file), utf8_(file.isValidUtf8())
{
}

// Both kinds of writer exist: most count a value's bytes, some its characters.
// The byte count wins unless it splits a character or the text after it
// cannot follow a value; then the character count is tried.
qsizetype AdifReader::valueEnd(qsizetype at, qsizetype length) const
{
    const qsizetype byteEnd = at + length;
    if (!utf8_)
        return byteEnd;
    const char *d = data_.constData();
    const qsizetype size = data_.size();
    bool ascii = true;
    for (qsizetype i = at; i < byteEnd && ascii; ++i)
        ascii = uchar(d[i]) < 0x80;
    if (ascii)
        return byteEnd; // both counts agree
    auto canFollow = [&](qsizetype i) {
        return i >= size || d[i] == ' ' || d[i] == '\t' || d[i] == '\r' || d[i] == '\n' || d[i] == '<';
    };
    if ((byteEnd >= size || !isContinuation(d[byteEnd])) && canFollow(byteEnd))
        return byteEnd;
    qsizetype i = at;
    qsizetype chars = 0;
    for (; chars < length && i < size; ++chars)
        i += utf8Length(d[i]);
    if (chars == length && i <= size && canFollow(i))
        return i;
    return byteEnd;
}

// Reads up to and including the next tag. Text between tags and malformed
// tags are passed over; every step moves forward, so no input can loop.
AdifReader::Tag AdifReader::readTag(AdifRecord::Span &span)
{
    const char *d = data_.constData();
    const qsizetype size = data_.size();
    while (pos_ < size) {
        const void *lt = std::memchr(d + pos_, '<', size_t(size - pos_));
        if (!lt) {
            pos_ = size;
            return Tag::None;
        }
        const qsizetype open = static_cast<const char *>(lt) - d;
        qsizetype p = open + 1;
        while (p < size && d[p] != ':' && d[p] != '>' && d[p] != '<')
            ++p;
        if (p >= size || d[p] == '<') {
            pos_ = p;
            continue;
        }
        const QByteArrayView name(d + open + 1, p - open - 1);
        Tag mark = Tag::None;
        if (AdifRecord::sameName(name, QLatin1StringView("EOR")))
            mark = Tag::EndOfRecord;
        else if (AdifRecord::sameName(name, QLatin1StringView("EOH")))
            mark = Tag::EndOfHeader;
        if (d[p] == '>' || mark != Tag::None) {
            // A mark, or a tag without a length that carries no value.
            const void *gt = std::memchr(d + p, '>', size_t(size - p));
            pos_ = gt ? static_cast<const char *>(gt) - d + 1 : size;
            if (mark != Tag::None)
                return mark;
            continue;
        }
        // Length digits, read exactly; a length beyond the file saturates.
        qsizetype q = p + 1;
        qint64 length = 0;
        const qint64 limit = std::numeric_limits<qint32>::max();
        const qsizetype digitsAt = q;
        for (; q < size && isDigit(d[q]); ++q)
            length = std::min(limit, length * 10 + (d[q] - '0'));
        if (q == digitsAt || q >= size || (d[q] != '>' && d[q] != ':')) {
            pos_ = q;
            continue;
        }
        if (d[q] == ':') { // type indicator
            while (q < size && d[q] != '>' && d[q] != '<')
                ++q;
            if (q >= size || d[q] == '<') {
                pos_ = q;
                continue;
            }
        }
        const qsizetype valueAt = q + 1;
        if (length > size - valueAt) {
            pos_ = valueAt;
            return Tag::Broken;
        }
        const qsizetype end = valueEnd(valueAt, qsizetype(length));
        span = {open + 1, p - open - 1, valueAt, end - valueAt};
        pos_ = end;
        return Tag::Field;
    }
    return Tag::None;
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
            broken = true;
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
            record.data_ = data_;
            record.utf8_ = utf8_;
            record.fields_ = fields_;
            return record;
        }
    }
}
