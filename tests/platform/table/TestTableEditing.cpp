// Writing rows: posting, cancelling and deleting, where the cursor stands
// afterwards, value conversions of every field kind, row numbers and keys.

#include "TableFixture.h"

#include <QRandomGenerator>
#include <QtTest>
#include <functional>
#include <map>
#include <memory>
#include <optional>

using namespace TableFixture;

namespace {

QStringList tags(const char *spaced) { return QString::fromLatin1(spaced).split(' ', Qt::SkipEmptyParts); }

bool goTo(Db::Table &table, const QString &field, const QString &value)
{
    for (table.first(); !table.eof(); table.next())
        if (text(table, field) == value)
            return true;
    return false;
}

QString repeated(const QString &unit, int times) { return unit.repeated(times); }

} // namespace

class TestTableEditing : public QObject {
    Q_OBJECT

    std::unique_ptr<TempDatabase> temp;
    std::unique_ptr<Db::Table> log;

    // Rows tagged r1.. in LogName with the given calls.
    void addCalls(const QStringList &calls)
    {
        for (int i = 0; i < calls.size(); ++i)
            addRow(*log, {{"LogName", QStringLiteral("r%1").arg(i + 1)}, {"LogCall", calls.at(i)}});
    }

    void reopen(Db::Table &table)
    {
        table.close();
        table.open();
        table.first();
    }

private slots:
    void init()
    {
        temp = std::make_unique<TempDatabase>();
        temp->db.createTable(logSchema());
        temp->db.createTable(kindsSchema());
        temp->db.createTable(prefixSchema());
        log = std::make_unique<Db::Table>(&temp->db, "Tarnel");
        log->open();
    }
    // A posted new row is not read back: the buffer must hold exactly what a
    // read of the stored row gives, kind of value included.
    void postedRowEqualsStoredRow()
    {
        Db::Table kinds(&temp->db, "Kinds");
        Db::Table other(&temp->db, "Kinds");
        kinds.open();
        other.open();
        const QList<Values> rows = {
            {{"Name", "Abé"}, {"Count", "42"}, {"Small", "-7"}, {"Ratio", "2.5"}, {"Day", "29.02.2024"},
             {"Clock", "12:34:56"}, {"Stamp", "01.02.2003 04:05:06"}, {"Note", "memo 中"}, {"Data", "xy"}},
            {{"Ratio", "0"}, {"Count", "0"}},
            {},
        };
        for (const Values &row : rows) {
            addRow(kinds, row);
            QVERIFY(other.moveToRowId(kinds.currentRowId()));
            for (int c = 0; c < kinds.fieldCount(); ++c) {
                QCOMPARE(kinds.value(c).typeId(), other.value(c).typeId());
                QCOMPARE(kinds.value(c), other.value(c));
                QCOMPARE(kinds.field(c).asString(), other.field(c).asString());
            }
        }
        kinds.append();
        kinds.fieldByName("Day").setAsDate(QDate(5, 1, 9));
        kinds.post();
        QCOMPARE(kinds.fieldByName("Day").asString(), QStringLiteral("09.01.0005"));
        QCOMPARE(kinds.fieldByName("Day").asDate(), QDate(5, 1, 9));
    }

