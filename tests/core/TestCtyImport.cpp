#include "core/CtyImport.h"
#include "core/ProgramDirectory.h"
#include "core/TableSchemas.h"
#include "platform/table/Database.h"
#include "platform/table/Table.h"
#include "platform/table/TableError.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <optional>

namespace {

const QString debianCtyDir = QStringLiteral("/usr/share/hamradio-files");

// Small country files in cty.dat's own layout. Canada's VE3 group is keyed by
// VA3, which comes first; Spratly and Conway Reef have no prefix equal to their
// primary prefix; Vienna is WAE-only and comes before the Austria it counts as.
const char fixtureDat[] =
    "Vienna Intl Ctr:          15:  28:  EU:   48.20:   -16.30:    -1.0:  *4U1V:\n"
    "    =4U1VIC,=4U0R;\n"
    "Canada:                   05:  09:  NA:   44.35:    78.75:     5.0:  VE:\n"
    "    CF,VE,VA2[4],VE2[4],VA3(4)[4],VE3(4)[4],=VE3XX(3)[3],\n"
    "    VE9ABC(1)[2],VY0AAA;\n"
    "Spratly Islands:          26:  50:  AS:    9.88:  -114.23:    -8.0:  1S:\n"
    "    9M0,BM9S,BV9S;\n"
    "Guinea:                   35:  46:  AF:   11.00:    10.68:     0.0:  3X:\n"
    "    3X;\n"
    "Conway Reef:              32:  56:  OC:  -22.00:  -175.00:   -12.0:  3D2/c:\n"
    "    =3D20CR,=3D2C;\n"
    "Austria:                  15:  28:  EU:   47.33:   -13.33:    -1.0:  OE:\n"
    "    OE;\n"
    "European Russia:          16:  29:  EU:   53.65:   -41.37:    -4.0:  UA:\n"
    "    R,U,=R25EMW(17)[19],\n"
    "    R1N[19],U1N[19];\n"
    "Kaliningrad:              15:  29:  EU:   54.72:   -20.52:    -3.0:  UA2:\n"
    "    R2F,UA2;\n"
    "Asiatic Russia:           17:  30:  AS:   55.88:   -84.08:    -7.0:  UA9:\n"
    "    R8,UA9,R0(19)[33],UA0(19)[33],R0A(18)[32],UA0A(18)[32],\n"
    "    R0Y(23)[32],UA0Y(23)[32];\n"
    "Ukraine:                  16:  29:  EU:   50.00:   -30.00:    -2.0:  UR:\n"
    "    EM,UR,US;\n"
    "Turkey:                   20:  39:  AS:   39.18:   -35.65:    -3.0:  TA:\n"
    "    TA,TA1(20)[38]{EU}<41.00/-29.00>~-6.0~,TB1(20)[38];\n";

const char fixtureCsv[] =
    "*4U1V,Vienna Intl Ctr,206,EU,15,28,48.20,-16.30,-1.0,=4U1VIC =4U0R;\n"
    "VE,Canada,1,NA,5,9,44.35,78.75,5.0,CF VE VA2[4] VE2[4];\n"
    "1S,Spratly Islands,247,AS,26,50,9.88,-114.23,-8.0,9M0 BM9S BV9S;\n"
    "3X,Guinea,107,AF,35,46,11.00,10.68,0.0,3X;\n"
    "3D2/c,Conway Reef,489,OC,32,56,-22.00,-175.00,-12.0,=3D20CR =3D2C;\n"
    "OE,Austria,206,EU,15,28,47.33,-13.33,-1.0,OE;\n"
    "UA,European Russia,54,EU,16,29,53.65,-41.37,-4.0,R U;\n"
    "UA2,Kaliningrad,126,EU,15,29,54.72,-20.52,-3.0,R2F UA2;\n"
    "UA9,Asiatic Russia,15,AS,17,30,55.88,-84.08,-7.0,R8 UA9;\n"
    "UR,Ukraine,288,EU,16,29,50.00,-30.00,-2.0,EM UR US;\n"
    "TA,Turkey,390,AS,20,39,39.18,-35.65,-3.0,TA TA1;\n";

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(f.write(bytes), bytes.size());
}

