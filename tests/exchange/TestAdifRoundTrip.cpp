// Contacts through the ADIF import, the export and the awards rebuild, on the
// program's tables without the windows: what goes out comes back, and the
// import, the marks, the rebuild and the export agree with one another.

#include "core/ProgramFixture.h"
#include "core/ProgramTables.h"
#include "core/SamplePrefixes.h"
#include "platform/table/TableFixture.h"

#include "awards/AwardsBehind.h"
#include "awards/AwardsRebuild.h"
#include "exchange/LogExport.h"
#include "exchange/LogImport.h"
#include "platform/table/Table.h"
#include "platform/table/TableFile.h"
#include "platform/ui/Dialogs.h"

#include <memory>
#include <stdexcept>

namespace {

// A program directory with the sample prefixes and its walks.
struct Program {
    Program()
    {
        addSamplePrefixes(dir);
        tables = std::make_unique<ProgramTables>(dir.path());
    }
    LogImport::Counts import(const QByteArray &file, const LogImport::Tick &tick = {})
    {
        ProgramTables &t = *tables;
        return LogImport::importFile(file, {t.log, t.lookup, t.allpref, t.prefix, t.marks, t.dxcc, t.ur, t.waz}, tick);
    }
    QByteArray exported()
    {
        QFile file(LogExport::exportAdif(tables->log, dir.path(QStringLiteral("export"))));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void rebuild()
    {
        ProgramTables &t = *tables;
        AwardsRebuild::rebuild({t.log, t.allpref, t.prefix, t.marks, t.dxcc, t.ur, t.waz}, true);
    }
    // The fields of every row, joined by "|", in the log's order.
    QStringList rows(const QStringList &fields)
    {
        Db::Table &log = tables->log;
        QStringList all;
        for (log.first(); !log.eof(); log.next()) {
            QStringList texts;
            for (const QString &f : fields)
                texts << log.fieldByName(f).asString();
            all << texts.join(u'|');
        }
        return all;
    }
    QString dxccCell(const QString &key, const QString &cell)
    {
        Db::Table t(&tables->awardDb, QStringLiteral("Dxcc"));
        t.open();
        return t.locate(QStringLiteral("Prefix"), key) ? t.fieldByName(cell).asString() : QStringLiteral("<no row>");
    }

    ProgramFixture dir;
    std::unique_ptr<ProgramTables> tables;
};

QByteArray field(const char *name, const QString &value)
{
    const QByteArray bytes = value.toUtf8();
    return '<' + QByteArray(name) + ':' + QByteArray::number(bytes.size()) + '>' + bytes + ' ';
}

// A contact of QB1AA on 15 January 2003 at 12:34 with the fields given.
QByteArray record(const QByteArray &fields, const char *call = "QB1AA", const char *time = "1234")
{
    return field("CALL", QString::fromLatin1(call)) + field("QSO_DATE", "20030115") +
           field("TIME_ON", QString::fromLatin1(time)) + fields + "<EOR>\r\n";
}

} // namespace

class TestAdifRoundTrip : public QObject {
    Q_OBJECT

    std::unique_ptr<Ui::ScriptedDialogs> dialogs_;

private slots:
    void init() { dialogs_ = std::make_unique<Ui::ScriptedDialogs>(); }
    void cleanup() { dialogs_.reset(); }

    // Every ADIF band name from 2190M to 23CM and a few other band texts,
    // imported, exported and imported into an empty log: none lost, every
    // band text as the first log stored it.
    void bandTextsComeBack()
    {
        const QStringList names{"2190M", "630M", "560M", "160M", "80M", "60M",   "40M",  "30M",
                                "20M",   "17M",  "15M",  "12M",  "10M", "8M",    "6M",   "5M",
                                "4M",    "2M",   "1.25M", "70CM", "33CM", "23CM", "13cm", "submm", "SAT"};
        QByteArray file;
        int n = 0;
        for (const QString &band : names)
            file += record(field("BAND", band) + field("MODE", "CW"), qPrintable(QStringLiteral("QB%1AA").arg(++n)));
        // A band name over a frequency outside it, and frequencies in no band.
        file += record(field("BAND", "630m") + field("FREQ", "0.475") + field("MODE", "CW"), "QC1AA");
        file += record(field("FREQ", "5.3585") + field("MODE", "USB"), "QC2AA");
        file += record(field("FREQ", "7.301") + field("MODE", "SSB"), "QC3AA");
        const int contacts = int(names.size()) + 3;

        Program first;
        QCOMPARE(first.import(file).added, contacts);
        const QStringList stored = first.rows({"LogCall", "LogBand", "LogMode"});
        QVERIFY(stored.contains("QB1AA|2190M|CW"));
        QVERIFY(stored.contains("QB23AA|13CM|CW"));
        QVERIFY(stored.contains("QC2AA|5.3585|USB"));

        Program second;
        const LogImport::Counts back = second.import(first.exported());
        QCOMPARE(back.added, contacts);
        QCOMPARE(back.rejected, 0);
        QCOMPARE(second.rows({"LogCall", "LogBand", "LogMode"}), stored);
        QCOMPARE(dialogs_->shown.size(), 0);
    }

