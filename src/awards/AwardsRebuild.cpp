#include "awards/AwardsRebuild.h"

#include "awards/AwardCells.h"
#include "awards/AwardMarks.h"
#include "core/PrefixResolver.h"
#include "platform/format/TextFormat.h"
#include "platform/table/Table.h"

#include <QHash>
#include <QSet>
#include <vector>

namespace AwardsRebuild {

namespace {

constexpr int resolvedLength = 4;
constexpr int countryWidth = 15; // the log's LogObl
constexpr int blockRows = 4096;

// The longest leading part of a call that is an added prefix decides its
// country, so each such part is resolved once per rebuild; the added
// prefixes are read in one go first.
class Resolutions {
public:
    Resolutions(Db::Table &allpref, Db::Table &prefix) : allpref_(allpref), prefix_(prefix)
    {
        const int column = allpref.fieldByName(QStringLiteral("AddPrefix")).column();
        for (const Db::RowTexts &row : allpref.readRows(0, allpref.recordCount()))
            added_.insert(row.texts.at(column));
    }
    const std::optional<PrefixRow> &operator()(const QString &call)
    {
        for (int k = int(std::min<qsizetype>(resolvedLength, call.size())); k >= 1; --k) {
            const QString part = call.left(k);
            if (!added_.contains(part))
                continue;
            auto found = known_.constFind(part);
            if (found == known_.constEnd())
                found = known_.insert(part, resolvePrefix(allpref_, prefix_, part, resolvedLength));
            return *found;
        }
        return none_;
    }

private:
    Db::Table &allpref_;
    Db::Table &prefix_;
    QSet<QString> added_;
    QHash<QString, std::optional<PrefixRow>> known_;
    const std::optional<PrefixRow> none_;
};

// Marks only move up and each award row is added once, so contacts alike in
// everything the marking reads need marking once; what they are alike in is
// the key.
class Pending {
public:
    void add(const PrefixRow &row, const QString &band, const QString &mode, bool confirmed)
    {
        const QChar sep(u'\x1f');
        QString key = row.dxccPrefix + sep + row.prefix + sep + row.cqZone + sep + band + sep +
                      QString::number(int(AwardCells::modeClass(mode))) + (confirmed ? u'Y' : u'N');
        if (seen_.contains(key))
            return;
        seen_.insert(std::move(key));
        list_.push_back({row, band, mode, confirmed});
    }
    void markAll(AwardMarks &marks) const
    {
        for (const Mark &m : list_)
            marks.mark(m.row, m.band, m.mode, m.confirmed);
    }

private:
    struct Mark {
        PrefixRow row;
        QString band;
        QString mode;
        bool confirmed;
    };
    QSet<QString> seen_;
    std::vector<Mark> list_;
};

} // namespace

void rebuild(const Tables &t, bool clearFirst, const Step &step)
{
    for (Db::Table *table : {&t.allpref, &t.prefix, &t.dxcc, &t.ur, &t.waz})
        if (!table->isActive())
            table->open();
    Db::TableTransaction log(t.log), dxcc(t.dxcc), ur(t.ur), waz(t.waz);
    if (clearFirst)
        t.marks.clearAll();

    Resolutions resolve(t.allpref, t.prefix);
    Pending pending;
    const auto column = [&t](const char *name) { return t.log.fieldByName(QString::fromLatin1(name)).column(); };
    const int call = column("LogCall"), band = column("LogBand"), mode = column("LogMode"),
              rxQsl = column("LogRxQsl"), country = column("LogObl");
    // Rows are read a block at a time, which costs a fraction of a move per
    // row; the countries to correct are written once the reading is done.
    std::vector<std::pair<qint64, QString>> corrections;
    const int total = t.log.recordCount();
    for (int offset = 0; offset < total; offset += blockRows) {
        for (const Db::RowTexts &r : t.log.readRows(offset, blockRows)) {
            if (step)
                step();
            const std::optional<PrefixRow> &row = resolve(r.texts.at(call));
            // A call that resolves to no country, or to one outside DXCC, is passed over.
            if (!row || row->dxccPrefix.isEmpty())
                continue;
            pending.add(*row, r.texts.at(band), r.texts.at(mode), !r.texts.at(rxQsl).isEmpty());
            QString resolved = TextFormat::cutToWidth(row->country, countryWidth);
            if (resolved != r.texts.at(country))
                corrections.emplace_back(r.rowId, std::move(resolved));
        }
    }
    Db::Field &countryField = t.log.fieldByName(QStringLiteral("LogObl"));
    for (const auto &[rowId, text] : corrections) {
        if (!t.log.moveToRowId(rowId))
            continue;
        t.log.edit();
        try {
            countryField.setAsString(text);
            t.log.post();
        } catch (...) {
            t.log.cancel();
            throw;
        }
    }
    pending.markAll(t.marks);
    log.commit();
    waz.commit();
    ur.commit();
    dxcc.commit();
}

} // namespace AwardsRebuild
