#pragma once
// Reads ADIF files as other loggers write them: records end at <EOR> wherever
// the line breaks fall, tags in any case, lengths of any number of digits,
// optional type indicators. A record keeps byte spans into the reader's
// buffer and decodes only the values a consumer asks for, so unknown and
// application fields cost nothing but their span. A file on disk is read in
// pieces: only the record being read is kept across a piece's end, so a log
// of a million contacts never sits in memory whole.

#include <QByteArray>
#include <QByteArrayView>
#include <QLatin1StringView>
#include <QString>

class QIODevice;
#include <optional>
#include <stdexcept>
#include <vector>

class AdifRecord {
public:
    int size() const { return int(fields_.size()); }
    // The field's name as written (any case) and its value's bytes.
    QByteArrayView rawName(int i) const;
    QByteArrayView rawValue(int i) const;
    QString name(int i) const; // upper-cased
    QString value(int i) const;

    // Case-insensitive; the first field of that name counts.
    bool has(QLatin1StringView name) const { return indexOf(name) >= 0; }
    QString value(QLatin1StringView name) const; // "" when absent
    int indexOf(QLatin1StringView name) const;

    // ASCII case-insensitive comparison of a raw name with a name; inline,
    // as it runs for every field of every record.
    static bool sameName(QByteArrayView raw, QLatin1StringView name)
    {
        if (raw.size() != name.size())
            return false;
        for (qsizetype i = 0; i < raw.size(); ++i) {
            const char a = raw[i], b = name.data()[i];
            if (a != b && ((a | 0x20) != (b | 0x20) || (a | 0x20) < 'a' || (a | 0x20) > 'z'))
                return false;
        }
        return true;
    }

private:
    friend class AdifReader;
    struct Span {
        qsizetype nameAt;
        qsizetype nameLength;
        qsizetype valueAt;
        qsizetype valueLength;
    };
    QString decode(qsizetype at, qsizetype length) const;

    QByteArray data_; // the reader's buffer, shared, never copied
    bool utf8_ = true;
    std::vector<Span> fields_;
};

class AdifReader {
public:
    // A device that failed to read; `what()` is the device's reason.
    class ReadError : public std::runtime_error {
    public:
        using std::runtime_error::runtime_error;
    };

    static constexpr qsizetype defaultPiece = 1 << 20;

    // The encoding is decided here, once: UTF-8 when the whole file is valid
    // UTF-8, otherwise Windows-1251.
    explicit AdifReader(const QByteArray &file);
    // Reads `device` from where it stands to its end, `piece` bytes at a time:
    // once here for the encoding, then again as the records are asked for.
    // The device must be able to seek back. Throws ReadError.
    explicit AdifReader(QIODevice &device, qsizetype piece = defaultPiece);

    bool isUtf8() const { return utf8_; }

    // The next record closed by <EOR>; nothing at the end of the file.
    // Throws ReadError.
    std::optional<AdifRecord> next();

    // Records that held fields but never became whole: a field whose length
    // ran past the end of the file, or no <EOR> before the end.
    int droppedRecords() const { return dropped_; }
    // Bytes of the file read so far, and in all.
    qsizetype position() const { return pos_; }
    qsizetype size() const { return size_; }

private:
    enum class Tag { None, Field, EndOfHeader, EndOfRecord, Broken };
    Tag readTag(AdifRecord::Span &span);
    qsizetype valueEnd(qsizetype at, qsizetype length);
    void decideEncoding();
    // Positions count from the file's start; the buffer holds [base_, base_ + buffer_.size()).
    bool available(qsizetype at);
    char byte(qsizetype at) const { return buffer_.constData()[at - base_]; }
    qsizetype find(char c, qsizetype from);
    void readPiece();
    qsizetype readInto(char *to, qsizetype length);

    QIODevice *device_ = nullptr; // none: the whole file is in the buffer
    qsizetype piece_ = defaultPiece;
    QByteArray buffer_;
    qsizetype base_ = 0;
    qsizetype read_ = 0; // bytes taken from the device
    qsizetype size_ = 0;
    qsizetype keep_ = 0; // the first byte the tag being read still needs
    bool utf8_ = true;
    qsizetype pos_ = 0;
    int dropped_ = 0;
    std::vector<AdifRecord::Span> fields_; // the record being read; keeps its capacity
};
