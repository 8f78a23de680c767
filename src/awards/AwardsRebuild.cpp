#include "awards/AwardsRebuild.h"

#include "awards/AwardMarks.h"
#include "awards/AwardsBehind.h"
#include "core/PrefixResolver.h"
#include "platform/format/TextFormat.h"
#include "platform/table/Table.h"

#include <vector>

namespace AwardsRebuild {

namespace {

constexpr int countryWidth = 15; // the log's LogObl

} // namespace

void rebuild(const Tables &t, bool clearFirst, const Step &step)
{
    for (Db::Table *table : {&t.allpref, &t.prefix, &t.dxcc, &t.ur, &t.waz})
        if (!table->isActive())
            table->open();
    // Cleared first, the walk goes over the whole log (the caller's contract):
    // a lag from before it is made up.
    AwardsBehind::Walk behind(t.log.filePath(),
                              clearFirst ? AwardsBehind::Walk::Marks::WholeLog : AwardsBehind::Walk::Marks::Contacts);
    Db::TableTransaction log(t.log), dxcc(t.dxcc), ur(t.ur), waz(t.waz);
    if (clearFirst)
        t.marks.clearAll();

    PrefixCache countries(t.allpref, t.prefix, resolvedCharacters);
    MarkBatch pending;
    enum { call, band, mode, rxQsl, country };
    const QStringList fields{QStringLiteral("LogCall"), QStringLiteral("LogBand"), QStringLiteral("LogMode"),
                             QStringLiteral("LogRxQsl"), QStringLiteral("LogObl")};
    // Each row is read once; the countries to correct are written once the
    // reading is done.
    std::vector<std::pair<qint64, QString>> corrections;
    t.log.walkRows(fields, [&](qint64 rowId, const QStringList &texts) {
        if (step)
            step();
        const std::optional<PrefixRow> &row = countries.resolve(texts.at(call));
        // A call that resolves to no country, or to one outside DXCC, is passed over.
        if (!row || row->dxccPrefix.isEmpty())
            return;
        pending.add(row, texts.at(band), texts.at(mode), !texts.at(rxQsl).isEmpty());
        QString resolved = TextFormat::cutToWidth(row->country, countryWidth);
        if (resolved != texts.at(country))
            corrections.emplace_back(rowId, std::move(resolved));
    });
    t.log.writeTexts(QStringLiteral("LogObl"), corrections);
    pending.markAll(t.marks);
    log.commit();
    behind.logCommitted();
    waz.commit();
    ur.commit();
    dxcc.commit();
    behind.awardsCommitted();
}

} // namespace AwardsRebuild
