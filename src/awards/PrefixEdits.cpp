#include "awards/PrefixEdits.h"

#include "platform/format/TextFormat.h"
#include "platform/table/Table.h"

#include <stdexcept>

namespace PrefixEdits {

namespace {

constexpr int addPrefixWidth = 5; // Allpref.AddPrefix

// A masked field that holds nothing but its blanks and literals.
bool blank(const QString &text)
{
    for (const QChar c : text)
        if (!c.isSpace() && c != u',')
            return false;
    return true;
}

// Blanks the mask leaves between the digits count for nothing.
double number(const QString &text)
{
    QString digits = text;
    digits.remove(u' ');
    if (const auto value = TextFormat::parseNumber(digits))
        return *value;
    throw std::invalid_argument(QStringLiteral("'%1' is not a valid number").arg(text).toStdString());
}

void ensureOpen(Db::Table &t)
{
    if (!t.isActive())
        t.open();
}

// Looks `key` up in `field`; a miss inserts a row filled by `fill`. True when it existed.
template <typename Fill>
bool addUnlessFound(Db::Table &t, const QString &field, const QString &key, Fill fill)
{
    if (t.locate(field, key))
        return true;
    t.append();
    try {
        fill();
        t.post();
    } catch (...) {
        t.cancel();
        throw;
    }
    return false;
}

} // namespace

QString missingText()
{
    return QStringLiteral("There are no parameters !");
}

std::optional<Checked> check(const Entry &e)
{
    for (const QString *text : {&e.dxccPrefix, &e.prefix, &e.addPrefix, &e.country, &e.continent, &e.time, &e.cqZone,
                                &e.ituZone, &e.latitude, &e.longitude})
        if (blank(*text))
            return std::nullopt;
    Checked c;
    c.timeDiff = number(e.time);
    c.latitude = number(e.latitude);
    c.longitude = number(e.longitude);
    c.dxccPrefix = e.dxccPrefix.trimmed();
    c.prefix = e.prefix.trimmed();
    // The field holds five: a longer text would be cut on writing and never found again.
    c.addPrefix = TextFormat::cutToWidth(e.addPrefix.trimmed(), addPrefixWidth);
    c.country = e.country;
    c.continent = e.continent;
    c.ituZone = e.ituZone.trimmed();
    c.cqZone = e.cqZone.trimmed();
    return c;
}

Existing add(const Checked &e, Db::Table &allpref, Db::Table &prefix, Db::Table &dxcc)
{
    ensureOpen(allpref);
    Existing existing;
    existing.addPrefix = addUnlessFound(allpref, QStringLiteral("AddPrefix"), e.addPrefix, [&] {
        allpref.fieldByName(QStringLiteral("MainPrefix")).setAsString(e.prefix);
        allpref.fieldByName(QStringLiteral("AddPrefix")).setAsString(e.addPrefix);
    });
    // With its master closed a detail shows, and takes, every row.
    allpref.close();
    ensureOpen(prefix);
    existing.prefix = addUnlessFound(prefix, QStringLiteral("Prefix"), e.prefix, [&] {
        auto set = [&prefix](const char *field, const QString &text) {
            prefix.fieldByName(QString::fromLatin1(field)).setAsString(text);
        };
        set("DXCCPrefix", e.dxccPrefix);
        set("Prefix", e.prefix);
        set("Country", e.country);
        set("Continent", e.continent);
        set("ITUZone", e.ituZone);
        set("CQZone", e.cqZone);
        prefix.fieldByName(QStringLiteral("TimeDiff")).setAsFloat(e.timeDiff);
        prefix.fieldByName(QStringLiteral("Latitude")).setAsFloat(e.latitude);
        prefix.fieldByName(QStringLiteral("Longitude")).setAsFloat(e.longitude);
    });
    allpref.open();
    prefix.close();
    ensureOpen(dxcc);
    existing.dxcc = addUnlessFound(dxcc, QStringLiteral("Prefix"), e.dxccPrefix, [&] {
        dxcc.fieldByName(QStringLiteral("Prefix")).setAsString(e.dxccPrefix);
    });
    prefix.open();
    return existing;
}

QString resultLine(const Checked &e, const Existing &x)
{
    if (x.addPrefix && x.prefix && x.dxcc)
        return QStringLiteral("The %1, %2, %3 exists").arg(e.addPrefix, e.prefix, e.dxccPrefix);
    if (x.dxcc)
        return QStringLiteral("The %1 exists").arg(e.dxccPrefix);
    if (x.prefix)
        return QStringLiteral("The %1 exists").arg(e.prefix);
    if (x.addPrefix)
        return QStringLiteral("The %1 exists").arg(e.addPrefix);
    return {};
}

QString deleteQuestion(Depth depth)
{
    switch (depth) {
    case Depth::AddPrefix: return QStringLiteral("Delete Prefix ?");
    case Depth::Prefix: return QStringLiteral("Delete DXCC Pref and Counry ?");
    case Depth::Dxcc: break;
    }
    return QStringLiteral("Delete DXCC Pref, Counry and Award Pref ?");
}

void remove(Depth depth, Db::Table &allpref, Db::Table &prefix, Db::Table &dxcc)
{
    if (!allpref.isActive() || allpref.isEmpty())
        return;
    // A detail follows its master's current row; an empty detail set is no row to delete.
    const auto shown = [](Db::Table &t) { return t.isActive() && !t.isEmpty(); };
    if (depth == Depth::Dxcc && shown(prefix) && shown(dxcc))
        dxcc.deleteRecord();
    if (depth != Depth::AddPrefix && shown(prefix) &&
        !prefix.fieldByName(QStringLiteral("Prefix")).asString().isEmpty())
        prefix.deleteRecord();
    allpref.deleteRecord();
}

} // namespace PrefixEdits
