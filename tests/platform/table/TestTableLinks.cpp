// Cursors that depend on each other: two cursors on one log, master-detail
// links between the prefix tables, data sources and the grid model.

#include "TableFixture.h"
#include "platform/table/DataSource.h"
#include "platform/table/GridModel.h"

#include <QSignalSpy>
#include <QtTest>
#include <functional>
#include <map>
#include <memory>

using namespace TableFixture;

namespace {

QStringList tags(const char *spaced) { return QString::fromLatin1(spaced).split(' ', Qt::SkipEmptyParts); }

struct Column {
    const char *field;
    const char *label;
    int width;
};

// Shows exactly `columns` (labels and widths as given), hides every other field.
void showColumns(Db::Table &table, const QList<Column> &columns)
{
    for (int i = 0; i < table.fieldCount(); ++i)
        table.setFieldVisible(table.field(i).name(), false);
    for (const auto &column : columns)
        table.setFieldView(column.field, column.label, column.width, true);
}

const QList<Column> mainGridColumns = {
    {"LogCall", "Callsignal", 12}, {"LogDate", "Date", 9},     {"LogTime", "Time", 7},
    {"LogBand", "Band", 4},        {"LogMode", "Mode", 4},     {"LogName", "Name", 12},
    {"LogQth", "Location", 15},    {"LogRxRst", "Rx RST", 6},  {"LogTxRst", "Tx RST", 6},
    {"LogTxQsl", "Send QSL", 10},  {"LogRxQsl", "Rcvd QSL", 10},
};

// The second cursor's grid: no callsign, other labels, the time after the reports.
const QList<Column> secondGridColumns = {
    {"LogDate", "Date", 9},  {"LogTime", "Time", 7}, {"LogBand", "Band", 4},         {"LogMode", "Mode", 4},
    {"LogName", "Name", 12}, {"LogQth", "QTH", 15},  {"LogRxRst", "RX ", 6},         {"LogTxRst", "TX", 6},
    {"LogTxQsl", "Send QSL", 10},                    {"LogRxQsl", "Rcvd QSL", 10},
};

QStringList gridFields(const Db::GridModel &grid)
{
    QStringList names;
    for (int c = 0; c < grid.columnCount(); ++c)
        names << grid.fieldName(c);
    return names;
}

QStringList gridHeaders(const Db::GridModel &grid)
{
    QStringList labels;
    for (int c = 0; c < grid.columnCount(); ++c)
        labels << grid.headerData(c, Qt::Horizontal).toString();
    return labels;
}

QString cell(const Db::GridModel &grid, int row, const QString &field)
{
    for (int c = 0; c < grid.columnCount(); ++c)
        if (grid.fieldName(c) == field)
            return grid.data(grid.index(row, c)).toString();
    return QStringLiteral("<no column %1>").arg(field);
}

} // namespace

class TestTableLinks : public QObject {
    Q_OBJECT

    std::unique_ptr<TempDatabase> temp;

    std::unique_ptr<Db::Table> openTable(const QString &name)
    {
        auto table = std::make_unique<Db::Table>(&temp->db, name);
        table->open();
        return table;
    }

    // Added prefixes 4K, DL, UA, UA1 (main prefix UA) and ZZ (no Prefix row).
    void fillPrefixes()
    {
        auto allpref = openTable("Allpref");
        for (const char *added : {"4K", "DL", "UA", "UA1", "ZZ"})
            addRow(*allpref, {{"AddPrefix", added}, {"MainPrefix", QString(added).left(2)}});
        auto prefixes = openTable("Prefix");
        addRow(*prefixes, {{"Prefix", "UA"}, {"DXCCPrefix", "UA"}, {"Country", "European Russia"}});
        addRow(*prefixes, {{"Prefix", "DL"}, {"DXCCPrefix", "DL"}, {"Country", "Germany"}});
        addRow(*prefixes, {{"Prefix", "4K"}, {"DXCCPrefix", "4K"}, {"Country", "Azerbaijan"}});
    }

