// Contacts through the ADIF import, the export and the awards rebuild, on the
// program's tables without the windows: what goes out comes back, and the
// import, the marks, the rebuild and the export agree with one another.

#include "core/ProgramFixture.h"
#include "core/ProgramTables.h"
#include "core/SamplePrefixes.h"

#include "awards/AwardsRebuild.h"
#include "exchange/LogExport.h"
#include "exchange/LogImport.h"
#include "platform/ui/Dialogs.h"

#include <memory>

namespace {

// A program directory with the sample prefixes and its walks.
struct Program {
    Program()
    {
        addSamplePrefixes(dir);
        tables = std::make_unique<ProgramTables>(dir.path());
    }
    LogImport::Counts import(const QByteArray &file)
    {
        ProgramTables &t = *tables;
        return LogImport::importFile(file, {t.log, t.lookup, t.allpref, t.prefix, t.marks, t.dxcc, t.ur, t.waz});
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

    // A contact is in the log when call, date, time, band and mode agree,
    // band and mode as the log would store them.
    void duplicates_data()
    {
        QTest::addColumn<QString>("inLog"); // band|mode of QB1AA on 15.01.2003 at 12:34:56, "" for none
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("added");
        const QByteArray ssb20 = record(field("BAND", "20M") + field("MODE", "SSB"));
        QTest::newRow("the same contact") << "14|SSB" << ssb20 << 0;
        QTest::newRow("another band") << "7|SSB" << ssb20 << 1;
        QTest::newRow("another mode") << "14|CW" << ssb20 << 1;
        QTest::newRow("another minute") << "14|SSB" << record(field("BAND", "20M") + field("MODE", "SSB"), "QB1AA", "1235")
                                        << 1;
        QTest::newRow("stored 7.0 is 40M") << "7.0|CW" << record(field("BAND", "40M") + field("MODE", "CW")) << 0;
        QTest::newRow("stored 7.0 is 7.025 MHz")
            << "7.0|CW" << record(field("FREQ", "7.025") + field("MODE", "CW")) << 0;
        QTest::newRow("satellite") << "Satell|FM" << record(field("BAND", "sat") + field("MODE", "fm")) << 0;
        QTest::newRow("a band that is no key") << "60M|CW" << record(field("BAND", "60m") + field("MODE", "CW")) << 0;
        QTest::newRow("mode cut to the field")
            << "14|OLIVIA 8/2" << record(field("BAND", "20M") + field("MODE", "OLIVIA 8/250")) << 0;
        QTest::newRow("one station on three bands in one minute")
            << "" << (record(field("BAND", "80M") + field("MODE", "CW")) + record(field("BAND", "40M") + field("MODE", "CW")) +
                      record(field("BAND", "20M") + field("MODE", "CW")))
            << 3;
        QTest::newRow("a later record confirming it")
            << "" << (record(field("BAND", "20M") + field("MODE", "FT8")) +
                      record(field("BAND", "20M") + field("MODE", "FT4") + field("QSL_RCVD", "Y")))
            << 2;
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
};

QTEST_GUILESS_MAIN(TestAdifRoundTrip)
#include "TestAdifRoundTrip.moc"
