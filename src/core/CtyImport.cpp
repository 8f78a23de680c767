#include "core/CtyImport.h"

#include "core/TableSchemas.h"
#include "platform/table/Database.h"
#include "platform/table/Table.h"
#include "platform/table/TableError.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <optional>

namespace CtyImport {

Error::Error(const QString &message) : std::runtime_error(message.toStdString()), message_(message) {}

namespace {

// Longer prefixes do not fit the tables' 5-character prefix fields.
constexpr int maxPrefixLength = 5;

struct Alias {
    QString prefix;
    bool exact = false;
    std::optional<int> cq;
    std::optional<int> itu;
    std::optional<double> latitude;
    std::optional<double> longitude;
    QString continent;
};

[[noreturn]] void fail(int line, const QString &what)
{
    throw Error(QStringLiteral("cty.dat line %1: %2").arg(line).arg(what));
}

int zoneNumber(const QString &text, int line)
{
    bool ok = false;
    const int zone = text.trimmed().toInt(&ok);
    if (!ok || zone <= 0)
        fail(line, QStringLiteral("bad zone \"%1\"").arg(text));
    return zone;
}

double number(const QString &text, int line)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok)
        fail(line, QStringLiteral("bad number \"%1\"").arg(text));
    return value;
}

Alias parseAlias(const QString &text, int line)
{
    Alias a;
    qsizetype i = 0;
    if (text.startsWith(QLatin1Char('='))) {
        a.exact = true;
        i = 1;
    }
    static const QString openers = QStringLiteral("([<{~");
    static const QString closers = QStringLiteral(")]>}~");
    const qsizetype start = i;
    while (i < text.size() && !openers.contains(text[i]))
        ++i;
    a.prefix = text.mid(start, i - start);
    if (a.prefix.isEmpty())
        fail(line, QStringLiteral("empty prefix in \"%1\"").arg(text));
    // A ';' missing before the next entity joins its header to this list;
    // taking it as one long alias would lose that entity without a word.
    if (a.prefix.contains(QLatin1Char(':')) || std::any_of(a.prefix.cbegin(), a.prefix.cend(), [](QChar c) {
            return c.isSpace();
        }))
        fail(line, QStringLiteral("alias \"%1\" holds a ':' or a blank; is a ';' missing before it?").arg(text));
    while (i < text.size()) {
        const qsizetype kind = openers.indexOf(text[i]);
        const qsizetype close = kind < 0 ? -1 : text.indexOf(closers[kind], i + 1);
        if (close < 0)
            fail(line, QStringLiteral("bad override in \"%1\"").arg(text));
        const QString value = text.mid(i + 1, close - i - 1);
        switch (kind) {
        case 0: a.cq = zoneNumber(value, line); break;
        case 1: a.itu = zoneNumber(value, line); break;
        case 2: {
            const QStringList latLon = value.split(QLatin1Char('/'));
            if (latLon.size() != 2)
                fail(line, QStringLiteral("bad position in \"%1\"").arg(text));
            a.latitude = number(latLon[0], line);
            a.longitude = number(latLon[1], line);
            break;
        }
        case 3: a.continent = value.trimmed(); break;
        default: number(value, line); break; // the offset: TimeDiff is the entity's own
        }
        i = close + 1;
    }
    return a;
}

struct ParsedEntity {
    Entity entity;
    QList<Alias> aliases;
};

QList<ParsedEntity> parseDat(const QString &text)
{
    QList<ParsedEntity> result;
    const QStringList lines = text.split(QLatin1Char('\n'));
    bool inAliases = false;
    QString aliases;
    int aliasLine = 0;
    for (int n = 0; n < lines.size(); ++n) {
        const QString line = lines[n].trimmed();
        const int lineNo = n + 1;
        if (line.isEmpty())
            continue;
        if (!inAliases) {
            const QStringList f = line.split(QLatin1Char(':'));
            if (f.size() < 8 || f[0].trimmed().isEmpty() || f[7].trimmed().isEmpty())
                fail(lineNo, QStringLiteral("not an entity header"));
            ParsedEntity p;
            Entity &e = p.entity;
            e.name = f[0].trimmed();
            e.cqZone = zoneNumber(f[1], lineNo);
            e.ituZone = zoneNumber(f[2], lineNo);
            e.continent = f[3].trimmed();
            e.latitude = number(f[4], lineNo);
            e.longitude = number(f[5], lineNo);
            e.utcOffset = number(f[6], lineNo);
            e.primaryPrefix = f[7].trimmed();
            if (e.primaryPrefix.startsWith(QLatin1Char('*'))) {
                e.waeOnly = true;
                e.primaryPrefix.remove(0, 1);
            }
            result.append(p);
            inAliases = true;
            aliases.clear();
            aliasLine = lineNo + 1;
            continue;
        }
        aliases += line;
        if (!line.endsWith(QLatin1Char(';')))
            continue;
        aliases.chop(1);
        for (const QString &item : aliases.split(QLatin1Char(','))) {
            const QString alias = item.trimmed();
            if (alias.isEmpty())
                fail(lineNo, QStringLiteral("empty alias"));
            result.last().aliases.append(parseAlias(alias, lineNo));
        }
        inAliases = false;
    }
    if (inAliases)
        fail(aliasLine, QStringLiteral("alias list of %1 does not end with ';'").arg(result.last().entity.name));
    if (result.isEmpty())
        throw Error(QStringLiteral("cty.dat holds no entity"));
    return result;
}