    // The QSL flags with and without their dates: a date is kept only beside
    // "Y", and then the import's marks, the rebuild's and the export's flags
    // all say the same.
    void qslFlagsAndDates_data()
    {
        QTest::addColumn<QString>("flag"); // "" for none
        QTest::addColumn<bool>("dated");
        QTest::addColumn<QString>("stored"); // LogRxQsl and LogTxQsl
        for (const char *flag : {"Y", "y", "N", "R", "V", "I", ""}) {
            const bool yes = QByteArray(flag).toUpper() == "Y";
            QTest::addRow("%s, dated", *flag ? flag : "none") << flag << true << (yes ? "01.02.2024  " : "");
            QTest::addRow("%s, no date", *flag ? flag : "none") << flag << false << (yes ? "  Y" : "");
        }
    }
    void qslFlagsAndDates()
    {
        QFETCH(QString, flag);
        QFETCH(bool, dated);
        QFETCH(QString, stored);
        QByteArray fields = field("BAND", "17M") + field("MODE", "CW");
        if (!flag.isEmpty())
            fields += field("QSL_RCVD", flag) + field("QSL_SENT", flag);
        if (dated)
            fields += field("QSLRDATE", "20240201") + field("QSLSDATE", "20240201");
        Program p;
        QCOMPARE(p.import(record(fields, "UR5ABC")).added, 1);
        QCOMPARE(p.rows({"LogRxQsl", "LogTxQsl"}), QStringList{stored + u'|' + stored});

        const bool confirmed = !stored.isEmpty();
        const QString mark = confirmed ? QStringLiteral("cfm") : QStringLiteral("wkd");
        QCOMPARE(p.dxccCell("UR", "B18Cw"), mark);
        p.rebuild();
        QCOMPARE(p.dxccCell("UR", "B18Cw"), mark);
        const QByteArray line = p.exported().split('\n').value(2);
        QVERIFY2(line.contains(confirmed ? "<QSL_RCVD:1>Y <QSL_SENT:1>Y " : "<QSL_RCVD:1>N <QSL_SENT:1>N "),
                 line.constData());
    }

    // A contact is in the log when call, date, time and band agree, the band
    // as the log would store it; the mode is any.
    void duplicates_data()
    {
        QTest::addColumn<QString>("inLog"); // band|mode of QB1AA on 15.01.2003 at 12:34:56, "" for none
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("added");
        const QByteArray ssb20 = record(field("BAND", "20M") + field("MODE", "SSB"));
        QTest::newRow("the same contact") << "14|SSB" << ssb20 << 0;
        QTest::newRow("another band") << "7|SSB" << ssb20 << 1;
        QTest::newRow("USB logged, SSB confirmed") << "14|USB" << ssb20 << 0;
        QTest::newRow("FT4 logged, MFSK from WSJT-X") << "14|FT4" << record(field("BAND", "20M") + field("MODE", "MFSK")) << 0;
        QTest::newRow("DATA and MT63 on one frequency in one minute")
            << "" << (record(field("FREQ", "14.070") + field("MODE", "DATA")) +
                      record(field("FREQ", "14.070") + field("MODE", "MT63")))
            << 1;
        QTest::newRow("another minute") << "14|SSB" << record(field("BAND", "20M") + field("MODE", "SSB"), "QB1AA", "1235")
                                        << 1;
        QTest::newRow("stored 7.0 is 40M") << "7.0|CW" << record(field("BAND", "40M") + field("MODE", "CW")) << 0;
        QTest::newRow("stored 7.0 is 7.025 MHz")
            << "7.0|CW" << record(field("FREQ", "7.025") + field("MODE", "CW")) << 0;
        QTest::newRow("satellite") << "Satell|FM" << record(field("BAND", "sat") + field("MODE", "fm")) << 0;
        QTest::newRow("a band that is no key") << "60M|CW" << record(field("BAND", "60m") + field("MODE", "CW")) << 0;
        QTest::newRow("one station on three bands in one minute")
            << "" << (record(field("BAND", "80M") + field("MODE", "CW")) + record(field("BAND", "40M") + field("MODE", "CW")) +
                      record(field("BAND", "20M") + field("MODE", "CW")))
            << 3;
    }
    void duplicates()
    {
        QFETCH(QString, inLog);
        QFETCH(QByteArray, file);
        QFETCH(int, added);
        Program p;
        if (!inLog.isEmpty()) {
            Db::Table &log = p.tables->log;
            log.append();
            log.fieldByName("LogCall").setAsString("QB1AA");
            log.fieldByName("LogDate").setAsString("15.01.2003");
            log.fieldByName("LogTime").setAsString("12:34:56");
            log.fieldByName("LogBand").setAsString(inLog.section(u'|', 0, 0));
            log.fieldByName("LogMode").setAsString(inLog.section(u'|', 1));
            log.post();
        }
        const int before = p.tables->log.recordCount();
        const LogImport::Counts counts = p.import(file);
        QCOMPARE(counts.added, added);
        QCOMPARE(p.tables->log.recordCount(), before + added);
        // Again, and the program's own export of the whole log: nothing new.
        QCOMPARE(p.import(file).added, 0);
        QCOMPARE(p.import(p.exported()).added, 0);
        QCOMPARE(p.tables->log.recordCount(), before + added);
    }