    void addContacts(Db::Table &log, const QStringList &calls)
    {
        for (int i = 0; i < calls.size(); ++i)
            addRow(log, {{"LogName", QStringLiteral("r%1").arg(i + 1)}, {"LogCall", calls.at(i)},
                         {"LogDate", "05.03.2024"}, {"LogTime", QStringLiteral("14:30:%1").arg(i + 10)}});
    }

private slots:
    void init()
    {
        temp = std::make_unique<TempDatabase>();
        temp->db.createTable(logSchema());
        temp->db.createTable(allprefSchema());
        temp->db.createTable(prefixSchema());
    }
    void cleanup() { temp.reset(); }

    // --- two cursors on one log ---

    void twoCursorsSeeEachOthersPosts()
    {
        auto a = openTable("Tarnel");
        auto b = openTable("Tarnel");
        addRow(*a, {{"LogName", "r1"}, {"LogCall", "A1"}});
        b->first();
        QCOMPARE(b->recordCount(), 1);
        QCOMPARE(text(*b, "LogCall"), "A1");

        b->edit();
        b->fieldByName("LogQth").setAsString("from b");
        b->post();
        a->refresh();
        QCOMPARE(text(*a, "LogQth"), "from b");

        addRow(*b, {{"LogName", "r2"}, {"LogCall", "B1"}});
        QVERIFY(a->locate("LogCall", "B1"));
        QCOMPARE(text(*a, "LogName"), "r2");
        a->first();
        QCOMPARE(a->recordCount(), 2);
    }

    void rowDeletedUnderAnotherCursor()
    {
        auto a = openTable("Tarnel");
        auto b = openTable("Tarnel");
        addContacts(*a, {"A1", "B1", "C1"});
        QVERIFY(a->locate("LogCall", "B1"));
        QVERIFY(b->locate("LogCall", "B1"));
        b->deleteRecord();
        a->refresh(); // its row is gone: it moves on to the row after it
        QCOMPARE(text(*a, "LogCall"), "C1");
        QCOMPARE(a->recordCount(), 2);
    }

    void cursorsKeepTheirOwnOrderAndRange()
    {
        auto a = openTable("Tarnel");
        auto b = openTable("Tarnel");
        addContacts(*a, {"M1", "A1", "Z1"});
        a->setIndexName("ByCall");
        a->setRange("A1", "M1");
        b->first();
        QCOMPARE(b->recordCount(), 3);
        QCOMPARE(walkForward(*b, "LogCall"), tags("M1 A1 Z1"));
        QCOMPARE(walkForward(*a, "LogCall"), tags("A1 M1"));
        a->first();
        b->last();
        QCOMPARE(text(*a, "LogCall"), "A1"); // b's move left a where it was
    }

    // --- master-detail ---

    void detailFollowsMaster_data()
    {
        QTest::addColumn<QString>("added");
        QTest::addColumn<QString>("country"); // "" = no Prefix row
        QTest::newRow("4K") << "4K" << "Azerbaijan";
        QTest::newRow("DL") << "DL" << "Germany";
        QTest::newRow("UA1 belongs to UA") << "UA1" << "European Russia";
        QTest::newRow("no main prefix row") << "ZZ" << "";
    }
    void detailFollowsMaster()
    {
        QFETCH(QString, added);
        QFETCH(QString, country);
        fillPrefixes();
        auto allpref = openTable("Allpref");
        auto prefixes = openTable("Prefix");
        prefixes->setMasterLink(allpref.get(), "MainPrefix", "Prefix");
        allpref->first();
        QCOMPARE(text(*prefixes, "Country"), "Azerbaijan");

        QVERIFY(allpref->locate("AddPrefix", added));
        QCOMPARE(prefixes->recordCount(), country.isEmpty() ? 0 : 1);
        QCOMPARE(prefixes->isEmpty(), country.isEmpty());
        QCOMPARE(text(*prefixes, "Country"), country);
        if (country.isEmpty())
            QVERIFY(prefixes->eof() && prefixes->bof());
        else
            QCOMPARE(text(*prefixes, "Prefix"), added.left(2));
    }