    // Neither a look-up's row taken into edit nor an updated row is read
    // again when nothing else wrote the file meanwhile: the buffer must still
    // be the stored row when another cursor did write it.
    void editedRowEqualsStoredRow_data()
    {
        QTest::addColumn<int>("otherWrites"); // 0 never, 1 before edit(), 2 between edit() and post()
        QTest::newRow("alone") << 0;
        QTest::newRow("another cursor before the edit") << 1;
        QTest::newRow("another cursor during the edit") << 2;
    }
    void editedRowEqualsStoredRow()
    {
        QFETCH(int, otherWrites);
        Db::Table kinds(&temp->db, "Kinds");
        Db::Table other(&temp->db, "Kinds");
        kinds.open();
        other.open();
        addRow(kinds, {{"Name", "a"}, {"Count", "1"}, {"Ratio", "2.5"}, {"Day", "29.02.2024"}, {"Data", "xy"}});
        addRow(kinds, {{"Name", "b"}, {"Count", "2"}});
        auto otherWrite = [&] {
            QVERIFY(other.locate("Name", "a"));
            other.edit();
            other.fieldByName("Count").setAsString("7");
            other.post();
        };
        QVERIFY(kinds.locate("Name", "a"));
        if (otherWrites == 1)
            otherWrite();
        kinds.edit();
        if (otherWrites == 2)
            otherWrite();
        kinds.fieldByName("Small").setAsString("-3");
        kinds.fieldByName("Note").setAsString("edited");
        kinds.post();
        QVERIFY(other.moveToRowId(kinds.currentRowId()));
        other.refresh();
        QCOMPARE(kinds.fieldByName("Count").asString(), QString::fromLatin1(otherWrites ? "7" : "1"));
        for (int c = 0; c < kinds.fieldCount(); ++c) {
            QCOMPARE(kinds.field(c).asString(), other.field(c).asString());
            QCOMPARE(kinds.value(c).typeId(), other.value(c).typeId());
            QCOMPARE(kinds.value(c), other.value(c));
        }
    }

    void cleanup()
    {
        log.reset();
        temp.reset();
    }

    void postStandsOnTheRow_data()
    {
        QTest::addColumn<bool>("useInsert");
        QTest::addColumn<QString>("order");
        QTest::addColumn<QString>("following"); // tag after the new row; "" = it is the last
        QTest::newRow("append, entry order") << false << "" << "";
        QTest::newRow("insert, entry order") << true << "" << "";
        QTest::newRow("append, by call") << false << "ByCall" << "r2";
        QTest::newRow("insert, by call") << true << "ByCall" << "r2";
    }
    void postStandsOnTheRow()
    {
        QFETCH(bool, useInsert);
        QFETCH(QString, order);
        QFETCH(QString, following);
        addCalls({"A1", "M1", "Z1"});
        log->setIndexName(order);
        log->first();
        useInsert ? log->insert() : log->append();
        QCOMPARE(log->state(), Db::Table::State::Insert);
        log->fieldByName("LogCall").setAsString("K1");
        log->fieldByName("LogName").setAsString("new");
        log->post();
        QCOMPARE(log->state(), Db::Table::State::Browse);
        QCOMPARE(text(*log, "LogName"), "new");
        QCOMPARE(log->recordCount(), 4);
        log->next();
        if (following.isEmpty()) {
            QVERIFY(log->eof());
            QCOMPARE(text(*log, "LogName"), "new");
        } else {
            QCOMPARE(text(*log, "LogName"), following);
        }
    }

