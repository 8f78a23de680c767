// The program's long walks run in a real process killed at a random moment:
// an ADIF import, the awards rebuild, a log merge and Image Pack. Whatever
// the moment, every table file is whole and opens, and each table the walk
// writes holds either what it held before or what a finished walk leaves.
//
// Each walk is killed TARNEL_KILL_RUNS times (3 unless set).

#include "TableFixture.h"
#include "core/SamplePrefixes.h"

#include "AdifGenerator.h"
#include "LogGenerator.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <QtTest>

#ifndef TABLE_CHILD
#error "TABLE_CHILD must name the table_child helper"
#endif

namespace {

using Contents = QList<QVariantList>; // tableRows() of one table file

// What is wrong with the table files below `dir` (the work copies of Temp/
// and staged ".new" files aside, which the next run discards): "" when each
// passes SQLite's integrity check and opens through the table engine.
QString damagedFiles(const QString &dir)
{
    QStringList problems;
    QDirIterator it(dir, {"*.db"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.contains("/Temp/"))
            continue;
        const QStringList check = TableFixture::sqliteRows(path, "PRAGMA integrity_check");
        if (check != QStringList{"ok"})
            problems << path + ": " + check.join(' ');
        try {
            tableRows(path);
        } catch (const Db::TableError &error) {
            problems << path + ": " + error.message();
        }
    }
    return problems.join('\n');
}

// Starts the child's walk on `dir` and returns once it said "ready".
bool startWalk(QProcess &child, const QString &mode, const QString &dir)
{
    child.start(TABLE_CHILD, {mode, dir});
    if (!child.waitForStarted())
        return false;
    QByteArray out;
    while (!out.contains("ready\n") && child.waitForReadyRead(120000))
        out += child.readAllStandardOutput();
    return out.contains("ready\n");
}

// A copy of a program directory, its empty Temp/ included.
void copyProgram(const QString &from, const QString &to)
{
    Bench::copyTree(from, to);
    QDir(to).mkpath("Temp");
}

int killRuns()
{
    bool ok = false;
    const int runs = qEnvironmentVariableIntValue("TARNEL_KILL_RUNS", &ok);
    return ok && runs > 0 ? runs : 3;
}

} // namespace

class TestKilledWalks : public QObject {
    Q_OBJECT

    QTemporaryDir work_;

    // A program directory with the sample prefixes and what `mode` walks over.
    void prepare(const ProgramFixture &program, const QString &mode)
    {
        addSamplePrefixes(program);
        const QString dir = program.path();
        if (mode == "import") {
            QFile file(dir + "/import.adi");
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(Bench::generateAdif([](int i) { return i % 2 ? ' ' : '\n'; }, 20000));
        } else if (mode == "awards" || mode == "merge") {
            Db::Database db;
            db.setDirectory(dir + (mode == "merge" ? "/Log/Log2" : "/Log/Log1"));
            Db::Table log(&db, "Tarnel");
            log.open();
            Bench::generateLog(log, 20000);
            if (mode == "merge")
                program.addRows("Log/Log1", "Tarnel", {{{"LogCall", "UR5AAA"}, {"LogDate", "01.01.2024"}}});
        } else if (mode == "pack") {
            Db::Database db;
            db.setDirectory(dir + "/Sound/Table");
            Db::Table pict(&db, "Pict.db");
            pict.open();
            Db::TableTransaction walk(pict);
            for (int i = 0; i < 3000; ++i) {
                pict.append();
                const QDateTime taken(QDate(2024, 5, 1), QTime(10, 0));
                pict.fieldByName("Date_Time").setAsString(taken.addSecs(i).toString("dd.MM.yyyy HH:mm:ss"));
                pict.fieldByName("Call").setAsString(Bench::callOf(i));
                pict.fieldByName("R1").setAsString(QStringLiteral("%1.jpg").arg(i));
                pict.fieldByName("Fot1").setAsBytes(QByteArray(2000, char(i)));
                pict.post();
            }
            walk.commit();
        }
    }

private slots:
    void killedWalkLeavesOldOrNew_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QStringList>("written"); // the tables the walk writes
        const QStringList awards{"Awrds/Dxcc.db", "Awrds/UR.db", "Awrds/Waz.db"};
        QTest::newRow("ADIF import") << "import" << QStringList{"Log/Log1/Tarnel.db"} + awards;
        QTest::newRow("awards rebuild") << "awards" << QStringList{"Log/Log1/Tarnel.db"} + awards;
        QTest::newRow("log merge") << "merge" << QStringList{"Log/Log1/Tarnel.db", "Log/Log2/Tarnel.db"};
        QTest::newRow("Image Pack") << "pack" << QStringList{"Sound/Table/Pict.db"};
    }
    void killedWalkLeavesOldOrNew()
    {
        QFETCH(QString, mode);
        QFETCH(QStringList, written);
        ProgramFixture program;
        prepare(program, mode);
        QList<Contents> before;
        for (const QString &table : written)
            before << tableRows(program.path(table));

        // A walk left to finish: what "new" is, and how long the walk takes.
        const QString finished = work_.filePath(mode + "-finished");
        copyProgram(program.path(), finished);
        QElapsedTimer timer;
        {
            QProcess child;
            QVERIFY(startWalk(child, mode, finished));
            timer.start();
            QVERIFY(child.waitForFinished(300000));
            QVERIFY2(child.exitCode() == 0 && child.readAllStandardOutput().contains("done"),
                     child.readAllStandardError().constData());
        }
        const qint64 walkMicros = timer.nsecsElapsed() / 1000;
        QList<Contents> after;
        for (const QString &table : written)
            after << tableRows(finished + '/' + table);
        if (mode != "pack")
            QVERIFY(after.first() != before.first());

        for (int run = 0; run < killRuns(); ++run) {
            const QString dir = work_.filePath(QStringLiteral("%1-%2").arg(mode).arg(run));
            copyProgram(program.path(), dir);
            // Up to a fifth past the walk's length, to catch its very end too.
            const qint64 delay = QRandomGenerator::global()->bounded(walkMicros * 6 / 5 + 1);
            const QString moment = QStringLiteral("killed after %1 of %2 ms").arg(delay / 1000).arg(walkMicros / 1000);
            {
                QProcess child;
                QVERIFY(startWalk(child, mode, dir));
                QThread::usleep(quint64(delay));
                child.kill();
                QVERIFY(child.waitForFinished());
            }
            const QString damaged = damagedFiles(dir);
            QVERIFY2(damaged.isEmpty(), qPrintable(moment + '\n' + damaged));
            QString states; // per table: o(ld) or n(ew)
            for (int t = 0; t < written.size(); ++t) {
                const Contents now = tableRows(dir + '/' + written[t]);
                QVERIFY2(now == before[t] || now == after[t], qPrintable(moment + ": " + written[t] + " is a mix"));
                states += now == before[t] ? 'o' : 'n';
            }
            qInfo("%s %s: %s", qPrintable(mode), qPrintable(moment), qPrintable(states));
            QVERIFY(QDir(dir).removeRecursively());
        }
    }
};

QTEST_GUILESS_MAIN(TestKilledWalks)
#include "TestKilledWalks.moc"
