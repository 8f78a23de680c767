#include "exchange/LogImport.h"

#include "awards/AwardMarks.h"
#include "awards/AwardsBehind.h"
#include "core/PrefixResolver.h"
#include "exchange/AdifContact.h"
#include "exchange/AdifReader.h"
#include "platform/format/TextFormat.h"
#include "platform/table/Table.h"
#include "platform/ui/Dialogs.h"

#include <algorithm>
#include <vector>

namespace LogImport {

namespace {

using AdifContact::Contact;

class DuplicateTest {
public:
    // The rows of one call and date are read through the index on call, date
    // and time: one seek per record, and only the fields compared.
    explicit DuplicateTest(Db::Table &lookup)
        : rows_(lookup, {keyField(), QStringLiteral("LogDate")}, {QStringLiteral("LogTime"), QStringLiteral("LogBand")}),
          bandWidth_(lookup.fieldByName(QStringLiteral("LogBand")).size())
    {
    }

    // Same call, date, hour and minute, and band; seconds do not count, so a
    // contact saved at 12:34:56 matches a file's 1234. The mode does not
    // count: loggers and confirmation services name one contact's mode
    // differently (USB and SSB, FT4 and MFSK, DATA and MT63). The band does:
    // one station on three bands in one minute is three contacts. It is
    // compared as the log would store the imported one, the stored band put
    // through the import's band rule too, so a stored "7.0" is the file's 40M.
    bool inLog(const Contact &c)
    {
        // As the log stores it: a control character of the file is a blank there.
        const QString call = TextFormat::blankControls(c.call);
        const std::vector<QStringList> &rows = rows_.find({call, c.qsoDate});
        if (rows.empty())
            return false;
        const QString band = bandAsStored(c.band);
        for (const QStringList &row : rows) {
            const QTime time = TextFormat::parseTime(row[0]).value_or(QTime());
            if (time.isValid() && time.hour() == c.qsoTime.hour() && time.minute() == c.qsoTime.minute() &&
                bandAsStored(row[1]) == band)
                return true;
        }
        return false;
    }

    // The field leading the index the test reads.
    static QString keyField() { return QStringLiteral("LogCall"); }

private:
    // A log and a file hold a handful of band texts, each read as a number
    // when it is no band name: every text is worked out once.
    QString bandAsStored(const QString &text)
    {
        if (const auto found = bands_.constFind(text); found != bands_.constEnd())
            return *found;
        if (bands_.size() >= 4096)
            bands_.clear(); // a file of made-up bands does not fill the memory
        // Upper case, as the import writes bands that are no key, cut to the field's width.
        return *bands_.insert(text, TextFormat::cutToWidth(AdifContact::bandKey(text).toUpper(), bandWidth_));
    }