// DXCC numbers by primary prefix, '*' included, as cty.csv lists them.
QHash<QString, int> parseCsv(const QString &text)
{
    QHash<QString, int> numbers;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int n = 0; n < lines.size(); ++n) {
        const QString line = lines[n].trimmed();
        if (line.isEmpty())
            continue;
        const QStringList f = line.split(QLatin1Char(','));
        bool ok = false;
        const int dxcc = f.size() >= 3 ? f[2].trimmed().toInt(&ok) : 0;
        if (!ok)
            throw Error(QStringLiteral("cty.csv line %1: no DXCC number").arg(n + 1));
        numbers.insert(f[0].trimmed(), dxcc);
    }
    return numbers;
}

// The regional award knows these entities by these prefixes. Matched by DXCC
// number, because cty.dat's names and primary prefixes may change.
struct Regional {
    int dxccNumber;
    const char *dxccPrefix;
};
constexpr Regional regionalEntities[] = {{54, "UA1"} /* European Russia */, {15, "UA9"} /* Asiatic Russia */,
                                         {288, "UR"} /* Ukraine */};

QString regionalDxccPrefix(int dxccNumber)
{
    for (const Regional &r : regionalEntities)
        if (r.dxccNumber == dxccNumber)
            return QString::fromLatin1(r.dxccPrefix);
    return {};
}

bool isRegional(const QString &dxccPrefix)
{
    for (const Regional &r : regionalEntities)
        if (dxccPrefix == QLatin1String(r.dxccPrefix))
            return true;
    return false;
}

QString zoneText(int zone)
{
    return QStringLiteral("%1").arg(zone, 2, 10, QLatin1Char('0'));
}

QList<PrefixGroup> entityGroups(const ParsedEntity &p, int index)
{
    const Entity &e = p.entity;
    QList<PrefixGroup> groups;
    // The entity's own zones, under its primary prefix even when no prefix has them.
    PrefixGroup home;
    home.entity = index;
    home.key = e.primaryPrefix;
    home.cqZone = e.cqZone;
    home.ituZone = e.ituZone;
    home.continent = e.continent;
    home.latitude = e.latitude;
    home.longitude = e.longitude;
    groups.append(home);
    // An entity known only by exact calls would never be resolved: its short
    // calls serve as its prefixes instead.
    const bool onlyExact =
        std::all_of(p.aliases.cbegin(), p.aliases.cend(), [](const Alias &a) { return a.exact; });
    for (const Alias &a : p.aliases) {
        if ((a.exact && !onlyExact) || a.prefix.size() > maxPrefixLength)
            continue;
        const int cq = a.cq.value_or(e.cqZone);
        const int itu = a.itu.value_or(e.ituZone);
        auto it = std::find_if(groups.begin(), groups.end(),
                               [&](const PrefixGroup &g) { return g.cqZone == cq && g.ituZone == itu; });
        if (it == groups.end()) {
            PrefixGroup g;
            g.entity = index;
            g.key = a.prefix;
            g.cqZone = cq;
            g.ituZone = itu;
            groups.append(g);
            it = groups.end() - 1;
        }
        if (it->prefixes.isEmpty()) { // the group's first prefix speaks for it
            it->continent = a.continent.isEmpty() ? e.continent : a.continent;
            it->latitude = a.latitude.value_or(e.latitude);
            it->longitude = a.longitude.value_or(e.longitude);
        }
        it->prefixes.append(a.prefix);
    }
    return groups;
}

void writeRows(Db::Database &db, const QString &table, const std::function<void(Db::Table &)> &fill)
{
    Db::Table t(&db, table);
    t.open();
    Db::TableTransaction tx(t);
    fill(t);
    tx.commit();
}

struct InstalledTable {
    const char *subdir;
    Db::TableSchema (*schema)();
};