struct Resolved {
    QString key;
    QString country;
    QString cq;
    QString itu;
    QString dxcc;
    QString continent;
    double timeDiff = 0;
    double latitude = 0;
    double longitude = 0;
};

// The longest of the callsign's first 1..5 characters found in Allpref names
// the Prefix row.
std::optional<Resolved> resolve(const QString &programDir, const QString &call)
{
    Db::Database db;
    db.setDirectory(QDir(programDir).filePath(QStringLiteral("Base")));
    Db::Table allpref(&db, QStringLiteral("Allpref"));
    allpref.open();
    QString main;
    for (int k = 1; k <= 5 && k <= call.size(); ++k)
        if (allpref.locate(QStringLiteral("AddPrefix"), call.left(k)))
            main = allpref.fieldByName(QStringLiteral("MainPrefix")).asString();
    Db::Table prefix(&db, QStringLiteral("Prefix"));
    prefix.open();
    if (main.isEmpty() || !prefix.locate(QStringLiteral("Prefix"), main))
        return std::nullopt;
    auto text = [&](const char *name) { return prefix.fieldByName(QString::fromLatin1(name)).asString(); };
    if (text("MainPrefix") != main)
        return std::nullopt;
    return Resolved{main,
                    text("Country"),
                    text("CQZone"),
                    text("ITUZone"),
                    text("DXCCPrefix"),
                    text("Continent"),
                    prefix.fieldByName(QStringLiteral("TimeDiff")).asFloat(),
                    prefix.fieldByName(QStringLiteral("Latitude")).asFloat(),
                    prefix.fieldByName(QStringLiteral("Longitude")).asFloat()};
}

// Every row of a table: field -> display text.
QList<QMap<QString, QString>> rows(const QString &dir, const QString &table)
{
    Db::Database db;
    db.setDirectory(dir);
    Db::Table t(&db, table);
    t.open();
    QList<QMap<QString, QString>> result;
    for (t.first(); !t.eof(); t.next()) {
        QMap<QString, QString> row;
        for (int i = 0; i < t.fieldCount(); ++i)
            row.insert(t.field(i).name(), t.field(i).asString());
        result << row;
    }
    return result;
}

bool hasRow(const QString &dir, const QString &table, const QString &field, const QString &value)
{
    Db::Database db;
    db.setDirectory(dir);
    Db::Table t(&db, table);
    t.open();
    return t.locate(field, value);
}

// The award cells that are not empty, named with their row key.
QStringList markedCells(const QList<QMap<QString, QString>> &table, const QString &keyField, bool capitalModes)
{
    QStringList marked;
    for (const auto &row : table)
        for (const QString &cell : TableSchemas::awardCells(capitalModes))
            if (!row.value(cell).isEmpty())
                marked << row.value(keyField) + QLatin1Char('.') + cell;
    return marked;
}

const QStringList fiveTables{QStringLiteral("Base/Allpref.db"), QStringLiteral("Base/Prefix.db"),
                             QStringLiteral("Awrds/Dxcc.db"), QStringLiteral("Awrds/UR.db"),
                             QStringLiteral("Awrds/Waz.db")};

} // namespace

class TestCtyImport : public QObject {
    Q_OBJECT

    QTemporaryDir ctyDir_;     // the fixture's country files
    QTemporaryDir fixture_;    // a program directory made from them
    QTemporaryDir debian_;     // one made from Debian's files
    CtyImport::InstallResult fixtureInstall_;