    void detailWithManyRows()
    {
        fillPrefixes();
        auto prefixes = openTable("Prefix");
        auto log = openTable("Tarnel");
        addRow(*log, {{"LogName", "r1"}, {"LogPref", "UA"}, {"LogDate", "03.01.2024"}});
        addRow(*log, {{"LogName", "r2"}, {"LogPref", "DL"}, {"LogDate", "01.01.2024"}});
        addRow(*log, {{"LogName", "r3"}, {"LogPref", "UA"}, {"LogDate", "01.01.2024"}});
        addRow(*log, {{"LogName", "r4"}, {"LogPref", ""}, {"LogDate", "02.01.2024"}});
        log->setIndexName("ByDatTim");
        log->setMasterLink(prefixes.get(), "DXCCPrefix", "LogPref");

        QVERIFY(prefixes->locate("Prefix", "UA"));
        QCOMPARE(log->recordCount(), 2);
        QCOMPARE(text(*log, "LogName"), "r3"); // the first of its rows in the detail's order
        QCOMPARE(walkForward(*log, "LogName"), tags("r3 r1"));
        log->next();
        QVERIFY(log->eof());

        prefixes->first(); // 4K
        QVERIFY(log->isEmpty());
        prefixes->next(); // DL
        QCOMPARE(log->recordCount(), 1);
        QCOMPARE(text(*log, "LogName"), "r2");

        // A new row joins the master's set.
        QVERIFY(prefixes->locate("Prefix", "UA"));
        addRow(*log, {{"LogName", "r5"}});
        QCOMPARE(text(*log, "LogPref"), "UA");
        QCOMPARE(log->recordCount(), 3);

        log->clearMasterLink();
        QCOMPARE(walkForward(*log, "LogName"), tags("r5 r2 r3 r4 r1"));
        QCOMPARE(log->recordCount(), 5);
    }

    void closedMasterShowsEveryRow()
    {
        fillPrefixes();
        auto allpref = openTable("Allpref");
        auto prefixes = openTable("Prefix");
        prefixes->setMasterLink(allpref.get(), "MainPrefix", "Prefix");
        QVERIFY(allpref->locate("AddPrefix", "DL"));
        QCOMPARE(prefixes->recordCount(), 1);

        allpref->close();
        prefixes->first();
        QCOMPARE(prefixes->recordCount(), 3);
        QCOMPARE(walkForward(*prefixes, "Prefix"), tags("4K DL UA"));

        allpref->open();
        QVERIFY(allpref->locate("AddPrefix", "UA1"));
        QCOMPARE(prefixes->recordCount(), 1);
        QCOMPARE(text(*prefixes, "Country"), "European Russia");
    }

    void insertIntoEmptyDetail_data()
    {
        QTest::addColumn<bool>("useEdit");
        QTest::newRow("edit") << true;
        QTest::newRow("append") << false;
    }
    void insertIntoEmptyDetail()
    {
        QFETCH(bool, useEdit);
        fillPrefixes();
        auto allpref = openTable("Allpref");
        auto prefixes = openTable("Prefix");
        prefixes->setMasterLink(allpref.get(), "MainPrefix", "Prefix");
        QVERIFY(allpref->locate("AddPrefix", "ZZ"));
        QVERIFY(prefixes->isEmpty());

        useEdit ? prefixes->edit() : prefixes->append();
        QCOMPARE(prefixes->state(), Db::Table::State::Insert);
        prefixes->fieldByName("Country").setAsString("Nowhere");
        prefixes->post();
        QCOMPARE(prefixes->recordCount(), 1);
        QCOMPARE(text(*prefixes, "Prefix"), "ZZ");

        // Stored, not only shown: another cursor without a link finds it.
        auto plain = openTable("Prefix");
        QVERIFY(plain->locate("Prefix", "ZZ"));
        QCOMPARE(text(*plain, "Country"), "Nowhere");
        QCOMPARE(plain->recordCount(), 4);
    }

