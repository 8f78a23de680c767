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

    // A long log of changes is folded in at an idle moment; a short one waits,
    // so that the next save appends to it instead of restarting it (which
    // syncs a fresh header in every file the save marks).
    void postsLeaveTheCheckpointToAnIdleMoment_data()
    {
        QTest::addColumn<int>("posts");
        QTest::newRow("a long log of changes") << 300;
        QTest::newRow("a short one") << 3;
    }
    void postsLeaveTheCheckpointToAnIdleMoment()
    {
        QFETCH(int, posts);
        for (int i = 0; i < posts; ++i)
            addRow(*log, {{"LogCall", QStringLiteral("UA9X%1").arg(i)}, {"LogName", "saved"}});
        QCOMPARE(rowsInFileAlone(temp->path("Tarnel.db")), 0);
        if (posts > 3) {
            QTRY_COMPARE_WITH_TIMEOUT(rowsInFileAlone(temp->path("Tarnel.db")), posts, 10000);
            return;
        }
        // The idle moment came: it wrote the room ahead.
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(temp->path("Tarnel.db-wal")).size() >= 2 << 20, 10000);
        QCOMPARE(rowsInFileAlone(temp->path("Tarnel.db")), 0);
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
        // Written at the idle moment the posts start, never inside a post.
        const auto walBytes = [this] { return QFileInfo(temp->path("Tarnel.db-wal")).size(); };
        if (!rebuildable && freeBytes < 0) {
            QTRY_VERIFY_WITH_TIMEOUT(walBytes() >= qint64(2) << 20, 10000);
        } else {
            QTest::qWait(1500);
            QVERIFY(walBytes() < qint64(2) << 20);
        }

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