const InstalledTable installedTables[] = {
    {"Base", TableSchemas::allpref}, {"Base", TableSchemas::prefix}, {"Awrds", TableSchemas::dxcc},
    {"Awrds", TableSchemas::ur},     {"Awrds", TableSchemas::waz},
};

QString relativePath(const InstalledTable &t)
{
    return QString::fromLatin1(t.subdir) + QLatin1Char('/') + Db::tableFileName(t.schema().name);
}

void makeDirectory(const QDir &root, const char *subdir)
{
    const QString path = root.filePath(QString::fromLatin1(subdir));
    if (!root.mkpath(QString::fromLatin1(subdir)))
        throw Db::TableError(QStringLiteral("Cannot create the directory %1").arg(path), path);
}

QString readText(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Cannot read %1: %2").arg(path, f.errorString()));
    return QString::fromLatin1(f.readAll());
}

} // namespace

Data parse(const QString &ctyDat, const QString &ctyCsv)
{
    const QList<ParsedEntity> parsed = parseDat(ctyDat);
    const QHash<QString, int> numbers = parseCsv(ctyCsv);
    Data data;
    for (const ParsedEntity &p : parsed) {
        Entity e = p.entity;
        const QString csvKey = (e.waeOnly ? QStringLiteral("*") : QString()) + e.primaryPrefix;
        e.dxccNumber = numbers.value(csvKey, 0);
        if (e.dxccNumber == 0)
            data.warnings << QStringLiteral("%1 (%2) is not in cty.csv").arg(e.name, csvKey);
        const QString regional = regionalDxccPrefix(e.dxccNumber);
        e.dxccPrefix = regional.isEmpty() ? e.primaryPrefix : regional;
        data.entities.append(e);
    }
    // A WAE-only entity counts for DXCC as the entity it belongs to, which may
    // come later in the file.
    for (Entity &e : data.entities) {
        if (!e.waeOnly || e.dxccNumber == 0)
            continue;
        const auto owner = std::find_if(data.entities.cbegin(), data.entities.cend(), [&](const Entity &o) {
            return !o.waeOnly && o.dxccNumber == e.dxccNumber;
        });
        if (owner != data.entities.cend())
            e.dxccPrefix = owner->dxccPrefix;
        else
            data.warnings << QStringLiteral("%1: no DXCC entity numbered %2").arg(e.name).arg(e.dxccNumber);
    }

    QHash<QString, QString> keyOwner;    // key -> what holds it, for the report
    QHash<QString, QString> prefixOwner; // prefix -> entity name
    for (int i = 0; i < parsed.size(); ++i) {
        const Entity &e = data.entities[i];
        for (PrefixGroup &g : entityGroups(parsed[i], i)) {
            const QString what = QStringLiteral("%1 %2/%3").arg(e.name, zoneText(g.cqZone), zoneText(g.ituZone));
            if (g.key.size() > maxPrefixLength) {
                data.warnings
                    << QStringLiteral("%1 left out: key %2 is longer than %3").arg(what, g.key).arg(maxPrefixLength);
                continue;
            }
            if (keyOwner.contains(g.key)) {
                data.warnings
                    << QStringLiteral("%1 left out: key %2 is already that of %3").arg(what, g.key, keyOwner[g.key]);
                continue;
            }
            keyOwner.insert(g.key, what);
            QStringList kept;
            for (const QString &prefix : std::as_const(g.prefixes)) {
                if (prefixOwner.contains(prefix)) {
                    data.warnings << QStringLiteral("%1: prefix %2 left out, already one of %3")
                                         .arg(what, prefix, prefixOwner[prefix]);
                    continue;
                }
                prefixOwner.insert(prefix, e.name);
                kept << prefix;
            }
            g.prefixes = kept;
            if (kept.isEmpty()) {
                data.unreachable << g.key;
                data.warnings << QStringLiteral("%1 (key %2): no prefix of at most %3 characters leads to it")
                                     .arg(what, g.key)
                                     .arg(maxPrefixLength);
            }
            data.groups.append(g);
        }
    }
    return data;
}

Data readFiles(const QString &dir)
{
    const QDir d(dir);
    const QString dat = d.filePath(QStringLiteral("cty.dat"));
    const QString csv = d.filePath(QStringLiteral("cty.csv"));
    const QString datText = readText(dat);
    const QString csvText = readText(csv);
    try {
        return parse(datText, csvText);
    } catch (const Error &e) {
        throw Error(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(dir), e.message()));
    }
}

