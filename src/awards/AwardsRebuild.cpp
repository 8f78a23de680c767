#include "awards/AwardsRebuild.h"

#include "awards/AwardMarks.h"
#include "core/PrefixResolver.h"
#include "platform/format/TextFormat.h"
#include "platform/table/Table.h"

#include <vector>

namespace AwardsRebuild {

namespace {

constexpr int countryWidth = 15; // the log's LogObl
constexpr int blockRows = 4096;

} // namespace

void rebuild(const Tables &t, bool clearFirst, const Step &step)
{
    for (Db::Table *table : {&t.allpref, &t.prefix, &t.dxcc, &t.ur, &t.waz})
        if (!table->isActive())
            table->open();
    Db::TableTransaction log(t.log), dxcc(t.dxcc), ur(t.ur), waz(t.waz);
    if (clearFirst)
        t.marks.clearAll();

    PrefixCache countries(t.allpref, t.prefix, resolvedCharacters);
    MarkBatch pending;
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
            const std::optional<PrefixRow> &row = countries.resolve(r.texts.at(call));
            // A call that resolves to no country, or to one outside DXCC, is passed over.
            if (!row || row->dxccPrefix.isEmpty())
                continue;
            pending.add(row, r.texts.at(band), r.texts.at(mode), !r.texts.at(rxQsl).isEmpty());
            QString resolved = TextFormat::cutToWidth(row->country, countryWidth);
            if (resolved != r.texts.at(country))
                corrections.emplace_back(r.rowId, std::move(resolved));
        }
    }
    t.log.writeTexts(QStringLiteral("LogObl"), corrections);
    pending.markAll(t.marks);
    log.commit();
    waz.commit();
    ur.commit();
    dxcc.commit();
}

} // namespace AwardsRebuild