    QString base() const { return fixture_.filePath(QStringLiteral("Base")); }
    QString awards() const { return fixture_.filePath(QStringLiteral("Awrds")); }

private slots:
    void initTestCase()
    {
        writeFile(ctyDir_.filePath(QStringLiteral("cty.dat")), fixtureDat);
        writeFile(ctyDir_.filePath(QStringLiteral("cty.csv")), fixtureCsv);
        fixtureInstall_ = CtyImport::installMissingTables(ctyDir_.path(), fixture_.path());
        QVERIFY2(QFile::exists(QDir(debianCtyDir).filePath(QStringLiteral("cty.dat"))),
                 "the Debian package hamradio-files is not installed");
        CtyImport::installMissingTables(debianCtyDir, debian_.path());
    }

    void fixtureCreatesTheFiveTables()
    {
        QStringList expected;
        for (const QString &file : fiveTables)
            expected << fixture_.filePath(file);
        QCOMPARE(fixtureInstall_.created, expected);
        QCOMPARE(fixtureInstall_.warnings, QStringList());
        // Nothing is left of the directory the tables were built in.
        QCOMPARE(QDir(fixture_.filePath(QStringLiteral("Temp"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
    }

    void fixtureResolves_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("country");
        QTest::addColumn<QString>("cq");
        QTest::addColumn<QString>("itu");
        QTest::addColumn<QString>("dxcc");
        QTest::addColumn<QString>("continent");
        QTest::addColumn<double>("timeDiff");
        QTest::addColumn<double>("latitude");
        QTest::addColumn<double>("longitude");
        QTest::newRow("home group keyed by VE") << "VE1AA" << "VE" << "Canada"
            << "05" << "09" << "VE" << "NA" << -5.0 << 44.35 << 78.75;
        QTest::newRow("alias in home group") << "CF1AA" << "VE" << "Canada"
            << "05" << "09" << "VE" << "NA" << -5.0 << 44.35 << 78.75;
        QTest::newRow("ITU override only") << "VE2XY" << "VA2" << "Canada"
            << "05" << "04" << "VE" << "NA" << -5.0 << 44.35 << 78.75;
        QTest::newRow("group keyed by its first prefix") << "VE3ABC" << "VA3" << "Canada"
            << "04" << "04" << "VE" << "NA" << -5.0 << 44.35 << 78.75;
        QTest::newRow("exact call not a prefix") << "VE3XX" << "VA3" << "Canada"
            << "04" << "04" << "VE" << "NA" << -5.0 << 44.35 << 78.75;
        QTest::newRow("6-character prefix ignored") << "VE9ABC" << "VE" << "Canada"
            << "05" << "09" << "VE" << "NA" << -5.0 << 44.35 << 78.75;
        QTest::newRow("primary prefix not an alias") << "9M0A" << "1S" << "Spratly Islands"
            << "26" << "50" << "1S" << "AS" << 8.0 << 9.88 << -114.23;
        QTest::newRow("zero offset") << "3X1A" << "3X" << "Guinea"
            << "35" << "46" << "3X" << "AF" << 0.0 << 11.0 << 10.68;
        QTest::newRow("European Russia") << "UA1AA" << "UA" << "European Russia"
            << "16" << "29" << "UA1" << "EU" << 4.0 << 53.65 << -41.37;
        QTest::newRow("European Russia ITU 19") << "U1NAA" << "R1N" << "European Russia"
            << "16" << "19" << "UA1" << "EU" << 4.0 << 53.65 << -41.37;
        QTest::newRow("Kaliningrad keeps its prefix") << "UA2AA" << "UA2" << "Kaliningrad"
            << "15" << "29" << "UA2" << "EU" << 3.0 << 54.72 << -20.52;
        QTest::newRow("Asiatic Russia") << "UA9AA" << "UA9" << "Asiatic Russia"
            << "17" << "30" << "UA9" << "AS" << 7.0 << 55.88 << -84.08;
        QTest::newRow("UA0 with both zones") << "UA0BB" << "R0" << "Asiatic Russia"
            << "19" << "33" << "UA9" << "AS" << 7.0 << 55.88 << -84.08;
        QTest::newRow("longest prefix wins") << "UA0AA" << "R0A" << "Asiatic Russia"
            << "18" << "32" << "UA9" << "AS" << 7.0 << 55.88 << -84.08;
        QTest::newRow("Ukraine") << "UR5AA" << "UR" << "Ukraine"
            << "16" << "29" << "UR" << "EU" << 2.0 << 50.0 << -30.0;
        QTest::newRow("continent and position overrides") << "TA1AA" << "TA1" << "Turkey"
            << "20" << "38" << "TA" << "EU" << 3.0 << 41.0 << -29.0;
        QTest::newRow("overrides of the group's first prefix") << "TB1AA" << "TA1" << "Turkey"
            << "20" << "38" << "TA" << "EU" << 3.0 << 41.0 << -29.0;
        QTest::newRow("entity's own continent") << "TA2AA" << "TA" << "Turkey"
            << "20" << "39" << "TA" << "AS" << 3.0 << 39.18 << -35.65;
    }
    void fixtureResolves()
    {
        QFETCH(QString, call);
        const auto r = resolve(fixture_.path(), call);
        QVERIFY(r);
        QTEST(r->key, "key");
        QTEST(r->country, "country");
        QTEST(r->cq, "cq");
        QTEST(r->itu, "itu");
        QTEST(r->dxcc, "dxcc");
        QTEST(r->continent, "continent");
        QTEST(r->timeDiff, "timeDiff");
        QTEST(r->latitude, "latitude");
        QTEST(r->longitude, "longitude");
    }

    void fixturePrefixRows()
    {
        QStringList keys;
        for (const auto &row : rows(base(), QStringLiteral("Prefix"))) {
            keys << row.value(QStringLiteral("Prefix"));
            QCOMPARE(row.value(QStringLiteral("MainPrefix")), row.value(QStringLiteral("Prefix")));
        }
        keys.sort();
        QStringList expected{"4U1V", "VE", "VA2", "VA3", "1S", "3X", "3D2/c", "OE", "UA", "R1N",
                             "UA2", "UA9", "R0", "R0A", "R0Y", "UR", "TA", "TA1"};
        expected.sort();
        QCOMPARE(keys, expected);
    }

    // Entities known only by exact calls are reached through their calls of
    // at most five characters; each keeps its own row.
    void exactCallEntitiesReachedByTheirShortCalls_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("country");
        QTest::addColumn<QString>("dxcc");
        QTest::newRow("WAE-only counts as Austria") << "4U0R" << "4U1V" << "Vienna Intl Ctr" << "OE";
        QTest::newRow("Conway Reef") << "3D2C" << "3D2/c" << "Conway Reef" << "3D2/c";
    }
    void exactCallEntitiesReachedByTheirShortCalls()
    {
        QFETCH(QString, call);
        QFETCH(QString, key);
        const auto r = resolve(fixture_.path(), call);
        QVERIFY(r);
        QTEST(r->country, "country");
        QTEST(r->dxcc, "dxcc");
        QVERIFY(hasRow(base(), QStringLiteral("Prefix"), QStringLiteral("Prefix"), key));
    }

    // Every Prefix row made from Debian's file is reached from Allpref, but
    // the few the converter names, whose calls are all too long or whose
    // prefixes all carry zones of their own.
    void debianPrefixRowsAreReachable()
    {
        const CtyImport::Data data = CtyImport::readFiles(debianCtyDir);
        QStringList unreachable = data.unreachable;
        unreachable.sort();
        QCOMPARE(unreachable, (QStringList{"4U1I", "CE9", "JD/m"}));
        QSet<QString> reached;
        for (const auto &row : rows(debian_.filePath(QStringLiteral("Base")), QStringLiteral("Allpref")))
            reached.insert(row.value(QStringLiteral("MainPrefix")));
        for (const auto &row : rows(debian_.filePath(QStringLiteral("Base")), QStringLiteral("Prefix"))) {
            const QString key = row.value(QStringLiteral("Prefix"));
            QVERIFY2(reached.contains(key) != unreachable.contains(key), qPrintable(key));
        }
    }

    void exactCallsAndLongPrefixesAreNotAdded_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("exact call") << "VE3XX";
        QTest::newRow("exact call with its mark") << "=VE3XX";
        QTest::newRow("6 characters, own zones") << "VE9AB";
        QTest::newRow("6 characters, home zones") << "VY0AA";
    }
    void exactCallsAndLongPrefixesAreNotAdded()
    {
        QFETCH(QString, text);
        QVERIFY(!hasRow(base(), QStringLiteral("Allpref"), QStringLiteral("AddPrefix"), text));
    }

    void everyAddedPrefixNamesAPrefixRow()
    {
        const auto added = rows(base(), QStringLiteral("Allpref"));
        QVERIFY(added.size() >= 20);
        for (const auto &row : added) {
            const QString main = row.value(QStringLiteral("MainPrefix"));
            QVERIFY2(hasRow(base(), QStringLiteral("Prefix"), QStringLiteral("Prefix"), main),
                     qPrintable(row.value(QStringLiteral("AddPrefix"))));
        }
    }

    void regionalRowsNameTheirRegion()
    {
        const auto ur = rows(awards(), QStringLiteral("UR"));
        QMap<QString, QString> regions;
        for (const auto &row : ur)
            regions.insert(row.value(QStringLiteral("Prefix")), row.value(QStringLiteral("QslSend")));
        const QMap<QString, QString> expected{
            {"UA", "European Russia 16/29"}, {"R1N", "European Russia 16/19"}, {"UA9", "Asiatic Russia 17/30"},
            {"R0", "Asiatic Russia 19/33"},  {"R0A", "Asiatic Russia 18/32"},  {"R0Y", "Asiatic Russia 23/32"},
            {"UR", "Ukraine 16/29"},
        };
        QCOMPARE(regions, expected);
        QCOMPARE(ur.size(), expected.size());
        QCOMPARE(markedCells(ur, QStringLiteral("Prefix"), false), QStringList());
    }

    void dxccRowsOnePerDxccPrefix()
    {
        const auto dxcc = rows(awards(), QStringLiteral("Dxcc"));
        QStringList prefixes;
        for (const auto &row : dxcc)
            prefixes << row.value(QStringLiteral("Prefix"));
        prefixes.sort();
        QStringList expected{"VE", "1S", "3X", "3D2/c", "OE", "UA1", "UA2", "UA9", "UR", "TA"};
        expected.sort();
        QCOMPARE(prefixes, expected);
        QCOMPARE(markedCells(dxcc, QStringLiteral("Prefix"), false), QStringList());
    }

    void wazHasTheFortyZones()
    {
        const auto waz = rows(awards(), QStringLiteral("Waz"));
        QStringList zones;
        for (const auto &row : waz)
            zones << row.value(QStringLiteral("Zone"));
        QStringList expected;
        for (int zone = 1; zone <= 40; ++zone)
            expected << QString::number(zone);
        QCOMPARE(zones, expected);
        QCOMPARE(markedCells(waz, QStringLiteral("Zone"), true), QStringList());
    }

    // The group that comes second gives up its key and its prefixes; the
    // prefix met twice stays with its first entity.
    void sameKeyTwiceKeepsTheFirst()
    {
        const auto data = CtyImport::parse(
            "Alpha:  10:  20:  EU:  1.00:  2.00:  0.0:  AA:\n"
            "    AA,AB(11)[21];\n"
            "Beta:   11:  21:  EU:  3.00:  4.00:  0.0:  AB:\n"
            "    AC,AD(12)[22];\n"
            "Gamma:  12:  22:  EU:  5.00:  6.00:  0.0:  AG:\n"
            "    AG,AD;\n",
            "AA,Alpha,1,EU,10,20,1.00,2.00,0.0,AA;\nAB,Beta,2,EU,11,21,3.00,4.00,0.0,AC;\n"
            "AG,Gamma,3,EU,12,22,5.00,6.00,0.0,AG;\n");
        QStringList groups;
        for (const auto &g : data.groups)
            groups << QStringLiteral("%1 %2:%3")
                          .arg(data.entities[g.entity].name, g.key, g.prefixes.join(QLatin1Char(',')));
        QCOMPARE(groups, (QStringList{"Alpha AA:AA", "Alpha AB:AB", "Beta AD:AD", "Gamma AG:AG"}));
        QCOMPARE(data.warnings.size(), 2);
        QVERIFY(data.warnings[0].contains("Beta") && data.warnings[0].contains("AB"));
        QVERIFY(data.warnings[1].contains("Gamma") && data.warnings[1].contains("AD"));
    }

    void malformedFilesAreRefused_data()
    {
        QTest::addColumn<QString>("dat");
        QTest::addColumn<QString>("csv");
        QTest::addColumn<QString>("message");
        const QString csv = "VE,Canada,1,NA,5,9,44.35,78.75,5.0,VE;\n";
        QTest::newRow("header cut short") << "Canada: 05: 09: NA: 44.35: 78.75: VE:\n    VE;\n" << csv << "line 1";
        QTest::newRow("no end of aliases") << "Canada: 05: 09: NA: 44.35: 78.75: 5.0: VE:\n    VE,\n    VA;\n"
                                                  "Spain: 14: 37: EU: 40.32: 3.43: -1.0: EA:\n    EA,\n"
                                           << csv << "line 5";
        QTest::newRow("zone not a number") << "Canada: 0x: 09: NA: 44.35: 78.75: 5.0: VE:\n    VE;\n" << csv
                                           << "line 1";
        QTest::newRow("override not closed") << "Canada: 05: 09: NA: 44.35: 78.75: 5.0: VE:\n    VE,\n    VE3(4[4];\n"
                                             << csv << "line 3";
        QTest::newRow("empty alias") << "Canada: 05: 09: NA: 44.35: 78.75: 5.0: VE:\n    VE,,VA;\n" << csv << "line 2";
        QTest::newRow("';' missing before the next entity")
            << "Canada: 05: 09: NA: 44.35: 78.75: 5.0: VE:\n    VE,VA\nSpain: 14: 37: EU: 40.32: 3.43: -1.0: EA:\n    EA;\n"
            << csv << "Spain";
        QTest::newRow("empty file") << "" << csv << "no entity";
        QTest::newRow("csv without numbers") << "Canada: 05: 09: NA: 44.35: 78.75: 5.0: VE:\n    VE;\n"
                                             << "VE,Canada,NA,5,9;\n" << "cty.csv line 1";
    }
    void malformedFilesAreRefused()
    {
        QFETCH(QString, dat);
        QFETCH(QString, csv);
        QFETCH(QString, message);
        try {
            CtyImport::parse(dat, csv);
            QFAIL("accepted");
        } catch (const CtyImport::Error &e) {
            QVERIFY2(e.message().contains(message), qPrintable(e.message()));
        }
    }

    void failedInstallLeavesNoTable()
    {
        QTemporaryDir cty;
        QTemporaryDir program;
        writeFile(cty.filePath(QStringLiteral("cty.dat")), QByteArray(fixtureDat) + "Spain: 14: 37: EU:\n    EA;\n");
        writeFile(cty.filePath(QStringLiteral("cty.csv")), fixtureCsv);
        QVERIFY_THROWS_EXCEPTION(CtyImport::Error, CtyImport::installMissingTables(cty.path(), program.path()));
        for (const QString &file : fiveTables)
            QVERIFY2(!QFile::exists(program.filePath(file)), qPrintable(file));
        QVERIFY_THROWS_EXCEPTION(CtyImport::Error,
                                 CtyImport::installMissingTables(cty.filePath("absent"), program.path()));
    }

    // What the installer runs: the country tables, then the empty rest.
    void secondInstallKeepsExistingFiles()
    {
        QTemporaryDir program;
        auto install = [&](const QString &ctyDir) {
            QStringList created = CtyImport::installMissingTables(ctyDir, program.path()).created;
            return created + ProgramDirectory::installEmptyTables(program.path());
        };
        const QStringList created = install(ctyDir_.path());
        QCOMPARE(created.size(), 16); // 15 tables and the alarm sound
        QVERIFY(created.contains(program.filePath(QStringLiteral("Pack/cs.db")))); // the external base's template
        {
            Db::Database db;
            db.setDirectory(program.filePath(QStringLiteral("Log/Log1")));
            Db::Table log(&db, QStringLiteral("Tarnel"));
            log.open();
            log.append();
            log.fieldByName(QStringLiteral("LogCall")).setAsString(QStringLiteral("UA0AA"));
            log.post();
            Db::Database base;
            base.setDirectory(program.filePath(QStringLiteral("Base")));
            Db::Table prefix(&base, QStringLiteral("Prefix"));
            prefix.open();
            QVERIFY(prefix.locate(QStringLiteral("Prefix"), QStringLiteral("R0A")));
            prefix.edit();
            prefix.fieldByName(QStringLiteral("Country")).setAsString(QStringLiteral("Chukotka"));
            prefix.post();
        }
        QVERIFY(QFile::remove(program.filePath(QStringLiteral("Awrds/Waz.db"))));

        QCOMPARE(install(ctyDir_.path()), QStringList{program.filePath(QStringLiteral("Awrds/Waz.db"))});
        QCOMPARE(rows(program.filePath(QStringLiteral("Awrds")), QStringLiteral("Waz")).size(), 40);
        const auto log = rows(program.filePath(QStringLiteral("Log/Log1")), QStringLiteral("Tarnel"));
        QCOMPARE(log.size(), 1);
        QCOMPARE(log.first().value(QStringLiteral("LogCall")), QStringLiteral("UA0AA"));
        const auto r = resolve(program.path(), QStringLiteral("UA0AA"));
        QVERIFY(r);
        QCOMPARE(r->country, QStringLiteral("Chukotka"));

        // With every table there, the country files are not even read.
        QCOMPARE(install(program.filePath(QStringLiteral("no-such-dir"))), QStringList());
    }

    void debianFileAddsEveryPrefix()
    {
        QVERIFY(rows(debian_.filePath(QStringLiteral("Base")), QStringLiteral("Allpref")).size() > 7000);
    }

    void debianFileResolves_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("country");
        QTest::addColumn<QString>("cq");
        QTest::addColumn<QString>("itu");
        QTest::addColumn<QString>("dxcc");
        QTest::addColumn<double>("timeDiff");
        QTest::newRow("VE3ABC") << "VE3ABC" << "Canada" << "04" << "04" << "VE" << -5.0;
        QTest::newRow("UA0AA") << "UA0AA" << "Asiatic Russia" << "18" << "32" << "UA9" << 7.0;
        QTest::newRow("UA1AA") << "UA1AA" << "European Russia" << "16" << "29" << "UA1" << 4.0;
        QTest::newRow("EA8ABC") << "EA8ABC" << "Canary Islands" << "33" << "36" << "EA8" << 0.0;
        QTest::newRow("KH6ABC") << "KH6ABC" << "Hawaii" << "31" << "61" << "KH6" << -10.0;
    }
    void debianFileResolves()
    {
        QFETCH(QString, call);
        const auto r = resolve(debian_.path(), call);
        QVERIFY(r);
        QTEST(r->country, "country");
        QTEST(r->cq, "cq");
        QTEST(r->itu, "itu");
        QTEST(r->dxcc, "dxcc");
        QTEST(r->timeDiff, "timeDiff");
    }
};

QTEST_GUILESS_MAIN(TestCtyImport)
#include "TestCtyImport.moc"
