// The import and the two exports through the main window: what lands in the
// log and the award tables, the files written, and the windows afterwards.

#include "AdifFiles.h"
#include "core/ProgramFixture.h"
#include "core/SamplePrefixes.h"

#include "awards/AwardsBehind.h"
#include "awards/BandIndicators.h"
#include "core/GlavnMod.h"
#include "core/Progress.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"

#include <QProgressBar>
#include <QRegularExpression>
#include <sqlite3.h>

namespace {

// A second connection, as another program would have it: makes writes fail.
void runSql(const QString &path, const char *sql)
{
    sqlite3 *db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    QCOMPARE(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

// Whether another program could write the file now: no transaction of ours
// holds it.
bool othersCanWrite(const QString &path)
{
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    const int rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return rc == SQLITE_OK;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Every row of a table file as text, read through a cursor of its own.
QStringList rowsOf(Db::Database &database, const char *table)
{
    Db::Table t(&database, QString::fromLatin1(table));
    t.open();
    QStringList rows;
    for (const Db::RowTexts &r : t.readRows(0, t.recordCount()))
        rows << r.texts.join(u'|');
    return rows;
}

QStringList awards()
{
    return rowsOf(DM->Database4, "Dxcc") + rowsOf(DM->Database4, "UR") + rowsOf(DM->Database4, "Waz");
}

QString awardCell(const char *table, const QString &key, const char *cell)
{
    Db::Table t(&DM->Database4, QString::fromLatin1(table));
    t.open();
    if (!t.locate(QString::fromLatin1(table) == QLatin1String("Waz") ? "Zone" : "Prefix", key))
        return QStringLiteral("<no row>");
    return t.fieldByName(QString::fromLatin1(cell)).asString();
}

// The log's row of `call`: the fields in `names`, joined by "|".
QString logRow(const QString &call, const QStringList &names)
{
    Db::Table t(&DM->Database1, QStringLiteral("Tarnel"));
    t.open();
    if (!t.locate(QStringLiteral("LogCall"), call))
        return QStringLiteral("<no row>");
    QStringList texts;
    for (const QString &n : names)
        texts << t.fieldByName(n).asString();
    return texts.join(u'|');
}

struct Summary {
    int added = -1, duplicates = -1, rejected = -1;
};

Summary summaryOf(const QStringList &warnings)
{
    static const QRegularExpression re(QStringLiteral("^ADIF import: (\\d+) new, (\\d+) already in the log, (\\d+) rejected$"),
                                       QRegularExpression::MultilineOption);
    const auto m = re.match(warnings.isEmpty() ? QString() : warnings.last());
    if (!m.hasMatch())
        return {};
    return {m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()};
}

} // namespace

class TestAdifImportWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFixture> program_;
    std::unique_ptr<Ui::ScriptedDialogs> dialogs_;

    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = program_->path(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return {};
        return path;
    }

    Summary import(const QString &path, Ui::Answer clearAwards = Ui::Answer::No)
    {
        dialogs_->answers.push_back(clearAwards);
        dialogs_->fileNames.push_back(path);
        Form3->LogImportAdifClick();
        return summaryOf(dialogs_->informations());
    }

    void addLogRows(const QList<QStringList> &rows)
    {
        static const QStringList names{"LogCall", "LogDate",  "LogTime", "LogBand",  "LogMode",  "LogRxRst",
                                       "LogTxRst", "LogName", "LogQth",  "LogRxQsl", "LogTxQsl", "LogNotepad"};
        for (const QStringList &row : rows) {
            DM->Table1.append();
            for (int i = 0; i < names.size(); ++i)
                DM->Table1.fieldByName(names[i]).setAsString(row.value(i));
            DM->Table1.post();
        }
    }

    // Whatever ended the walk, the windows are as before it.
    void verifyRestored()
    {
        QVERIFY(DM->DataSource1.isEnabled());
        QVERIFY(!Form3->MemoNot->isHidden());
        QVERIFY(Progress->isHidden());
        QCOMPARE(Progress->windowTitle(), QStringLiteral("Progress"));
        QCOMPARE(Progress->PrBar->value(), 0);
        QCOMPARE(DM->Table1.state(), Db::Table::State::Browse);
    }

private slots:
    void init()
    {
        program_ = std::make_unique<ProgramFixture>();
        addSamplePrefixes(*program_);
        program_->addRows("Base", "Allpref", {{{"AddPrefix", "QB"}, {"MainPrefix", "QB"}}});
        program_->addRows("Base", "Prefix", {prefixRow("QB", "QB", "Testland", "15", "28", "50", "-10", "1")});
        dialogs_ = std::make_unique<Ui::ScriptedDialogs>();
        createWindowSet();
        Form3->Timer1->stop();
    }
    void cleanup()
    {
        destroyWindowSet();
        dialogs_.reset();
        program_.reset();
    }

    // The row stored, the award cell it marks, and a second
    // import of the same file stores nothing.
    void aRecordIsStoredAndMarkedOnce_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("row"); // pref|obl|date|time|band|mode|txQsl|rxQsl|notepad|Log4
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("mark");
        QTest::addColumn<int>("records");
        QTest::newRow("the QB1AA line")
            << QByteArray("<CALL:5>QB1AA<QSO_DATE:8>20030115<TIME_ON:6>123456<BAND:3>20M<MODE:3>SSB<EOR>\r\n")
            << "QB1AA" << "QB|Testland|15.01.2003|12:34:00|14|SSB|||   |"
            << "Dxcc" << "QB" << "B14Ssb" << "wkd" << 1;
        QTest::newRow("worked, then confirmed alike")
            << QByteArray("<CALL:5>QB1AA<QSO_DATE:8>20030115<TIME_ON:4>1234<BAND:3>20M<MODE:3>SSB<QSL_RCVD:1>N<EOR>\n"
                          "<CALL:5>QB1AB<QSO_DATE:8>20030115<TIME_ON:4>1235<BAND:3>20M<MODE:3>SSB<QSL_RCVD:1>Y<EOR>\n")
            << "QB1AB" << "QB|Testland|15.01.2003|12:35:00|14|SSB||  Y|   |"
            << "Dxcc" << "QB" << "B14Ssb" << "cfm" << 2;
        QTest::newRow("lower-case tags and call, QSL received")
            << QByteArray("<call:6>dl4bdf <qso_date:8:d>20240301 <time_on:4>0815 <band:3>40m <mode:2>cw "
                          "<qsl_rcvd:1>Y <qslrdate:8>20240401 <eor>\n")
            << "DL4BDF" << "DL|Federal Republi|01.03.2024|08:15:00|7|CW||01.04.2024  |   |"
            << "Waz" << "14" << "B7CW" << "cfm" << 1;
        QTest::newRow("satellite")
            << QByteArray("<CALL:6>UR5SAT\n<QSO_DATE:8>20240301\n<TIME_ON:4>0815\n<BAND:3>SAT\n<MODE:3>FM\n<EOR>\n")
            << "UR5SAT" << "UR|Ukraine|01.03.2024|08:15:00|Satell|FM|||   |"
            << "UR" << "UR" << "Satellite" << "wkd" << 1;
        QTest::newRow("no prefix: stored, marked nowhere")
            << QByteArray("<CALL:5>ZZ1ZZ<QSO_DATE:8>20030115<TIME_ON:4>1234<BAND:3>20M<MODE:2>CW<NOTES:2>hi<EOR>")
            << "ZZ1ZZ" << "||15.01.2003|12:34:00|14|CW|||   hi|" << "" << "" << "" << "" << 1;
        QTest::newRow("line breaks: blanks in the call, kept in the notepad")
            << QByteArray("<CALL:18>QB1AA\r\nEND-OF-LOG:<QSO_DATE:8>20030115<TIME_ON:4>1234<BAND:3>20M<MODE:2>CW"
                          "<NOTES:4>a\r\nb<EOR>")
            << "QB1AA  END-OF-LOG:" << "QB|Testland|15.01.2003|12:34:00|14|CW|||   a\r\nb|"
            << "Dxcc" << "QB" << "B14Cw" << "wkd" << 1;
        QTest::newRow("Unicode line separator: a blank in the call")
            << QByteArray("<CALL:19>QB1AA\xE2\x80\xA8" "END-OF-LOG:<QSO_DATE:8>20030115<TIME_ON:4>1234<BAND:3>20M"
                          "<MODE:2>CW<EOR>")
            << "QB1AA END-OF-LOG:" << "QB|Testland|15.01.2003|12:34:00|14|CW|||   |"
            << "Dxcc" << "QB" << "B14Cw" << "wkd" << 1;
    }
    void aRecordIsStoredAndMarkedOnce()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, call);
        QFETCH(QString, row);
        QFETCH(QString, table);
        QFETCH(QString, key);
        QFETCH(QString, cell);
        QFETCH(QString, mark);
        QFETCH(int, records);
        const QStringList awardsBefore = awards();
        const QString path = writeFile("one.adi", file);

