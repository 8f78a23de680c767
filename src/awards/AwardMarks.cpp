#include "awards/AwardMarks.h"

#include "core/TableSchemas.h"
#include "platform/format/TextFormat.h"
#include "platform/table/Database.h"

#include <QStringBuilder>

namespace {

const QString keyOf(AwardMarks::Which which)
{
    return which == AwardMarks::Which::Waz ? QStringLiteral("Zone") : QStringLiteral("Prefix");
}

AwardCells::Table cellTable(AwardMarks::Which which)
{
    switch (which) {
    case AwardMarks::Which::Dxcc: return AwardCells::Table::Dxcc;
    case AwardMarks::Which::UR: return AwardCells::Table::UR;
    case AwardMarks::Which::Waz: break;
    }
    return AwardCells::Table::Waz;
}

// The extra fields clearing empties besides the 55 mark cells.
QStringList extraFields(AwardMarks::Which which)
{
    switch (which) {
    case AwardMarks::Which::Dxcc:
        return {QStringLiteral("Moon"), QStringLiteral("QslRcvd"), QStringLiteral("QslSend")};
    case AwardMarks::Which::UR: // its QslSend is the region's name
        return {QStringLiteral("Moon"), QStringLiteral("QslRcvd")};
    case AwardMarks::Which::Waz: break;
    }
    return {QStringLiteral("RESUM")};
}

void ensureOpen(Db::Table &t)
{
    if (!t.isActive())
        t.open();
}

} // namespace

AwardMarks::AwardMarks(Db::Database *awards)
    : dxcc_(awards, QStringLiteral("Dxcc")), ur_(awards, QStringLiteral("UR")), waz_(awards, QStringLiteral("Waz"))
{
    dxcc_.setRequiredSchema(TableSchemas::dxcc());
    ur_.setRequiredSchema(TableSchemas::ur());
    waz_.setRequiredSchema(TableSchemas::waz());
}

bool AwardMarks::isRegional(const QString &dxccPrefix)
{
    return dxccPrefix == QLatin1String("UR") || dxccPrefix == QLatin1String("UA1") ||
           dxccPrefix == QLatin1String("UA9");
}

Db::Table &AwardMarks::table(Which which)
{
    switch (which) {
    case Which::Dxcc: return dxcc_;
    case Which::UR: return ur_;
    case Which::Waz: break;
    }
    return waz_;
}

void AwardMarks::mark(const std::optional<PrefixRow> &row, const QString &band, const QString &mode, bool confirmed,
                      const Qsl *qsl)
{
    if (!row)
        return;
    for (const auto &[which, key] : rowsMarked(*row))
        markRow(which, key, {{band, mode, confirmed}}, which == Which::Waz ? nullptr : qsl);
}

std::vector<std::pair<AwardMarks::Which, QString>> AwardMarks::rowsMarked(const PrefixRow &row)
{
    std::vector<std::pair<Which, QString>> rows;
    if (row.dxccPrefix.isEmpty())
        return rows;
    if (isRegional(row.dxccPrefix) && !row.prefix.isEmpty())
        rows.emplace_back(Which::UR, row.prefix);
    rows.emplace_back(Which::Dxcc, row.dxccPrefix);
    // A zone that is not a number, or has no row, marks no Waz row.
    if (const auto zone = TextFormat::parseInteger(row.cqZone))
        rows.emplace_back(Which::Waz, TextFormat::integerText(*zone));
    return rows;
}

void AwardMarks::markRow(Which which, const QString &key, const std::vector<Contact> &contacts, const Qsl *qsl)
{
    Db::Table &t = table(which);
    ensureOpen(t);
    // Read and written in one write transaction: another copy of the program
    // marking the same row in between would otherwise be overwritten.
    Db::TableTransaction transaction(t, Db::TableTransaction::Scope::Row);
    try {
        if (t.locate(keyOf(which), key)) {
            t.edit();
        } else if (which == Which::Waz) {
            transaction.commit(); // nothing written
            return;
        } else {
            // Dxcc and UR get a row for an entity or region met for the first time.
            t.append();
            t.fieldByName(keyOf(which)).setAsString(key);
        }
        if (qsl && which != Which::Waz) {
            if (!qsl->received.isEmpty())
                t.fieldByName(QStringLiteral("QslRcvd")).setAsString(qsl->received);
            if (!qsl->sent.isEmpty() && which == Which::Dxcc)
                t.fieldByName(QStringLiteral("QslSend")).setAsString(qsl->sent);
        }
        for (const Contact &c : contacts) {
            if (const auto cells = AwardCells::cells(cellTable(which), c.band, c.mode)) {
                for (const QString &name : {cells->band, cells->mode}) {
                    Db::Field &cell = t.fieldByName(name);
                    cell.setAsString(AwardCells::upgrade(cell.asString(), c.confirmed));
                }
            }
        }
        t.post();
        transaction.commit();
    } catch (...) {
        t.cancel(); // never a half-written row, never a cursor left in edit
        throw;
    }
}

void AwardMarks::clear(Which which)
{
    Db::Table &t = table(which);
    ensureOpen(t);
    QStringList fields = TableSchemas::awardCells(which == Which::Waz);
    fields += extraFields(which);
    Db::TableTransaction walk(t);
    for (t.first(); !t.eof(); t.next()) {
        t.edit();
        for (const QString &f : std::as_const(fields))
            t.fieldByName(f).clear();
        t.post();
    }
    walk.commit();
    t.first();
}

void AwardMarks::clearAll()
{
    clear(Which::UR);
    clear(Which::Dxcc);
    clear(Which::Waz);
}

void MarkBatch::add(const std::optional<PrefixRow> &row, const QString &band, const QString &mode, bool confirmed)
{
    if (!row || row->dxccPrefix.isEmpty())
        return; // marks nothing
    // The region prefix counts only where a UR row is marked. The first
    // contact of a kind keeps its place, so award rows are added in the order
    // their first contacts came.
    const QChar sep(u'\x1f');
    const QString &region = AwardMarks::isRegional(row->dxccPrefix) ? row->prefix : QString();
    // Built in one allocation: it runs for every contact stored.
    QString key = row->dxccPrefix % sep % region % sep % row->cqZone % sep % band % sep %
                  QString::number(int(AwardCells::modeClass(mode)));
    const auto found = seen_.constFind(key);
    if (found != seen_.constEnd()) {
        kinds_[*found].confirmed = kinds_[*found].confirmed || confirmed;
        return;
    }
    seen_.insert(std::move(key), kinds_.size());
    kinds_.push_back({*row, band, mode, confirmed});
}

void MarkBatch::markAll(AwardMarks &marks, const std::function<void()> &tick) const
{
    // The kinds of each award row, rows in the order their first kinds came.
    struct Row {
        AwardMarks::Which which;
        QString key;
        std::vector<AwardMarks::Contact> contacts;
    };
    std::vector<Row> rows;
    QHash<QString, size_t> rowAt;
    for (const Kind &k : kinds_) {
        for (auto &[which, key] : AwardMarks::rowsMarked(k.row)) {
            const QString id = QString::number(int(which)) + u'\x1f' + key;
            auto found = rowAt.constFind(id);
            if (found == rowAt.constEnd()) {
                found = rowAt.insert(id, rows.size());
                rows.push_back({which, std::move(key), {}});
            }
            rows[*found].contacts.push_back({k.band, k.mode, k.confirmed});
        }
    }
    for (const Row &r : rows) {
        marks.markRow(r.which, r.key, r.contacts);
        if (tick)
            tick();
    }
}