    // --- data sources ---

    void dataChangeFires_data()
    {
        QTest::addColumn<QString>("event");
        for (const char *event : {"first", "last", "next", "prior", "locate", "post", "delete", "index",
                                  "range", "cancel range", "open"})
            QTest::newRow(event) << event;
    }
    void dataChangeFires()
    {
        QFETCH(QString, event);
        auto log = openTable("Tarnel");
        addContacts(*log, {"A1", "B1", "C1"});
        Db::DataSource source;
        source.setDataSet(log.get());
        QVERIFY(log->locate("LogCall", "B1"));
        if (event == "range" || event == "cancel range")
            log->setIndexName("ByCall");
        if (event == "cancel range")
            log->setRange("A1", "B1");
        if (event == "open")
            log->close();

        QSignalSpy changes(&source, &Db::DataSource::dataChange);
        const std::map<QString, std::function<void()>> events = {
            {"first", [&] { log->first(); }},
            {"last", [&] { log->last(); }},
            {"next", [&] { log->next(); }},
            {"prior", [&] { log->prior(); }},
            {"locate", [&] { log->locate("LogCall", "C1"); }},
            {"post", [&] { addRow(*log, {{"LogCall", "D1"}}); }},
            {"delete", [&] { log->deleteRecord(); }},
            {"index", [&] { log->setIndexName("ByCall"); }},
            {"range", [&] { log->setRange("A1", "A1"); }},
            {"cancel range", [&] { log->cancelRange(); }},
            {"open", [&] { log->open(); }},
        };
        events.at(event)();
        QVERIFY(changes.count() >= 1);
    }

    void detailSourceFiresWhenMasterMoves()
    {
        fillPrefixes();
        auto allpref = openTable("Allpref");
        auto prefixes = openTable("Prefix");
        prefixes->setMasterLink(allpref.get(), "MainPrefix", "Prefix");
        allpref->first();
        Db::DataSource source;
        source.setDataSet(prefixes.get());
        QSignalSpy changes(&source, &Db::DataSource::dataChange);
        allpref->next();
        QVERIFY(changes.count() >= 1);
        QCOMPARE(text(*prefixes, "Prefix"), "DL");
    }

    void disabledSourceStaysSilent_data()
    {
        QTest::addColumn<QString>("activity"); // what happens while the source is disabled
        QTest::newRow("nothing") << "nothing";
        QTest::newRow("moves") << "moves";
        QTest::newRow("edits") << "edits";
        QTest::newRow("orders and ranges") << "orders";
        QTest::newRow("close and open") << "reopen";
    }
    void disabledSourceStaysSilent()
    {
        QFETCH(QString, activity);
        auto log = openTable("Tarnel");
        addContacts(*log, {"A1", "B1", "C1"});
        Db::DataSource source;
        source.setDataSet(log.get());
        source.setEnabled(false);
        QVERIFY(!source.isEnabled());

        QSignalSpy changes(&source, &Db::DataSource::dataChange);
        QSignalSpy layouts(&source, &Db::DataSource::layoutChange);
        if (activity == "moves") {
            walkForward(*log, "LogCall");
            walkBackward(*log, "LogCall");
            log->locate("LogCall", "B1");
        } else if (activity == "edits") {
            addRow(*log, {{"LogCall", "D1"}});
            log->edit();
            log->fieldByName("LogQth").setAsString("x");
            log->post();
            log->deleteRecord();
        } else if (activity == "orders") {
            log->setIndexName("ByCall");
            log->setRange("B1", "C1");
            log->cancelRange();
            log->setIndexName("");
        } else if (activity == "reopen") {
            log->close();
            log->open();
            log->first();
        }
        QCOMPARE(changes.count(), 0);
        QCOMPARE(layouts.count(), 0);
        QCOMPARE(log->recordCount(), 3); // the cursor itself kept working

        source.setEnabled(true);
        QCOMPARE(changes.count(), 1);
    }

    // --- grids ---