        const Summary first = import(path);
        QCOMPARE(first.added, records);
        QCOMPARE(first.duplicates + first.rejected, 0);
        QCOMPARE(logRow(call, {"LogPref", "LogObl", "LogDate", "LogTime", "LogBand", "LogMode", "LogTxQsl",
                               "LogRxQsl", "LogNotepad", "Log4"}),
                 row);
        if (table.isEmpty())
            QCOMPARE(awards(), awardsBefore);
        else
            QCOMPARE(awardCell(qPrintable(table), key, qPrintable(cell)), mark);
        QCOMPARE(Form3->Total->text(), QString::number(records));
        QCOMPARE(DM->Table1.indexName(), QStringLiteral("ByDatTim"));
        QCOMPARE(DM->Table1.fieldByName("LogCall").asString(), call); // on the last row
        verifyRestored();

        const Summary second = import(path);
        QCOMPARE(second.added, 0);
        QCOMPARE(second.duplicates, records);
        QCOMPARE(DM->Table1.recordCount(), records);
        QCOMPARE(dialogs_->questions(), QStringList({"Clear Awards ?", "Clear Awards ?"}));
    }

    // A note past what a memo holds is stored cut, and said so; a file of
    // bad records shows the first one's box and counts the rest.
    void hostileValuesAreCutAndCounted()
    {
        const QByteArray longNote(Db::maximumMemoLength + 1000, 'n');
        QByteArray file = "<CALL:5>QB1AA<QSO_DATE:8>20030115<TIME_ON:4>1234<BAND:3>20M<MODE:2>CW<NOTES:" +
                          QByteArray::number(longNote.size()) + ">" + longNote + "<EOR>\n";
        for (int i = 0; i < 50; ++i)
            file += "<CALL:5>QB1A" + QByteArray(1, char('B' + i % 20)) +
                    "<QSO_DATE:8>2003011X<TIME_ON:4>1234<BAND:3>20M<MODE:2>CW<EOR>\n";
        const Summary summary = import(writeFile("hostile.adi", file));
        QCOMPARE(summary.added, 1);
        QCOMPARE(summary.rejected, 50);
        QCOMPARE(dialogs_->warnings(), QStringList{"Invalid Date in ADIF file ! QB1AB"});
        QCOMPARE(dialogs_->informations().last().section(u'\n', 1),
                 QStringLiteral("50 rejected: Invalid Date in ADIF file !\n1 notes cut to 65536 characters"));
        QCOMPARE(logRow("QB1AA", {"LogNotepad"}).size(), Db::maximumMemoLength);
    }

    // Our own export read back: a contact saved with seconds, a satellite and
    // a band that is no key are all found in the log.
    void anExportReimportsToNothingNew()
    {
        addLogRows({{"UR5ABC", "15.01.2003", "12:34:56", "14", "SSB", "59", "57", "Ivan", "Kyiv", "", "Yes", "   "},
                    {"UR5SAT", "16.01.2003", "08:00:00", "Satell", "FM", "5", "5", "", "", "  Y", "", ""},
                    {"DL1AA", "17.01.2003", "23:59:00", "7.0", "CW", "599", "599", "", "", "", "", "note"}});
        dialogs_->fileNames.push_back(program_->path("round"));
        Form3->LogExportAdifClick();
        verifyRestored();
        QVERIFY(QFile::exists(program_->path("round.adi")));

        const Summary back = import(program_->path("round.adi"));
        QCOMPARE(back.added, 0);
        QCOMPARE(back.duplicates, 3);
        QCOMPARE(back.rejected, 0);
        QCOMPARE(DM->Table1.recordCount(), 3);
    }

    void yesThenCancelClearsTheAwardsOnly()
    {
        addLogRows({{"UR5ABC", "15.01.2003", "12:34:00", "14", "SSB", "59", "57"}});
        QCOMPARE(awardCell("Dxcc", "UR", "B14"), QStringLiteral("cfm"));
        dialogs_->answers.push_back(Ui::Answer::Yes); // and the file dialog is cancelled
        Form3->LogImportAdifClick();
        QCOMPARE(awardCell("Dxcc", "UR", "B14"), QString());
        QCOMPARE(awardCell("UR", "UR", "B21"), QString());
        QCOMPARE(awardCell("Waz", "16", "B28"), QString());
        QCOMPARE(DM->Table1.recordCount(), 1);
        QCOMPARE(dialogs_->informations(), QStringList()); // no summary for no file
        verifyRestored();
    }

    // Files other loggers wrote: nothing lost without being counted.
    void loggersFilesAddUp_data()
    {
        AdifFiles::addRows();
    }
    void loggersFilesAddUp()
    {
        QFETCH(QString, path);
        ADIF_FILES_SKIP_ABSENT(path);
        const int records = int(readAll(path).toLower().count("<eor>"));
        const Summary s = import(path);
        QCOMPARE(s.added + s.duplicates + s.rejected, records);
        QCOMPARE(DM->Table1.recordCount(), s.added);
        verifyRestored();
    }

    // A failing walk is reported once and leaves whole rows or none.
    void failuresAreReportedAndRestore_data()
    {
        QTest::addColumn<QString>("table"); // the file a trigger refuses, or "" for a missing input file
        QTest::addColumn<int>("rows");      // log rows afterwards
        QTest::newRow("log refuses the rows") << "Log/Log1/Tarnel.db" << 0;
        QTest::newRow("awards refuse the marks") << "Awrds/Dxcc.db" << 2;
        QTest::newRow("file missing") << "" << 0;
    }
    void failuresAreReportedAndRestore()
    {
        QFETCH(QString, table);
        QFETCH(int, rows);
        const QString path = writeFile(
            "two.adi", "<CALL:5>QB1AA<QSO_DATE:8>20030115<TIME_ON:4>1234<BAND:3>20M<MODE:3>SSB<EOR>\n"
                       "<CALL:5>QB1AB<QSO_DATE:8>20030115<TIME_ON:4>1235<BAND:3>20M<MODE:3>SSB<EOR>\n");
        if (!table.isEmpty()) {
            const QByteArray name = QFileInfo(table).baseName().toLatin1();
            runSql(program_->path(table), "CREATE TRIGGER refuse BEFORE INSERT ON " + name +
                                              " BEGIN SELECT RAISE(ABORT, 'refused'); END");
        }
        const QStringList awardsBefore = awards();
        import(table.isEmpty() ? program_->path("missing.adi") : path);
        QCOMPARE(dialogs_->errors().size(), 1);
        QCOMPARE(dialogs_->informations(), QStringList()); // no summary after a failure
        QCOMPARE(DM->Table1.recordCount(), rows);
        QCOMPARE(awards(), awardsBefore);
        verifyRestored();
        QCOMPARE(DM->Table1.indexName(), QStringLiteral("ByDatTim"));
    }

    // The country a contact gets is the one the Info panel showed for its
    // call, whether the contact was imported or saved, and the rebuild keeps
    // it; the fifth character decides for these calls.
    void countriesAgree_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("country"); // as stored: 15 characters
        QTest::newRow("whole call 4U1UN over 4U") << "4U1UN" << "United Nations ";
        QTest::newRow("RI1AN over R") << "RI1AND" << "Antarctica";
        QTest::newRow("whole call E51WL over E5") << "E51WL" << "North Cook Isla";
        QTest::newRow("an ordinary call") << "UR5ABC" << "Ukraine";
    }
    void countriesAgree()
    {
        QFETCH(QString, call);
        QFETCH(QString, country);
        program_->addRows("Base", "Allpref",
                          {{{"AddPrefix", "4U"}, {"MainPrefix", "I"}}, {{"AddPrefix", "4U1UN"}, {"MainPrefix", "4U1U"}},
                           {{"AddPrefix", "R"}, {"MainPrefix", "UA"}}, {{"AddPrefix", "RI1AN"}, {"MainPrefix", "CE9"}},
                           {{"AddPrefix", "E5"}, {"MainPrefix", "E5"}}, {{"AddPrefix", "E51WL"}, {"MainPrefix", "E51"}}});
        program_->addRows("Base", "Prefix",
                          {prefixRow("I", "I", "Italy", "15", "28", "42", "-12", "1"),
                           prefixRow("4U1U", "4U1U", "United Nations HQ", "05", "08", "40,75", "73,97", "-5"),
                           prefixRow("CE9", "CE9", "Antarctica", "13", "74", "-90", "0", "0"),
                           prefixRow("E5", "E5", "South Cook Islands", "32", "62", "-21", "159", "-10"),
                           prefixRow("E51", "E51", "North Cook Islands", "32", "62", "-10", "161", "-10")});
        const QString line = QStringLiteral("<CALL:%1>%2<QSO_DATE:8>20240101<TIME_ON:4>1000<BAND:3>20M<MODE:2>CW<EOR>\n")
                                 .arg(call.size())
                                 .arg(call);
        QCOMPARE(import(writeFile("one.adi", line.toLatin1())).added, 1);
        Form3->MaskEditCall->setText(call);
        QCOMPARE(Form3->LabelCount->text().left(15), country);
        QCOMPARE(Ui::fontColor(Form3->Label26), BandIndicators::green); // worked: the import's country
        Form3->MaskEditDate->setText("08.12.2026");
        Form3->MaskEditTime->setText("20:00:00");
        Form3->ComboBoxBand->setCurrentText("14");
        Form3->ComboBoxMode->setCurrentText("SSB");
        Form3->ButtonSaveClick();
        QCOMPARE(dialogs_->errors(), QStringList());
        const QStringList both{country + "|01.01.2024", country + "|08.12.2026"};
        QCOMPARE(rowsOf(DM->Database1, "Tarnel").size(), 2);
        auto countries = [] {
            QStringList rows;
            for (DM->LogLookup.first(); !DM->LogLookup.eof(); DM->LogLookup.next())
                rows << DM->LogLookup.fieldByName("LogObl").asString() + u'|' +
                            DM->LogLookup.fieldByName("LogDate").asString();
            rows.sort();
            return rows;
        };
        QCOMPARE(countries(), both);
        dialogs_->answers.push_back(Ui::Answer::Yes);
        Form3->Refresh1Click();
        QCOMPARE(dialogs_->errors(), QStringList());
        QCOMPARE(countries(), both);
    }

    // A commit that fails (a full disk) and whose roll-back fails too leaves
    // no transaction open: other programs can write the file, and the next
    // save's mark is committed, so it is there after a restart.
    void aFailedCommitLeavesNothingOpen_data()
    {
        QTest::addColumn<bool>("rebuild"); // else the import
        QTest::newRow("import") << false;
        QTest::newRow("rebuild") << true;
    }
    void aFailedCommitLeavesNothingOpen()
    {
        QFETCH(bool, rebuild);
        const QString path = writeFile(
            "one.adi", "<CALL:6>UR5ABC<QSO_DATE:8>20240101<TIME_ON:4>1000<BAND:3>20M<MODE:2>CW<EOR>\n");
        const QString dxcc = program_->path("Awrds/Dxcc.db");
        if (rebuild)
            QCOMPARE(import(path).added, 1);
        Db::setTransactionFault([](const QString &file, const QString &command) {
            return file == QLatin1String("Dxcc.db") &&
                   (command == QLatin1String("COMMIT") || command == QLatin1String("ROLLBACK"));
        });
        if (rebuild) {
            dialogs_->answers.push_back(Ui::Answer::Yes);
            Form3->Refresh1Click();
        } else {
            import(path);
        }
        Db::setTransactionFault({});
        QCOMPARE(dialogs_->errors().size(), 1);
        QVERIFY(othersCanWrite(dxcc));

        Form3->MaskEditDate->setText("08.12.2026");
        Form3->MaskEditTime->setText("20:00:00");
        Form3->MaskEditCall->setText("UR5ABC");
        Form3->ComboBoxBand->setCurrentText("18");
        Form3->ComboBoxMode->setCurrentText("CW");
        Form3->ButtonSaveClick();
        QCOMPARE(dialogs_->errors().size(), 1);
        QCOMPARE(awardCell("Dxcc", "UR", "B18Cw"), QStringLiteral("wkd"));
        QVERIFY(othersCanWrite(dxcc));

        destroyWindowSet();
        createWindowSet();
        Form3->Timer1->stop();
        QCOMPARE(awardCell("Dxcc", "UR", "B18Cw"), QStringLiteral("wkd"));
        QCOMPARE(DM->Table1.recordCount(), 2);

        // The log committed and the award tables did not: the next start
        // makes them up before the operator works, as a Refresh would.
        QVERIFY(AwardsBehind::isMarked(DM->Table1.filePath()));
        Form3->showWindow();
        QTRY_COMPARE(Form3->Label23->text(), QStringLiteral("vse"));
        QVERIFY(!AwardsBehind::isMarked(DM->Table1.filePath()));
        const auto awards = [this] {
            QList<QVariantList> rows;
            for (const char *name : {"Dxcc", "Waz", "UR"})
                rows += tableRows(program_->path(QStringLiteral("Awrds/%1.db").arg(name)));
            return rows;
        };
        const QList<QVariantList> afterStart = awards();
        dialogs_->answers.push_back(Ui::Answer::Yes);
        Form3->Refresh1Click();
        QCOMPARE(awards(), afterStart);
        QCOMPARE(dialogs_->errors().size(), 1); // the failed commit's, before the restart
    }

    // Both exports of one small log, byte for byte, in the grid's order; the
    // extension is appended only when the chosen name lacks it.
    void exportFiles_data()
    {
        QTest::addColumn<bool>("adif");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("written");
        QTest::addColumn<bool>("ranged"); // the grid shows 15.01.2003 only
        QTest::newRow("ADIF, no extension") << true << "log" << "log.adi" << false;
        QTest::newRow("ADIF, extension given") << true << "log.ADI" << "log.ADI" << false;
        QTest::newRow("ADIF, the grid's range") << true << "log" << "log.adi" << true;
        QTest::newRow("text, no extension") << false << "log" << "log.txt" << false;
        QTest::newRow("text, extension given") << false << "log.txt" << "log.txt" << false;
    }
    void exportFiles()
    {
        QFETCH(bool, adif);
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        QFETCH(bool, ranged);
        addLogRows({{"QB1AA", "15.01.2003", "12:34:00", "14", "SSB", "59", "57", "Bob", "Lyon", "", "Yes", "   "},
                    {"QB2BB", "15.01.2003", "09:05:00", "144", "CW", "599", "599", "Robert", "Lyon", "", "", ""},
                    {"QB3CC", "16.01.2003", "10:00:00", "", "SSB", "59", "59", "", "", "", "", "   "}});
        const QByteArray lastAdifLine = "<CALL:5>QB3CC <QSO_DATE:8>20030116 <TIME_ON:4>1000 <BAND:0> <MODE:3>SSB "
                                        "<RST_RCVD:2>59 <RST_SENT:2>59 <QSL_RCVD:1>N <QSL_SENT:1>N <EOR>\r\n";
        QByteArray golden =
            adif ? QByteArray("Tarnel\r\n<EOH>\r\n"
                              "<CALL:5>QB2BB <QSO_DATE:8>20030115 <TIME_ON:4>0905 <BAND:2>2M <FREQ:3>144 <MODE:2>CW "
                              "<RST_RCVD:3>599 <RST_SENT:3>599 <NAME:6>Robert <QTH:4>Lyon <QSL_RCVD:1>N "
                              "<QSL_SENT:1>N <NOTES:18>Format only Tarnel <EOR>\r\n"
                              "<CALL:5>QB1AA <QSO_DATE:8>20030115 <TIME_ON:4>1234 <BAND:3>20M <FREQ:2>14 <MODE:3>SSB "
                              "<RST_RCVD:2>59 <RST_SENT:2>57 <NAME:3>Bob <QTH:4>Lyon <QSL_RCVD:1>N <QSL_SENT:1>Y "
                              "<EOR>\r\n") + lastAdifLine
                 : QByteArray("Tarnel\r\n\r\n"
                              "QB2BB         15.01.2003 09:05:00  144 CW  599 599  Robert          Lyon  \r\n"
                              "QB1AA         15.01.2003 12:34:00  14  SSB 59  57   Bob          Lyon\r\n");
        if (ranged) {
            DM->Table1.setIndexName("ByDatTim");
            DM->Table1.setRange("15.01.2003", "15.01.2003");
            golden.chop(lastAdifLine.size());
        }
        dialogs_->fileNames.push_back(program_->path(chosen));
        adif ? Form3->LogExportAdifClick() : Form3->LogExportTextClick();
        QCOMPARE(dialogs_->errors(), QStringList());
        QCOMPARE(readAll(program_->path(written)), golden);
        QCOMPARE(dialogs_->fileDialogs.last().defaultName, adif ? QStringLiteral("Tnladi") : QStringLiteral("Tnltext"));
        QVERIFY(DM->Table1.eof()); // the cursor stays after the last row
        verifyRestored();
    }

    // A file in the way of the chosen directory fails the write also for root.
    void aFailedExportIsReported()
    {
        addLogRows({{"QB1AA", "15.01.2003", "12:34:00", "14", "SSB", "59", "57"}});
        const QString inTheWay = writeFile("keep.txt", "old");
        dialogs_->fileNames.push_back(program_->path("keep.txt/new"));
        Form3->LogExportTextClick();
        QCOMPARE(dialogs_->errors().size(), 1);
        QVERIFY2(dialogs_->errors().first().contains("keep.txt/new.txt"), qPrintable(dialogs_->errors().first()));
        QCOMPARE(readAll(inTheWay), QByteArray("old"));
        verifyRestored();
    }
};

QTEST_MAIN(TestAdifImportWindow)
#include "TestAdifImportWindow.moc"
