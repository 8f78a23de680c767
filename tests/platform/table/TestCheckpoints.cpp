// When a table file's log of changes is copied into the file itself: never
// inside a post, but once the program is idle, at the end of a walk and at
// close.

#include "TableFixture.h"

#include <QtTest>
#include <memory>

using namespace TableFixture;

namespace {

// Rows in the table file alone, without its log of changes: what a
// checkpoint has copied into it.
int rowsInFileAlone(const QString &path)
{
    QTemporaryDir copy;
    const QString alone = copy.filePath(QStringLiteral("alone.db"));
    if (!QFile::copy(path, alone))
        return -1;
    return sqliteRows(alone, QStringLiteral("SELECT count(*) FROM Tarnel")).value(0).toInt();
}

} // namespace

class TestCheckpoints : public QObject {
    Q_OBJECT

    std::unique_ptr<TempDatabase> temp;
    std::unique_ptr<Db::Table> log;

private slots:
    void init()
    {
        temp = std::make_unique<TempDatabase>();
        temp->db.createTable(logSchema());
        log = std::make_unique<Db::Table>(&temp->db, "Tarnel");
        log->open();
    }
    void cleanup()
    {
        log.reset();
        temp.reset();
    }

    void postsLeaveTheCheckpointToAnIdleMoment()
    {
        for (int i = 0; i < 300; ++i)
            addRow(*log, {{"LogCall", QStringLiteral("UA9X%1").arg(i)}, {"LogName", "saved"}});
        QCOMPARE(rowsInFileAlone(temp->path("Tarnel.db")), 0);
        QTRY_COMPARE_WITH_TIMEOUT(rowsInFileAlone(temp->path("Tarnel.db")), 300, 10000);
    }

    void aWalkIsCheckpointedAtItsEnd()
    {
        Db::TableTransaction walk(*log);
        for (int i = 0; i < 50; ++i)
            addRow(*log, {{"LogCall", QStringLiteral("UA9X%1").arg(i)}});
        walk.commit();
        QCOMPARE(rowsInFileAlone(temp->path("Tarnel.db")), 50);
    }

    // A file synced at each commit keeps its log of changes written ahead, so
    // a post's sync overwrites blocks instead of growing the file; what is
    // written ahead is never taken for changes: the files as a killed program
    // leaves them open with exactly the rows posted.
    void roomWrittenAhead_data()
    {
        QTest::addColumn<bool>("rebuildable");
        QTest::addColumn<qint64>("freeBytes"); // -1: the disk's own
        QTest::newRow("synced at each commit") << false << qint64(-1);
        QTest::newRow("rebuildable") << true << qint64(-1);
        // The last free space is the next contact's: the room is given back.
        QTest::newRow("synced, disk nearly full") << false << (qint64(6) << 20);
    }
    void roomWrittenAhead()
    {
        QFETCH(bool, rebuildable);
        QFETCH(qint64, freeBytes);
        if (freeBytes >= 0)
            Db::setFreeSpaceProbe([freeBytes](const QString &) { return freeBytes; });
        const auto probeBack = qScopeGuard([] { Db::setFreeSpaceProbe({}); });
        log.reset();
        temp = std::make_unique<TempDatabase>();
        temp->db.setRebuildable(rebuildable);
        temp->db.createTable(logSchema());
        log = std::make_unique<Db::Table>(&temp->db, "Tarnel");
        log->open();
        for (int i = 0; i < 20; ++i)
            addRow(*log, {{"LogCall", QStringLiteral("UA9X%1").arg(i)}});
        const qint64 walBytes = QFileInfo(temp->path("Tarnel.db-wal")).size();
        QCOMPARE(walBytes >= qint64(2) << 20, !rebuildable && freeBytes < 0);

        QTemporaryDir killed;
        for (const QString name : {"Tarnel.db", "Tarnel.db-wal"})
            QVERIFY(QFile::copy(temp->path(name), killed.filePath(name)));
        const QString copy = killed.filePath("Tarnel.db");
        QCOMPARE(sqliteRows(copy, "PRAGMA integrity_check"), QStringList{"ok"});
        QCOMPARE(sqliteRows(copy, "SELECT count(*) FROM Tarnel"), QStringList{"20"});
    }

    // A walk rolled back leaves no log of changes behind to fill the disk.
    void rolledBackWalkGivesTheLogBack()
    {
        {
            Db::TableTransaction walk(*log);
            for (int i = 0; i < 20; ++i)
                addRow(*log, {{"LogCall", QStringLiteral("UA9X%1").arg(i)}});
        }
        QCOMPARE(QFileInfo(temp->path("Tarnel.db-wal")).size(), 0);
        QCOMPARE(log->recordCount(), 0);
    }

    void closeLeavesOneFile()
    {
        addRow(*log, {{"LogCall", "UA9XX"}});
        log->close();
        QCOMPARE(temp->fileNames(), QStringList{"Tarnel.db"});
        QCOMPARE(rowsInFileAlone(temp->path("Tarnel.db")), 1);
    }
};

QTEST_GUILESS_MAIN(TestCheckpoints)
#include "TestCheckpoints.moc"