    void roundTrips_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        const QString smile = QString::fromUtf8("\xF0\x9F\x98\x80"); // one code point, two UTF-16 units
        QTest::newRow("text cut in characters") << "Name" << "Привет, мир! Ещё" << "Привет, ми";
        QTest::newRow("text cut between code points") << "Name" << repeated(smile, 12) << repeated(smile, 10);
        QTest::newRow("text of full width") << "Name" << "exactly10!" << "exactly10!";
        QTest::newRow("empty text") << "Name" << "" << "";
        QTest::newRow("integer") << "Count" << "2147483647" << "2147483647";
        QTest::newRow("negative integer") << "Count" << "-7" << "-7";
        QTest::newRow("small integer top") << "Small" << "32767" << "32767";
        QTest::newRow("small integer bottom") << "Small" << "-32768" << "-32768";
        QTest::newRow("float, comma") << "Ratio" << "50,45" << "50,45";
        QTest::newRow("float, point") << "Ratio" << "50.45" << "50,45";
        QTest::newRow("negative float") << "Ratio" << "-0,5" << "-0,5";
        QTest::newRow("whole float") << "Ratio" << "3" << "3";
        QTest::newRow("empty float") << "Ratio" << "" << "";
        QTest::newRow("leap day") << "Day" << "29.02.2024" << "29.02.2024";
        QTest::newRow("short date") << "Day" << "5.3.2024" << "05.03.2024";
        QTest::newRow("empty date") << "Day" << "" << "";
        QTest::newRow("time") << "Clock" << "23:59:59" << "23:59:59";
        QTest::newRow("time without seconds") << "Clock" << "7:05" << "07:05:00";
        QTest::newRow("midnight") << "Clock" << "00:00:00" << "00:00:00";
        QTest::newRow("date-time") << "Stamp" << "05.03.2024 14:30:15" << "05.03.2024 14:30:15";
        QTest::newRow("date-time, date only") << "Stamp" << "05.03.2024" << "05.03.2024 00:00:00";
        const QString memo = repeated("Заметка about the QSO,\r\nline two; ", 40);
        QTest::newRow("memo kept whole") << "Note" << memo << memo;
    }
    void roundTrips()
    {
        QFETCH(QString, field);
        QFETCH(QString, input);
        QFETCH(QString, expected);
        Db::Table kinds(&temp->db, "Kinds");
        kinds.open();
        kinds.append();
        kinds.fieldByName(field).setAsString(input);
        kinds.post();
        QCOMPARE(text(kinds, field), expected);
        reopen(kinds);
        QCOMPARE(text(kinds, field), expected);
    }

    void invalidValues_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("valid");
        QTest::addColumn<QString>("invalid");
        QTest::newRow("31 February") << "Day" << "01.03.2024" << "31.02.2024";
        QTest::newRow("stored date form") << "Day" << "01.03.2024" << "2024-03-05";
        QTest::newRow("letters for a date") << "Day" << "01.03.2024" << "abc";
        QTest::newRow("hour 25") << "Clock" << "10:00:00" << "25:00:00";
        QTest::newRow("minute 60") << "Clock" << "10:00:00" << "12:60";
        QTest::newRow("day 32 in a date-time") << "Stamp" << "05.03.2024 10:00:00" << "32.03.2024 10:00:00";
        QTest::newRow("letters for a float") << "Ratio" << "1,5" << "abc";
        QTest::newRow("float with a tail") << "Ratio" << "1,5" << "1,5x";
        QTest::newRow("letters for an integer") << "Count" << "7" << "abc";
        QTest::newRow("integer with a tail") << "Count" << "7" << "12a";
        QTest::newRow("small integer too big") << "Small" << "5" << "40000";
        QTest::newRow("small integer too small") << "Small" << "5" << "-32769";
    }
    void invalidValues()
    {
        QFETCH(QString, field);
        QFETCH(QString, valid);
        QFETCH(QString, invalid);
        Db::Table kinds(&temp->db, "Kinds");
        kinds.open();
        kinds.append();
        kinds.fieldByName(field).setAsString(valid);
        const QString shown = text(kinds, field);
        QVERIFY_THROWS_EXCEPTION(Db::TableError, kinds.fieldByName(field).setAsString(invalid));
        QCOMPARE(text(kinds, field), shown);
        QCOMPARE(kinds.state(), Db::Table::State::Insert);
        kinds.post();
        reopen(kinds);
        QCOMPARE(kinds.recordCount(), 1);
        QCOMPARE(text(kinds, field), shown);
    }

    void typedAccess()
    {
        Db::Table kinds(&temp->db, "Kinds");
        kinds.open();
        kinds.append();
        kinds.fieldByName("Ratio").setAsFloat(-12.375);
        kinds.fieldByName("Count").setAsInteger(-40000);
        kinds.fieldByName("Small").setAsInteger(-3);
        kinds.fieldByName("Day").setAsDate(QDate(2023, 12, 31));
        kinds.fieldByName("Stamp").setAsDateTime(QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5)));
        kinds.fieldByName("Clock").setAsString("21:09:08");
        QVERIFY_THROWS_EXCEPTION(Db::TableError, kinds.fieldByName("Small").setAsInteger(40000));
        kinds.post();
        reopen(kinds);
        QCOMPARE(kinds.fieldByName("Ratio").asFloat(), -12.375);
        QCOMPARE(text(kinds, "Ratio"), "-12,375");
        QCOMPARE(kinds.fieldByName("Count").asInteger(), qint64(-40000));
        QCOMPARE(kinds.fieldByName("Small").asInteger(), qint64(-3));
        QCOMPARE(kinds.fieldByName("Day").asDate(), QDate(2023, 12, 31));
        QCOMPARE(text(kinds, "Day"), "31.12.2023");
        QCOMPARE(kinds.fieldByName("Stamp").asDateTime(), QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5)));
        QCOMPARE(kinds.fieldByName("Clock").asTime(), QTime(21, 9, 8));

        // Empty values read as zero.
        kinds.append();
        kinds.fieldByName("Name").setAsString("empty");
        kinds.post();
        QCOMPARE(kinds.fieldByName("Ratio").asFloat(), 0.0);
        QCOMPARE(kinds.fieldByName("Count").asInteger(), qint64(0));
        QVERIFY(!kinds.fieldByName("Day").asDate().isValid());
    }

    void blobs()
    {
        QByteArray bytes(10000, '\0');
        QRandomGenerator generator(1160);
        for (auto &byte : bytes)
            byte = char(generator.bounded(256));
        bytes[17] = '\0';
        const QString source = temp->path("picture.bin");
        QVERIFY(writeFile(source, bytes));

        Db::Table kinds(&temp->db, "Kinds");
        kinds.open();
        kinds.append();
        kinds.fieldByName("Name").setAsString("blob");
        kinds.fieldByName("Data").loadFromFile(source);
        kinds.fieldByName("Fixed").setAsBytes(QByteArray("ab\0def", 6));
        kinds.post();
        reopen(kinds);
        QCOMPARE(kinds.fieldByName("Data").asBytes(), bytes);
        QCOMPARE(kinds.fieldByName("Fixed").asBytes(), QByteArray("ab\0d", 4)); // cut to its width
        const QString copy = temp->path("copy.bin");
        kinds.fieldByName("Data").saveToFile(copy);
        QCOMPARE(fileBytes(copy), bytes);

        kinds.edit();
        kinds.fieldByName("Data").setAsBytes(QByteArray("\x00\x01\xff", 3));
        kinds.post();
        reopen(kinds);
        QCOMPARE(kinds.fieldByName("Data").asBytes(), QByteArray("\x00\x01\xff", 3));
    }

    void blobFileErrorsNameTheFile()
    {
        Db::Table kinds(&temp->db, "Kinds");
        kinds.open();
        kinds.append();
        const auto missing = errorOf([&] { kinds.fieldByName("Data").loadFromFile(temp->path("nowhere.bin")); });
        QVERIFY(missing);
        QVERIFY2(namesFile(*missing, "nowhere.bin"), qPrintable(missing->message()));
        kinds.fieldByName("Data").setAsBytes("xyz");
        kinds.post();
        const QString target = temp->path("no/such/folder/out.bin");
        const auto unwritable = errorOf([&] { kinds.fieldByName("Data").saveToFile(target); });
        QVERIFY(unwritable);
        QVERIFY2(namesFile(*unwritable, "out.bin"), qPrintable(unwritable->message()));
        QCOMPARE(kinds.fieldByName("Data").asBytes(), QByteArray("xyz"));
    }

    void autoIncrementNeverReuses()
    {
        QList<qint64> numbers;
        for (const char *call : {"A1", "B1", "C1"}) {
            addRow(*log, {{"LogCall", call}});
            numbers << log->fieldByName("LogNom").asInteger();
        }
        QVERIFY(numbers[0] > 0);
        QVERIFY(numbers[0] < numbers[1] && numbers[1] < numbers[2]);

        log->last();
        log->deleteRecord(); // the highest number
        addRow(*log, {{"LogCall", "D1"}});
        const qint64 afterDelete = log->fieldByName("LogNom").asInteger();
        QVERIFY2(afterDelete > numbers[2], qPrintable(QString::number(afterDelete)));

        log->last();
        log->deleteRecord();
        reopen(*log);
        addRow(*log, {{"LogCall", "E1"}});
        QVERIFY(log->fieldByName("LogNom").asInteger() > afterDelete);
        QCOMPARE(walkForward(*log, "LogCall"), tags("A1 B1 E1"));
    }

    void autoIncrementIsNotWritten_data()
    {
        QTest::addColumn<bool>("newRow");
        QTest::newRow("new row") << true;
        QTest::newRow("edited row") << false;
    }
    void autoIncrementIsNotWritten()
    {
        QFETCH(bool, newRow);
        addCalls({"A1"});
        const qint64 number = log->fieldByName("LogNom").asInteger();
        newRow ? log->append() : log->edit();
        QVERIFY_THROWS_EXCEPTION(Db::TableError, log->fieldByName("LogNom").setAsString("999"));
        QVERIFY_THROWS_EXCEPTION(Db::TableError, log->fieldByName("LogNom").setAsInteger(999));
        log->cancel();
        QCOMPARE(log->recordCount(), 1);
        log->first();
        QCOMPARE(log->fieldByName("LogNom").asInteger(), number);
    }

    void deletePositions_data()
    {
        QTest::addColumn<QString>("order");
        QTest::addColumn<QStringList>("range"); // low, high; empty = none
        QTest::addColumn<QString>("victim");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QStringList>("remaining");
        // Calls K1 A1 M1 B1 Z1 for r1..r5; by call: r2 r4 r1 r3 r5.
        QTest::newRow("entry order, middle") << "" << QStringList() << "r3" << "r4" << tags("r1 r2 r4 r5");
        QTest::newRow("entry order, first") << "" << QStringList() << "r1" << "r2" << tags("r2 r3 r4 r5");
        QTest::newRow("entry order, last") << "" << QStringList() << "r5" << "r4" << tags("r1 r2 r3 r4");
        QTest::newRow("by call, middle") << "ByCall" << QStringList() << "r1" << "r3" << tags("r2 r4 r3 r5");
        QTest::newRow("by call, first") << "ByCall" << QStringList() << "r2" << "r4" << tags("r4 r1 r3 r5");
        QTest::newRow("by call, last") << "ByCall" << QStringList() << "r5" << "r3" << tags("r2 r4 r1 r3");
        QTest::newRow("range, middle") << "ByCall" << tags("A1 K1") << "r4" << "r1" << tags("r2 r1");
        QTest::newRow("range, its last") << "ByCall" << tags("A1 K1") << "r1" << "r4" << tags("r2 r4");
        QTest::newRow("range, its first") << "ByCall" << tags("B1 M1") << "r4" << "r1" << tags("r1 r3");
    }
    void deletePositions()
    {
        QFETCH(QString, order);
        QFETCH(QStringList, range);
        QFETCH(QString, victim);
        QFETCH(QString, after);
        QFETCH(QStringList, remaining);
        addCalls({"K1", "A1", "M1", "B1", "Z1"});
        log->setIndexName(order);
        if (!range.isEmpty())
            log->setRange(range.at(0), range.at(1));
        QVERIFY(goTo(*log, "LogName", victim));
        log->deleteRecord();
        QCOMPARE(text(*log, "LogName"), after);
        QCOMPARE(log->recordCount(), int(remaining.size()));
        QCOMPARE(walkForward(*log, "LogName"), remaining);
        log->cancelRange();
        QCOMPARE(log->recordCount(), 4);
        QVERIFY(!goTo(*log, "LogName", victim));
    }

    void deleteTheOnlyRow_data()
    {
        QTest::addColumn<bool>("inRange");
        QTest::newRow("only row of the table") << false;
        QTest::newRow("only row of a range") << true;
    }
    void deleteTheOnlyRow()
    {
        QFETCH(bool, inRange);
        addCalls(inRange ? tags("K1 M1 Z1") : tags("M1"));
        log->setIndexName("ByCall");
        if (inRange)
            log->setRange("M1", "M1");
        else
            log->first();
        log->deleteRecord();
        QVERIFY(log->isEmpty());
        QCOMPARE(log->recordCount(), 0);
        QVERIFY(log->eof() && log->bof());
        QCOMPARE(text(*log, "LogCall"), QString());
        log->cancelRange();
        QCOMPARE(walkForward(*log, "LogCall"), inRange ? tags("K1 Z1") : QStringList());
    }

    void editThenCancelOrPost()
    {
        addCalls({"A1", "B1", "C1"});
        QVERIFY(goTo(*log, "LogName", "r2"));
        log->edit();
        QCOMPARE(log->state(), Db::Table::State::Edit);
        QVERIFY(!log->isModified());
        log->fieldByName("LogQth").setAsString("Kyiv");
        QVERIFY(log->isModified());
        log->cancel();
        QCOMPARE(log->state(), Db::Table::State::Browse);
        QCOMPARE(text(*log, "LogName"), "r2");
        QCOMPARE(text(*log, "LogQth"), QString());

        log->edit();
        log->fieldByName("LogQth").setAsString("Lviv");
        log->post();
        QCOMPARE(text(*log, "LogName"), "r2");
        reopen(*log);
        QCOMPARE(walkForward(*log, "LogQth"), QStringList({"", "Lviv", ""}));
        QCOMPARE(log->recordCount(), 3);
    }

    void editedKeyMovesTheRow()
    {
        addCalls({"A1", "M1", "Z1"});
        log->setIndexName("ByCall");
        log->first();
        log->edit();
        log->fieldByName("LogCall").setAsString("N1");
        log->post();
        QCOMPARE(text(*log, "LogName"), "r1"); // the cursor moved with its row
        log->next();
        QCOMPARE(text(*log, "LogName"), "r3");
        QCOMPARE(walkForward(*log, "LogCall"), tags("M1 N1 Z1"));
    }

    void editOfAnEmptyTableInserts()
    {
        log->edit();
        QCOMPARE(log->state(), Db::Table::State::Insert);
        log->fieldByName("LogCall").setAsString("UT0AA");
        log->post();
        QCOMPARE(log->recordCount(), 1);
        QCOMPARE(text(*log, "LogCall"), "UT0AA");
    }

    void movingPostsThePendingRow_data()
    {
        QTest::addColumn<bool>("newRow");
        QTest::addColumn<QString>("move");
        for (bool added : {false, true})
            for (const char *move : {"first", "last", "next", "prior"})
                QTest::addRow("%s, %s", added ? "appended" : "edited", move) << added << move;
    }
    void movingPostsThePendingRow()
    {
        QFETCH(bool, newRow);
        QFETCH(QString, move);
        addCalls({"A1", "B1", "C1"});
        QVERIFY(goTo(*log, "LogName", "r2"));
        if (newRow) {
            log->append();
            log->fieldByName("LogName").setAsString("r4");
        } else {
            log->edit();
        }
        log->fieldByName("LogQth").setAsString("moved");
        const std::map<QString, std::function<void()>> moves = {
            {"first", [&] { log->first(); }},
            {"last", [&] { log->last(); }},
            {"next", [&] { log->next(); }},
            {"prior", [&] { log->prior(); }},
        };
        moves.at(move)();
        QCOMPARE(log->state(), Db::Table::State::Browse);
        QCOMPARE(log->recordCount(), newRow ? 4 : 3);
        reopen(*log);
        QVERIFY(log->locate("LogName", newRow ? "r4" : "r2"));
        QCOMPARE(text(*log, "LogQth"), "moved");
    }

    void writingNeedsEditMode()
    {
        addCalls({"A1"});
        QVERIFY_THROWS_EXCEPTION(Db::TableError, log->fieldByName("LogCall").setAsString("B1"));
        QVERIFY_THROWS_EXCEPTION(Db::TableError, log->fieldByName("LogCall").clear());
        QCOMPARE(log->state(), Db::Table::State::Browse);
        QCOMPARE(text(*log, "LogCall"), "A1");
        reopen(*log);
        QCOMPARE(text(*log, "LogCall"), "A1");
    }

    void keyViolation_data()
    {
        QTest::addColumn<bool>("newRow");
        QTest::newRow("new row") << true;
        QTest::newRow("edited row") << false;
    }
    void keyViolation()
    {
        QFETCH(bool, newRow);
        Db::Table prefixes(&temp->db, "Prefix");
        prefixes.open();
        addRow(prefixes, {{"Prefix", "UA"}, {"Country", "European Russia"}});
        addRow(prefixes, {{"Prefix", "DL"}, {"Country", "Germany"}});
        if (newRow) {
            prefixes.append();
            prefixes.fieldByName("Country").setAsString("Twin");
        } else {
            QVERIFY(prefixes.locate("Prefix", "DL"));
            prefixes.edit();
        }
        prefixes.fieldByName("Prefix").setAsString("UA");
        try {
            prefixes.post();
            QFAIL("a second key UA was posted");
        } catch (const Db::KeyViolation &error) {
            QVERIFY2(namesFile(error, "Prefix.db"), qPrintable(error.message()));
        } catch (const Db::TableError &error) {
            QFAIL(qPrintable("not a KeyViolation: " + error.message()));
        }
        // The row is still being edited, so it can be corrected.
        QCOMPARE(prefixes.state(), newRow ? Db::Table::State::Insert : Db::Table::State::Edit);
        prefixes.cancel();
        reopen(prefixes);
        QCOMPARE(walkForward(prefixes, "Prefix"), tags("DL UA"));
        QCOMPARE(walkForward(prefixes, "Country"), QStringList({"Germany", "European Russia"}));
    }

    void keyViolationCanBeCorrected()
    {
        Db::Table prefixes(&temp->db, "Prefix");
        prefixes.open();
        addRow(prefixes, {{"Prefix", "UA"}});
        prefixes.append();
        prefixes.fieldByName("Prefix").setAsString("UA");
        QVERIFY_THROWS_EXCEPTION(Db::KeyViolation, prefixes.post());
        prefixes.fieldByName("Prefix").setAsString("UA9");
        prefixes.post();
        reopen(prefixes);
        QCOMPARE(walkForward(prefixes, "Prefix"), tags("UA UA9"));
    }

    // Walk operations: one field written on many rows by row id, and the rows
    // another table shows copied in (one statement, or row by row inside a
    // walk's transaction or into narrower fields). Rows end as "call|name|date"
    // in entry order; -1 for an operation that fails and changes nothing.
    void batchWalks_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("result");
        QTest::addColumn<QStringList>("rows");
        const QStringList before{"A1|r1|", "M1|r2|", "Z1|r3|"};
        const QStringList copied{"DL1AB|s2|", "G4XYZ|s3|06.01.2024", "K1LONGCALL|s1|05.01.2024"};
        QTest::newRow("write names") << "write" << 2
                                     << QStringList{"A1|" + repeated("x", 20) + "|", "M1|r2|", "Z1|new|"};
        QTest::newRow("write an invalid date") << "write date" << -1 << before;
        QTest::newRow("copy in one statement") << "copy" << 3 << before + copied;
        QTest::newRow("copy inside a walk") << "copy nested" << 3 << before + copied;
        QTest::newRow("copy into narrower fields")
            << "copy narrow" << 3 << QStringList{"DL1A|s2|", "G4XY|s3|06.01.2024", "K1LO|s1|05.01.2024"};
        QTest::newRow("copy stopped by its tick") << "copy stopped" << -1 << before;
        // A log from elsewhere: a text field is one line, a memo keeps its lines and tabs.
        QStringList blanked = before + copied;
        blanked[3] = "DL1AB|s 2  |";
        QTest::newRow("copy of control characters") << "copy controls" << 3 << blanked;
        QTest::newRow("copy of line separators and bidirectional controls") << "copy separators" << 3 << blanked;
    }
    void batchWalks()
    {
        QFETCH(QString, mode);
        QFETCH(int, result);
        QFETCH(QStringList, rows);
        addCalls({"A1", "M1", "Z1"});
        const QList<qint64> ids{1, 2, 3};
        TempDatabase other;
        Db::TableSchema narrow = logSchema();
        narrow.fields[1].width = 4;
        other.db.createTable(mode == "copy narrow" ? narrow : logSchema());
        Db::Table target(&other.db, "Tarnel");
        target.open();
        Db::Table &into = mode == "copy narrow" ? target : *log;
        Db::Table watcher(&temp->db, "Tarnel");
        watcher.open();
        watcher.last(); // stands on r3
        int done = -1;
        std::optional<Db::TableError> error;
        if (mode.startsWith("write")) {
            const QString field = mode == "write date" ? "LogDate" : "LogName";
            const QString good = mode == "write date" ? "01.01.2024" : "new";
            const QString bad = mode == "write date" ? "31.02.2024" : repeated("x", 30);
            error = errorOf([&] { done = log->writeTexts(field, {{ids[2], good}, {99, "gone"}, {ids[0], bad}}); });
            QCOMPARE(text(watcher, field), error ? QString() : good);
        } else {
            TempDatabase from;
            from.db.createTable(logSchema());
            Db::Table source(&from.db, "Tarnel");
            source.open();
            addRow(source, {{"LogCall", "K1LONGCALL"}, {"LogName", "s1"}, {"LogDate", "05.01.2024"}});
            addRow(source, {{"LogCall", "DL1AB"}, {"LogName", "s2"}});
            addRow(source, {{"LogCall", "G4XYZ"}, {"LogName", "s3"}, {"LogDate", "06.01.2024"}});
            addRow(source, {{"LogCall", "ZZ9"}, {"LogName", "outside the range"}});
            if (mode == "copy controls")
                QCOMPARE(sqliteRows(source.filePath(), "UPDATE Tarnel SET LogName = 's' || char(9) || '2' || char(0)"
                                                       " || char(127), LogNotepad = 'a' || char(13) || char(10)"
                                                       " || char(9) || char(27) || char(31) || 'b' WHERE LogCall = 'DL1AB'"),
                         QStringList());
            if (mode == "copy separators")
                QCOMPARE(sqliteRows(source.filePath(), "UPDATE Tarnel SET LogName = 's' || char(8232) || '2' || char(133)"
                                                       " || char(8238), LogNotepad = 'a' || char(13) || char(10)"
                                                       " || char(8233) || char(8294) || 'b' WHERE LogCall = 'DL1AB'"),
                         QStringList());
            source.setIndexName("ByCall");
            source.setRange("DL1AB", "K1LONGCALL");
            int ticks = 0;
            const auto tick = [&] {
                if (++ticks == 2 && mode == "copy stopped")
                    throw Db::TableError("stopped");
            };
            const QStringList fields{"LogCall", "LogName", "LogDate", "LogNotepad"};
            error = errorOf([&] {
                if (mode == "copy nested") {
                    Db::TableTransaction walk(into);
                    done = into.appendCopies(source, fields, tick);
                    walk.commit();
                } else {
                    done = into.appendCopies(source, fields, tick);
                }
            });
            QCOMPARE(ticks, mode == "copy stopped" ? 2 : 3);
            if (!error) {
                QCOMPARE(text(into, "LogCall"), rows.last().section('|', 0, 0));
                QCOMPARE(text(into, "LogNom"), QString::number(rows.size()));
            }
        }
        QCOMPARE(error.has_value(), result < 0);
        if (!error)
            QCOMPARE(done, result);
        QStringList stored;
        for (into.first(); !into.eof(); into.next())
            stored << text(into, "LogCall") + '|' + text(into, "LogName") + '|' + text(into, "LogDate");
        QCOMPARE(stored, rows);
        QCOMPARE(into.recordCount(), rows.size());
        if (mode == "copy controls" || mode == "copy separators")
            QCOMPARE(sqliteRows(into.filePath(), "SELECT LogNotepad FROM Tarnel WHERE LogCall = 'DL1AB'"),
                     QStringList{mode == "copy controls" ? "a\r\n\t  b" : "a\r\n  b"});
        QCOMPARE(sqliteRows(into.filePath(), "SELECT count(*) FROM Tarnel WHERE LogDate IS NULL OR LogQth IS NULL"),
                 QStringList{"0"});
    }
};

QTEST_GUILESS_MAIN(TestTableEditing)
#include "TestTableEditing.moc"