void writeTables(const Data &data, const QString &dir)
{
    const QDir root(dir);
    for (const InstalledTable &t : installedTables) {
        makeDirectory(root, t.subdir);
        Db::createTableFile(root.filePath(relativePath(t)), t.schema());
    }

    Db::Database base;
    base.setDirectory(root.filePath(QStringLiteral("Base")));
    writeRows(base, QStringLiteral("Allpref"), [&](Db::Table &t) {
        for (const PrefixGroup &g : data.groups)
            for (const QString &prefix : g.prefixes) {
                t.append();
                t.fieldByName(QStringLiteral("AddPrefix")).setAsString(prefix);
                t.fieldByName(QStringLiteral("MainPrefix")).setAsString(g.key);
                t.post();
            }
    });
    writeRows(base, QStringLiteral("Prefix"), [&](Db::Table &t) {
        for (const PrefixGroup &g : data.groups) {
            const Entity &e = data.entities[g.entity];
            t.append();
            t.fieldByName(QStringLiteral("Prefix")).setAsString(g.key);
            t.fieldByName(QStringLiteral("MainPrefix")).setAsString(g.key);
            t.fieldByName(QStringLiteral("DXCCPrefix")).setAsString(e.dxccPrefix);
            t.fieldByName(QStringLiteral("Country")).setAsString(e.name);
            t.fieldByName(QStringLiteral("Continent")).setAsString(g.continent);
            // The program counts hours east of UTC; "0 - x" keeps a zero offset from becoming -0.
            t.fieldByName(QStringLiteral("TimeDiff")).setAsFloat(0.0 - e.utcOffset);
            t.fieldByName(QStringLiteral("Latitude")).setAsFloat(g.latitude);
            t.fieldByName(QStringLiteral("Longitude")).setAsFloat(g.longitude);
            t.fieldByName(QStringLiteral("CQZone")).setAsString(zoneText(g.cqZone));
            t.fieldByName(QStringLiteral("ITUZone")).setAsString(zoneText(g.ituZone));
            t.post();
        }
    });

    Db::Database awards;
    awards.setDirectory(root.filePath(QStringLiteral("Awrds")));
    writeRows(awards, QStringLiteral("Dxcc"), [&](Db::Table &t) {
        QSet<QString> written;
        for (const Entity &e : data.entities) {
            if (written.contains(e.dxccPrefix))
                continue;
            written.insert(e.dxccPrefix);
            t.append();
            t.fieldByName(QStringLiteral("Prefix")).setAsString(e.dxccPrefix);
            t.post();
        }
    });
    writeRows(awards, QStringLiteral("UR"), [&](Db::Table &t) {
        for (const PrefixGroup &g : data.groups) {
            const Entity &e = data.entities[g.entity];
            if (!isRegional(e.dxccPrefix))
                continue;
            t.append();
            t.fieldByName(QStringLiteral("Prefix")).setAsString(g.key);
            t.fieldByName(QStringLiteral("QslSend"))
                .setAsString(QStringLiteral("%1 %2/%3").arg(e.name, zoneText(g.cqZone), zoneText(g.ituZone)));
            t.post();
        }
    });
    writeRows(awards, QStringLiteral("Waz"), [](Db::Table &t) {
        for (int zone = 1; zone <= 40; ++zone) {
            t.append();
            t.fieldByName(QStringLiteral("Zone")).setAsInteger(zone);
            t.post();
        }
    });
}

InstallResult installMissingTables(const QString &ctyDir, const QString &programDir)
{
    const QDir root(programDir);
    QList<const InstalledTable *> missing;
    for (const InstalledTable &t : installedTables) {
        const QString sub = root.filePath(QString::fromLatin1(t.subdir));
        if (Db::findFileCaseInsensitive(sub, Db::tableFileName(t.schema().name)).isEmpty())
            missing << &t;
    }
    InstallResult result;
    if (missing.isEmpty())
        return result;

    const Data data = readFiles(ctyDir);
    result.warnings = data.warnings;
    // Inside the program directory, so the finished files are renamed in
    // rather than copied.
    if (!root.mkpath(QStringLiteral("Temp")))
        throw Db::TableError(QStringLiteral("Cannot create directories in %1").arg(programDir), programDir);
    QTemporaryDir build(root.filePath(QStringLiteral("Temp/cty-XXXXXX")));
    if (!build.isValid())
        throw Db::TableError(QStringLiteral("Cannot create a temporary directory in %1: %2")
                                 .arg(root.filePath(QStringLiteral("Temp")), build.errorString()),
                             programDir);
    writeTables(data, build.path());

    for (const InstalledTable *t : std::as_const(missing)) {
        makeDirectory(root, t->subdir);
        const QString target = root.filePath(relativePath(*t));
        // QFile::rename never replaces a file that appeared in the meantime.
        if (!QFile::rename(QDir(build.path()).filePath(relativePath(*t)), target))
            throw Db::TableError(QStringLiteral("Cannot install the table file %1").arg(target), target);
        result.created << target;
    }
    return result;
}

} // namespace CtyImport
