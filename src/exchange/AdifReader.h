#pragma once
// Reads ADIF files as other loggers write them: records end at <EOR> wherever
// the line breaks fall, tags in any case, lengths of any number of digits,
// optional type indicators. A record keeps byte spans into the file and
// decodes only the values a consumer asks for, so unknown and application
// fields cost nothing but their span.

#include <QByteArray>
#include <QByteArrayView>
#include <QLatin1StringView>
#include <QString>
#include <optional>
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

    QByteArray data_; // shared with the reader, never copied
    bool utf8_ = true;
    std::vector<Span> fields_;
};

class AdifReader {
public:
    // The encoding is decided here, once: UTF-8 when the whole file is valid
    // UTF-8, otherwise Windows-1251.
    explicit AdifReader(const QByteArray &file);

    bool isUtf8() const { return utf8_; }

    // The next record closed by <EOR>; nothing at the end of the file.
    std::optional<AdifRecord> next();

    // Records that held fields but never became whole: a field whose length
    // ran past the end of the file, or no <EOR> before the end.
    int droppedRecords() const { return dropped_; }
    // Bytes of the file read so far, and in all.
    qsizetype position() const { return pos_; }
    qsizetype size() const { return data_.size(); }

private:
    enum class Tag { None, Field, EndOfHeader, EndOfRecord, Broken };
    Tag readTag(AdifRecord::Span &span);
    qsizetype valueEnd(qsizetype at, qsizetype length) const;

    QByteArray data_;
    bool utf8_ = true;
    qsizetype pos_ = 0;
    int dropped_ = 0;
    std::vector<AdifRecord::Span> fields_; // the record being read; keeps its capacity
};
