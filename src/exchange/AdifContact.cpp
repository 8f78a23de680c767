#include "exchange/AdifContact.h"

#include "platform/format/TextFormat.h"

#include <array>

namespace AdifContact {

namespace {

using namespace Qt::StringLiterals;

constexpr BandName bandTable[] = {
    {"160M"_L1, "1.8"_L1}, {"80M"_L1, "3.5"_L1}, {"40M"_L1, "7"_L1},     {"30M"_L1, "10"_L1},
    {"20M"_L1, "14"_L1},   {"17M"_L1, "18"_L1},  {"15M"_L1, "21"_L1},    {"12M"_L1, "24"_L1},
    {"10M"_L1, "28"_L1},   {"6M"_L1, "50"_L1},   {"2M"_L1, "144"_L1},    {"70CM"_L1, "430"_L1},
    {"23CM"_L1, "1260"_L1}, {"SAT"_L1, "Satellite"_L1},
};

struct Edge {
    double low;
    double high;
    QLatin1StringView key;
};

constexpr Edge frequencyEdges[] = {
    {1.8, 2.0, "1.8"_L1},     {3.5, 4.0, "3.5"_L1},       {7.0, 7.3, "7"_L1},     {10.1, 10.15, "10"_L1},
    {14.0, 14.35, "14"_L1},   {18.068, 18.168, "18"_L1}, {21.0, 21.45, "21"_L1}, {24.89, 24.99, "24"_L1},
    {28.0, 29.7, "28"_L1},    {50.0, 54.0, "50"_L1},      {144.0, 148.0, "144"_L1}, {420.0, 450.0, "430"_L1},
    {1240.0, 1300.0, "1260"_L1},
};

// The fields the log takes; every other field is ignored.
enum Slot {
    Call, QsoDate, TimeOn, Freq, Band, Mode, RstSent, RstRcvd, Name, Qth,
    QslSent, QslRcvd, Notes, Comment, QslSDate, QslRDate, QslVia, SlotCount
};

constexpr QLatin1StringView slotNames[SlotCount] = {
    "CALL"_L1, "QSO_DATE"_L1, "TIME_ON"_L1,  "FREQ"_L1,     "BAND"_L1,     "MODE"_L1,
    "RST_SENT"_L1, "RST_RCVD"_L1, "NAME"_L1, "QTH"_L1,     "QSL_SENT"_L1, "QSL_RCVD"_L1,
    "NOTES"_L1, "COMMENT"_L1, "QSLSDATE"_L1, "QSLRDATE"_L1, "QSL_VIA"_L1,
};

int slotOf(QByteArrayView name)
{
    for (int s = 0; s < SlotCount; ++s) {
        if (AdifRecord::sameName(name, slotNames[s]))
            return s;
    }
    return -1;
}

bool allDigits(const QString &text)
{
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

int digits(const QString &text, int at, int count)
{
    return QStringView(text).mid(at, count).toInt();
}

// yyyymmdd -> dd.MM.yyyy; anything else is no date.
QString dateOf(const QString &adif)
{
    if (adif.size() != 8 || !allDigits(adif))
        return {};
    const QChar *d = adif.constData();
    const QChar text[] = {d[6], d[7], u'.', d[4], d[5], u'.', d[0], d[1], d[2], d[3]};
    return QString(text, 10);
}

// The one flag value that means the card went out or came in.
bool isYes(const QString &flag)
{
    return flag.trimmed().toUpper() == u"Y"_s;
}

// The date and flag joined as the log keeps them. Any text in the field
// means "sent" or "confirmed" to the rest of the program, so a date without
// a "Y" (a card requested, queued or still to come) leaves it empty.
QString qslText(const QString &adifDate, const QString &flag)
{
    if (!isYes(flag))
        return {};
    return TextFormat::cutToWidth(dateOf(adifDate) + u"  Y"_s, 12);
}

Result rejected()
{
    return Result{std::nullopt, {}, {}};
}

// A rejection whose box names the record by its call.
Result rejected(const QString &reason, const QString &call)
{
    return Result{std::nullopt, reason + u' ' + call, reason};
}

} // namespace

std::span<const BandName> bandNames()
{
    return bandTable;
}

std::optional<QString> bandOfName(const QString &band)
{
    for (const BandName &b : bandTable) {
        if (band.compare(b.adif, Qt::CaseInsensitive) == 0)
            return QString(b.key);
    }
    return std::nullopt;
}

std::optional<QString> bandOfFrequency(const QString &freq)
{
    const std::optional<double> mhz = TextFormat::parseNumber(freq);
    if (!mhz)
        return std::nullopt;
    for (const Edge &e : frequencyEdges) {
        if (*mhz >= e.low && *mhz <= e.high)
            return QString(e.key);
    }
    return std::nullopt;
}

QString bandKey(const QString &band)
{
    if (auto key = bandOfName(band))
        return *key;
    return bandOfFrequency(band).value_or(band);
}

Result fromRecord(const AdifRecord &record)
{
    std::array<int, SlotCount> at;
    at.fill(-1);
    for (int i = 0; i < record.size(); ++i) {
        const int s = slotOf(record.rawName(i));
        if (s >= 0 && at[size_t(s)] < 0)
            at[size_t(s)] = i;
    }
    auto present = [&](Slot s) { return at[size_t(s)] >= 0; };
    auto text = [&](Slot s) { return present(s) ? record.value(at[size_t(s)]) : QString(); };

    Contact c;
    c.call = text(Call).trimmed().toUpper();

    // Checked in the order the fields were always read, so a record gives at
    // most one box: a date or time that is no number, then one out of range.
    if (!present(QsoDate))
        return rejected();
    const QString date = text(QsoDate).trimmed();
    if (date.size() != 8 || !allDigits(date))
        return rejected(u"Invalid Date in ADIF file !"_s, c.call);
    const int year = digits(date, 0, 4), month = digits(date, 4, 2), day = digits(date, 6, 2);
    if (month > 12 || day > 31)
        return rejected();

    if (!present(TimeOn))
        return rejected();
    const QString time = text(TimeOn).trimmed();
    if ((time.size() != 4 && time.size() != 6) || !allDigits(time))
        return rejected(u"Invalid Time in ADIF file !"_s, c.call);
    const int hour = digits(time, 0, 2), minute = digits(time, 2, 2);
    if (hour > 23 || minute > 59)
        return rejected();

    c.rawBand = text(Band).trimmed().toUpper();
    const QString freq = text(Freq).trimmed();
    if (auto key = bandOfName(c.rawBand))
        c.band = *key;
    else if (auto key = bandOfFrequency(freq))
        c.band = *key;
    else // kept as written, so the contact is never lost; it marks nothing
        c.band = TextFormat::cutToWidth(c.rawBand.isEmpty() ? freq : c.rawBand, 6);
    c.mode = text(Mode).trimmed().toUpper();
    if (c.call.isEmpty() || c.mode.isEmpty() || c.band.isEmpty())
        return rejected();

    // Day 31 of February and day or month 0 pass the range test above.
    c.qsoDate = QDate(year, month, day);
    if (!c.qsoDate.isValid())
        return rejected(u"Error in ADIF file !"_s, c.call);
    c.qsoTime = QTime(hour, minute);
    c.date = dateOf(date);
    const QChar hhmm[] = {time[0], time[1], u':', time[2], time[3]};
    c.time = QString(hhmm, 5);

    c.rstRx = text(RstRcvd);
    c.rstTx = text(RstSent);
    c.name = text(Name);
    c.qth = text(Qth);
    const QString received = text(QslRcvd);
    c.txQsl = qslText(text(QslSDate), text(QslSent));
    c.rxQsl = qslText(text(QslRDate), received);
    c.confirmed = isYes(received);
    c.notepad = text(QslVia) + u"   "_s + text(Notes) + text(Comment);
    return Result{std::move(c), {}, {}};
}

} // namespace AdifContact