    void gridsShowEachCursorsColumns()
    {
        auto main = openTable("Tarnel");
        auto second = openTable("Tarnel");
        addRow(*main, {{"LogCall", "UR5AAA"}, {"LogDate", "05.03.2024"}, {"LogTime", "14:30:15"},
                       {"LogBand", "Satellite"}, {"LogQth", "Kyiv"}, {"LogRxRst", "59"}, {"LogTxRst", "57"}});
        addContacts(*main, {"A1", "B1"});
        showColumns(*main, mainGridColumns);
        showColumns(*second, secondGridColumns);
        second->setFieldOrder({"LogDate", "LogBand", "LogMode", "LogName", "LogQth", "LogRxRst", "LogTxRst",
                               "LogTime", "LogTxQsl", "LogRxQsl"});
        Db::DataSource mainSource, secondSource;
        mainSource.setDataSet(main.get());
        secondSource.setDataSet(second.get());
        main->first();
        second->first();
        Db::GridModel mainGrid(&mainSource), secondGrid(&secondSource);

        QCOMPARE(gridFields(mainGrid), tags("LogCall LogDate LogTime LogBand LogMode LogName LogQth LogRxRst "
                                            "LogTxRst LogTxQsl LogRxQsl"));
        QCOMPARE(gridHeaders(mainGrid).first(), "Callsignal");
        QCOMPARE(mainGrid.widthInCharacters(0), 12);
        QCOMPARE(gridFields(secondGrid), tags("LogDate LogBand LogMode LogName LogQth LogRxRst LogTxRst "
                                              "LogTime LogTxQsl LogRxQsl"));
        QCOMPARE(gridHeaders(secondGrid), QStringList({"Date", "Band", "Mode", "Name", "QTH", "RX ", "TX",
                                                       "Time", "Send QSL", "Rcvd QSL"}));
        QCOMPARE(secondGrid.widthInCharacters(4), 15);

        QCOMPARE(mainGrid.rowCount(), 3);
        QCOMPARE(secondGrid.rowCount(), 3);
        QCOMPARE(cell(mainGrid, 0, "LogCall"), "UR5AAA");
        QCOMPARE(cell(mainGrid, 0, "LogDate"), "05.03.2024");
        QCOMPARE(cell(secondGrid, 0, "LogTime"), "14:30:15");
        QCOMPARE(cell(secondGrid, 0, "LogBand"), "Satell");
        QCOMPARE(secondGrid.data(secondGrid.index(0, 7)).toString(), "14:30:15");
        QCOMPARE(cell(mainGrid, 2, "LogCall"), "B1");

        // The settings belong to the cursor and outlive a close.
        second->close();
        second->open();
        QCOMPARE(second->visibleFields().size(), secondGridColumns.size());
        QCOMPARE(second->visibleFields().at(7).name, "LogTime");
        QCOMPARE(second->fieldView("LogRxRst").label, "RX ");
        QVERIFY(!second->fieldView("LogCall").visible);
        QVERIFY(main->fieldView("LogCall").visible);
    }

    void gridFollowsTheCursor()
    {
        auto log = openTable("Tarnel");
        addContacts(*log, {"M1", "A1", "Z1"});
        showColumns(*log, mainGridColumns);
        log->setIndexName("ByCall");
        Db::DataSource source;
        source.setDataSet(log.get());
        Db::GridModel grid(&source);
        QSignalSpy rowChanges(&grid, &Db::GridModel::currentRowChanged);

        log->first();
        QCOMPARE(grid.currentRow(), 0);
        QCOMPARE(cell(grid, 0, "LogCall"), "A1");
        log->last();
        QCOMPARE(grid.currentRow(), 2);
        QVERIFY(log->locate("LogCall", "M1"));
        QCOMPARE(grid.currentRow(), 1);
        QVERIFY(rowChanges.count() >= 2);

        grid.moveCursorTo(2);
        QCOMPARE(text(*log, "LogCall"), "Z1");
        QCOMPARE(grid.currentRow(), 2);
        grid.moveCursorTo(0);
        QCOMPARE(text(*log, "LogCall"), "A1");

        log->setRange("A1", "M1");
        QCOMPARE(grid.rowCount(), 2);
        QCOMPARE(cell(grid, 1, "LogCall"), "M1");
        log->cancelRange();
        QCOMPARE(grid.rowCount(), 3);

        // Another cursor's post shows once this cursor moves.
        auto other = openTable("Tarnel");
        addRow(*other, {{"LogCall", "B1"}});
        log->first();
        QCOMPARE(grid.rowCount(), 4);
        QCOMPARE(cell(grid, 1, "LogCall"), "B1");
    }