    Db::EqualRows rows_;
    int bandWidth_;
    QHash<QString, QString> bands_;
};

// The log's fields, found once for the whole walk.
struct LogFields {
    explicit LogFields(Db::Table &log)
    {
        auto f = [&log](const char *name) { return &log.fieldByName(QString::fromLatin1(name)); };
        call = f("LogCall");
        pref = f("LogPref");
        obl = f("LogObl");
        date = f("LogDate");
        time = f("LogTime");
        band = f("LogBand");
        mode = f("LogMode");
        name = f("LogName");
        qth = f("LogQth");
        rxRst = f("LogRxRst");
        txRst = f("LogTxRst");
        txQsl = f("LogTxQsl");
        rxQsl = f("LogRxQsl");
        notepad = f("LogNotepad");
    }
    Db::Field *call, *pref, *obl, *date, *time, *band, *mode, *name, *qth, *rxRst, *txRst, *txQsl, *rxQsl, *notepad;
};

void store(Db::Table &log, const LogFields &f, const Contact &c, const std::optional<PrefixRow> &country)
{
    // A new row starts empty: LogOther and Log1 to Log4 stay so, and so do
    // the texts a record left empty.
    auto set = [](Db::Field *field, const QString &text) {
        if (!text.isEmpty())
            field->setAsString(text);
    };
    log.append();
    try {
        set(f.call, c.call);
        if (country) {
            set(f.pref, country->dxccPrefix);
            set(f.obl, country->country);
        }
        f.date->setAsDate(c.qsoDate);
        set(f.time, c.time);
        set(f.band, c.band);
        set(f.mode, c.mode);
        set(f.name, c.name);
        set(f.qth, c.qth);
        set(f.rxRst, c.rstRx);
        set(f.txRst, c.rstTx);
        set(f.txQsl, c.txQsl);
        set(f.rxQsl, c.rxQsl);
        set(f.notepad, c.notepad);
        log.post();
    } catch (...) {
        log.cancel(); // never a half-filled row left in the append state
        throw;
    }
}

// The first rejection with a message shows its box; every one is counted
// under its reason.
void countReason(Counts &counts, const AdifContact::Result &result)
{
    if (result.reason.isEmpty())
        return;
    const bool first = counts.reasons.isEmpty();
    auto it = std::find_if(counts.reasons.begin(), counts.reasons.end(),
                           [&result](const auto &r) { return r.first == result.reason; });
    if (it == counts.reasons.end())
        counts.reasons.append({result.reason, 1});
    else
        ++it->second;
    if (first)
        Ui::showWarning(result.message);
}

// Whether the rest of the walk runs faster with the log's indexes that the
// duplicate test does not read built again at the end, each in one sort,
// instead of growing by a random insert per contact: when the contacts still
// to come (as many per byte as those stored so far) outnumber the rows the
// log holds now, all of which the sorts read.
bool worthDeferringIndexes(int stored, int rowsBefore, const AdifReader &reader)
{
    if (stored == 0 || reader.position() <= 0)
        return false;
    const double toCome = double(stored) * double(reader.size() - reader.position()) / double(reader.position());
    return toCome > double(rowsBefore) + double(stored);
}

} // namespace

QString summary(const Counts &counts)
{
    QString text = QStringLiteral("ADIF import: %1 new, %2 already in the log, %3 rejected")
                       .arg(counts.added)
                       .arg(counts.duplicates)
                       .arg(counts.rejected);
    for (const auto &[reason, count] : counts.reasons)
        text += QStringLiteral("\n%1 rejected: %2").arg(count).arg(reason);
    if (counts.notesCut > 0)
        text += QStringLiteral("\n%1 notes cut to %2 characters").arg(counts.notesCut).arg(Db::maximumMemoLength);
    return text;
}

namespace {

Counts importRecords(AdifReader &reader, const Tables &tables, const Tick &tick)
{
    Counts counts;
    MarkBatch marks;
    AwardsBehind::Walk behind(tables.log.filePath(), AwardsBehind::Walk::Marks::Contacts);
    {
        PrefixCache countries(tables.allpref, tables.prefix, resolvedCharacters);
        DuplicateTest duplicates(tables.lookup);
        const LogFields fields(tables.log);
        // Counted at the first contact stored: a walk that stores none (a
        // file already imported) never counts.
        int rowsBefore = -1;
        bool deferred = false;
        Db::TableTransaction walk(tables.log);
        while (const auto record = reader.next()) {
            AdifContact::Result result = AdifContact::fromRecord(*record);
            if (!result.contact) {
                ++counts.rejected;
                countReason(counts, result);
            } else if (duplicates.inLog(*result.contact)) {
                ++counts.duplicates;
            } else {
                const Contact &c = *result.contact;
                if (c.notepad.size() > Db::maximumMemoLength)
                    ++counts.notesCut;
                const std::optional<PrefixRow> &country = countries.resolve(c.call);
                store(tables.log, fields, c, country);
                marks.add(country, c.band, c.mode, c.confirmed);
                ++counts.added;
                if (rowsBefore < 0)
                    rowsBefore = tables.lookup.recordCount() - 1;
                if (!deferred && worthDeferringIndexes(counts.added, rowsBefore, reader)) {
                    walk.deferIndexes({DuplicateTest::keyField()});
                    deferred = true;
                }
            }
            if (tick)
                tick(counts.added);
        }
        walk.commit();
        behind.logCommitted();
        counts.rejected += reader.droppedRecords();
    }

    // The log rows are committed; the marks derive from them.
    for (Db::Table *t : {&tables.dxcc, &tables.ur, &tables.waz}) {
        if (!t->isActive())
            t->open();
    }
    Db::TableTransaction dxcc(tables.dxcc), ur(tables.ur), waz(tables.waz);
    marks.markAll(tables.marks, [&] {
        if (tick)
            tick(counts.added);
    });
    waz.commit();
    ur.commit();
    dxcc.commit();
    behind.awardsCommitted();
    return counts;
}

} // namespace

Counts importFile(QIODevice &file, const Tables &tables, const Tick &tick)
{
    AdifReader reader(file);
    return importRecords(reader, tables, tick);
}

Counts importFile(const QByteArray &file, const Tables &tables, const Tick &tick)
{
    AdifReader reader(file);
    return importRecords(reader, tables, tick);
}

} // namespace LogImport