    // An import far larger than the log builds the log's other indexes again
    // at its end. However it ends, the file's schema is the one before and
    // every index holds every row; an import stopped or failed leaves the rows
    // as they were, and the cursors read and write on. An index another
    // program added stays as it is throughout.
    void aLargeImportKeepsTheLogsSchema_data()
    {
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("otherIndex"); // added by another program, "" for none
        QTest::newRow("completed") << "completed" << "";
        QTest::newRow("stopped") << "stopped" << "";
        QTest::newRow("commit failed") << "commit failed" << "";
        QTest::newRow("completed, an index of another program")
            << "completed" << "CREATE INDEX theirs ON Tarnel (LogName, LogQth)";
    }
    void aLargeImportKeepsTheLogsSchema()
    {
        QFETCH(QString, end);
        QFETCH(QString, otherIndex);
        Program p;
        if (!otherIndex.isEmpty()) {
            const QString path = p.tables->log.filePath();
            p.tables.reset();
            QCOMPARE(TableFixture::sqliteRows(path, otherIndex), QStringList());
            p.tables = std::make_unique<ProgramTables>(p.dir.path());
        }
        Db::Table &log = p.tables->log;
        for (const char *call : {"UR5AAA", "QB1AB"}) {
            log.append();
            log.fieldByName("LogCall").setAsString(call);
            log.fieldByName("LogDate").setAsString("15.01.2003");
            log.fieldByName("LogTime").setAsString("12:34:00");
            log.fieldByName("LogBand").setAsString("14");
            log.fieldByName("LogMode").setAsString("CW");
            log.post();
        }
        // A duplicate first, then new contacts, twenty times the log.
        QByteArray file = record(field("BAND", "20M") + field("MODE", "CW"), "UR5AAA");
        for (int i = 0; i < 40; ++i)
            file += record(field("BAND", "20M") + field("MODE", "SSB") + field("NAME", QStringLiteral("Name %1").arg(i)),
                           qPrintable(QStringLiteral("UR%1XYZ").arg(i)));
        const QString path = log.filePath();
        const auto schema = [&path] {
            return TableFixture::sqliteRows(path, "SELECT type, name, sql FROM sqlite_master ORDER BY name");
        };
        const auto rows = [&path] { return TableFixture::sqliteRows(path, "SELECT * FROM Tarnel ORDER BY LogNom"); };
        const QStringList schemaBefore = schema(), rowsBefore = rows();
        QVERIFY(schemaBefore.size() > 10);

        if (end == "commit failed")
            Db::setTransactionFault([](const QString &file, const QString &command) {
                return file == QLatin1String("Tarnel.db") && command == QLatin1String("COMMIT");
            });
        bool failed = false;
        int indexesDuring = -1;
        LogImport::Counts counts;
        try {
            counts = p.import(file, [&](int stored) {
                if (stored != 20)
                    return;
                // As the walk's own connection sees the file.
                Db::Statement s = log.file()->prepare("SELECT count(*) FROM sqlite_master WHERE type = 'index'");
                s.step();
                indexesDuring = int(s.column(0).toLongLong());
                if (end == "stopped")
                    throw std::runtime_error("stopped");
            });
        } catch (const std::exception &) {
            failed = true;
        }
        Db::setTransactionFault({});
        QCOMPARE(failed, end != "completed");
        QCOMPARE(counts.added, failed ? 0 : 40);
        // The call's, SQLite's own of the layout description, and the other program's.
        QCOMPARE(indexesDuring, otherIndex.isEmpty() ? 2 : 3);
        QCOMPARE(schema(), schemaBefore);
        QCOMPARE(TableFixture::sqliteRows(path, "PRAGMA integrity_check"), QStringList{"ok"});
        QVERIFY(!AwardsBehind::isMarked(path)); // a log as before, or awards that followed it
        if (failed)
            QCOMPARE(rows(), rowsBefore);
        else
            QCOMPARE(rows().size(), 42);

        // The cursors on the log go on in a sort order of a rebuilt index.
        const int count = failed ? 2 : 42;
        log.setIndexName("ByName");
        log.last();
        QCOMPARE(log.fieldByName("LogName").asString(), failed ? QString() : QStringLiteral("Name 9"));
        log.append();
        log.fieldByName("LogCall").setAsString("QB1AC");
        log.fieldByName("LogName").setAsString("Zed");
        log.post();
        log.last();
        QCOMPARE(log.fieldByName("LogCall").asString(), QStringLiteral("QB1AC"));
        QCOMPARE(p.tables->lookup.recordCount(), count + 1);
        QCOMPARE(p.import(file).added, failed ? 40 : 0);
        // And the file opens again as a table file of this program.
        p.tables.reset();
        p.tables = std::make_unique<ProgramTables>(p.dir.path());
        QCOMPARE(p.tables->log.recordCount(), 43);
    }
};

QTEST_GUILESS_MAIN(TestAdifRoundTrip)
#include "TestAdifRoundTrip.moc"