    // A look-up repeated (as every keystroke repeats the last one's) finds
    // what is there now, whatever changed between the two.
    void repeatedLookupSeesTheChange_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("before"); // the name on the row found; "" = none
        QTest::addColumn<QString>("after");
        QTest::newRow("another cursor adds it") << "add" << "" << "r9";
        QTest::newRow("another cursor edits it") << "edit" << "r2" << "edited";
        QTest::newRow("another cursor deletes it") << "delete" << "r2" << "";
        QTest::newRow("deleted, then rolled back") << "rollback" << "" << "r2";
        QTest::newRow("range set") << "range" << "r2" << "";
        QTest::newRow("range cancelled") << "no range" << "" << "r2";
        QTest::newRow("moved away in between") << "move" << "r2" << "r2";
        QTest::newRow("master on another row") << "master" << "" << "Germany";
    }
    void repeatedLookupSeesTheChange()
    {
        QFETCH(QString, change);
        QFETCH(QString, before);
        QFETCH(QString, after);
        auto log = openTable("Tarnel");
        log->setIndexName("ByCall");
        addContacts(*log, {"A1", change == "add" ? "B1" : "X1", "Z1"});
        auto other = openTable("Tarnel");
        std::unique_ptr<Db::TableTransaction> walk;
        if (change == "rollback") {
            walk = std::make_unique<Db::TableTransaction>(*other);
            QVERIFY(other->locate("LogCall", "X1"));
            other->deleteRecord();
        } else if (change == "no range") {
            log->setRange("A1", "B9");
        }
        fillPrefixes();
        auto allpref = openTable("Allpref");
        auto prefixes = openTable("Prefix");
        prefixes->setMasterLink(allpref.get(), "MainPrefix", "Prefix");
        QVERIFY(allpref->locate("AddPrefix", "UA"));
        Db::Table &looked = change == "master" ? *prefixes : *log;
        const QString field = change == "master" ? "Country" : "LogName";
        auto lookUp = [&] {
            return change == "master" ? prefixes->locate("Country", "Germany") : log->locateLast("LogCall", "X1");
        };

        QCOMPARE(lookUp(), !before.isEmpty());
        if (!before.isEmpty())
            QCOMPARE(text(looked, field), before);
        if (change == "add") {
            addRow(*other, {{"LogCall", "X1"}, {"LogName", "r9"}});
        } else if (change == "edit" || change == "delete") {
            QVERIFY(other->locate("LogCall", "X1"));
            if (change == "delete") {
                other->deleteRecord();
            } else {
                other->edit();
                other->fieldByName("LogName").setAsString("edited");
                other->post();
            }
        } else if (change == "rollback") {
            walk->rollback();
        } else if (change == "range") {
            log->setRange("A1", "B9");
        } else if (change == "no range") {
            log->cancelRange();
        } else if (change == "move") {
            log->first();
            QCOMPARE(text(*log, "LogName"), "r1");
        } else if (change == "master") {
            QVERIFY(allpref->locate("AddPrefix", "DL"));
        }
        QCOMPARE(lookUp(), !after.isEmpty());
        if (!after.isEmpty())
            QCOMPARE(text(looked, field), after);
    }

    // A deferred grid hears of many moves at once and catches up when events
    // run: once, on the rows and row the cursor shows by then; a grid that
    // stopped following meanwhile catches up when it follows again.
    void deferredGridCatchesUpOnce_data()
    {
        QTest::addColumn<bool>("hiddenMeanwhile");
        QTest::newRow("following") << false;
        QTest::newRow("hidden meanwhile") << true;
    }
    void deferredGridCatchesUpOnce()
    {
        QFETCH(bool, hiddenMeanwhile);
        auto log = openTable("Tarnel");
        addContacts(*log, {"UA1A", "UR5A", "UR5AA", "UR5AA", "UR5B", "Z1"});
        showColumns(*log, mainGridColumns);
        log->setIndexName("ByCall");
        Db::DataSource source;
        source.setDataSet(log.get());
        Db::GridModel grid(&source);
        grid.setDeferred(true);
        QCOMPARE(grid.rowCount(), 6);
        QSignalSpy resets(&grid, &QAbstractItemModel::modelReset);

        for (const QString typed : {"U", "UR", "UR5", "UR5A", "UR5AA"}) {
            log->setRange(typed, typed + "ZZZZ");
            QVERIFY(log->locateLast("LogCall", typed) || typed.size() < 4);
        }
        if (hiddenMeanwhile)
            grid.setFollowing(false);
        QCoreApplication::sendPostedEvents();
        // Following, only rows change: the columns and headers stay, with
        // no reset. A grid following again starts afresh.
        const int resetsAfterCatchUp = hiddenMeanwhile ? 1 : 0;
        QCOMPARE(resets.count(), 0);
        if (hiddenMeanwhile)
            grid.setFollowing(true);
        QCOMPARE(resets.count(), resetsAfterCatchUp);
        QCOMPARE(grid.rowCount(), 2);
        QCOMPARE(grid.currentRow(), 1);
        QCOMPARE(cell(grid, 1, "LogName"), "r4");

        // A move within the rows shown needs no reset, only the row.
        QVERIFY(log->locate("LogCall", "UR5AA"));
        QCoreApplication::sendPostedEvents();
        QCOMPARE(resets.count(), resetsAfterCatchUp);
        QCOMPARE(grid.currentRow(), 0);

        // A key taken back shows more rows again, read afresh.
        log->setRange("UR", "URZZZZ");
        QVERIFY(log->locateLast("LogCall", "UR5B"));
        QCoreApplication::sendPostedEvents();
        QCOMPARE(resets.count(), resetsAfterCatchUp);
        QCOMPARE(grid.rowCount(), 4);
        QCOMPARE(grid.currentRow(), 3);
        QCOMPARE(cell(grid, 0, "LogCall"), "UR5A");
        QCOMPARE(cell(grid, 3, "LogCall"), "UR5B");

        // Columns do not wait: the width a grid asks for is read as its
        // window is shown.
        const int columns = grid.columnCount();
        log->setFieldVisible("LogName", false);
        QCOMPARE(grid.columnCount(), columns - 1);
    }

    void disabledGridWaitsClosedGridIsEmpty()
    {
        auto log = openTable("Tarnel");
        addContacts(*log, {"A1", "B1"});
        Db::DataSource source;
        source.setDataSet(log.get());
        Db::GridModel grid(&source);
        log->last();
        QCOMPARE(grid.rowCount(), 2);

        // Detached, the grid keeps its rows but shows nothing of the table,
        // and takes the rows posted meanwhile when it is attached again.
        QSignalSpy removed(&grid, &QAbstractItemModel::rowsRemoved);
        source.setEnabled(false);
        QCOMPARE(grid.rowCount(), 2);
        QCOMPARE(cell(grid, 0, "LogCall"), "");
        addContacts(*log, {"C1"});
        source.setEnabled(true);
        QCOMPARE(grid.rowCount(), 3);
        QCOMPARE(grid.currentRow(), 2);
        QCOMPARE(cell(grid, 2, "LogCall"), "C1");
        QCOMPARE(removed.count(), 0);

        log->close();
        QCOMPARE(grid.rowCount(), 0);
        QCOMPARE(grid.currentRow(), -1);
    }
};

QTEST_MAIN(TestTableLinks)
#include "TestTableLinks.moc"
