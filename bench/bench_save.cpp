// Saving a contact as at a real station: the main window shown on a log of
// 100,000 contacts (BENCH_CONTACTS) with the installed prefix and award
// tables, the program idle for a second before each save, and each save timed
// from the button to the moment the event loop is idle again (the grid's
// catch-up and every other piece of work the save causes). The disk's own
// sync time is measured in the same run: a save that must reach the disk
// cannot beat it, so the goal is also held as a multiple of it.

#include "SaveSteps.h"
#include "core/GlavnMod.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "platform/ui/Dialogs.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <unistd.h>
#include <vector>

namespace {

// The median time, in microseconds, of `pages` table pages appended to a log
// of changes in `dir` and synced, each after `pauseMs` as between saves: what
// the disk takes for one save's own pages, the floor of any save that must be
// on the disk when it returns. The room is written ahead, as the log's is.
double syncMicros(const QString &dir, int pages, int runs, int pauseMs)
{
    const QByteArray path = QFile::encodeName(dir + QStringLiteral("/sync.probe"));
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return -1;
    constexpr qint64 frame = 4096 + 24;
    const std::vector<char> frames(size_t(frame * pages), 'x');
    const std::vector<char> room(size_t(frame * pages * runs), 0);
    std::vector<double> times;
    bool ok = ::pwrite(fd, room.data(), room.size(), 0) == ssize_t(room.size()) && ::fsync(fd) == 0;
    for (int i = 0; ok && i < runs; ++i) {
        QThread::msleep(pauseMs);
        QElapsedTimer t;
        t.start();
        ok = ::pwrite(fd, frames.data(), frames.size(), off_t(i) * off_t(frames.size())) == ssize_t(frames.size()) &&
             ::fdatasync(fd) == 0;
        times.push_back(double(t.nsecsElapsed()) / 1000.0);
    }
    ::close(fd);
    ::unlink(path.constData());
    return ok ? Bench::median(times) : -1;
}

// The pages one save changes in the log: the row's, one in each index, and
// the counter of row numbers.
int pagesPerSave()
{
    int pages = 2;
    for (const Db::IndexDef &index : DM->Table1.schema().indexes)
        pages += index.kind == Db::IndexKind::Primary ? 0 : 1;
    return pages;
}

bool report(const std::string &what, const std::optional<std::vector<double>> &micros,
            const std::vector<double> &painting, double medianGoalMs, double p99GoalMs, double syncMs)
{
    if (!micros)
        return false;
    std::printf("%-56s median %.3f ms, p99 %.3f ms (no goal: Qt's drawing)\n", (what + ", its painting").c_str(),
                Bench::median(painting) / 1000.0, Bench::percentile99(painting) / 1000.0);
    const std::string runs = "of " + std::to_string(micros->size());
    const double median = Bench::median(*micros) / 1000.0;
    Bench::figure(what + ", median", median, "ms", medianGoalMs, runs);
    Bench::figure(what + ", p99", Bench::percentile99(*micros) / 1000.0, "ms", p99GoalMs, runs);
    if (syncMs > 0)
        Bench::figure(what + ", median in disk syncs", median / syncMs, "syncs", 3.0,
                      "one save's sync " + std::to_string(syncMs).substr(0, 5) + " ms");
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    Bench::installProgram(dir.path(), true);
    QDir::setCurrent(dir.path());
    Ui::ScriptedDialogs quiet;
    Bench::PaintClock clock;
    createWindowSet();
    Form3->showWindow();
    while (Form3->Label23->text() != QLatin1String("vse"))
        Bench::pause(50);
    Bench::pause(1500); // the start-up's own idle work done

    const int pages = pagesPerSave();
    const double syncMs = syncMicros(dir.path() + QStringLiteral("/Log/Log1"), pages, 30, 50) / 1000.0;
    if (syncMs <= 0) {
        std::fprintf(stderr, "the disk's sync time could not be measured\n");
        return 1;
    }
    std::printf("%-56s %9.3f ms  (median of 30, no goal: the disk's own)\n",
                ("one save's " + std::to_string(pages) + " log pages written and synced").c_str(), syncMs);
    const int asked = qEnvironmentVariableIntValue("BENCH_SAVES");
    const int saves = asked > 0 ? asked : 60;
    std::vector<double> painting;
    const auto idle = Bench::saveContacts(saves, 1000, clock, painting);
    bool ok = report("save with award marks, window shown, 1 s idle before", idle, painting, Bench::goal(1.5, 2),
                     Bench::goal(5, 8), syncMs);
    painting.clear();
    const auto backToBack = Bench::saveContacts(300, 0, clock, painting);
    ok = ok && report("save with award marks, window shown, back to back", backToBack, painting, Bench::goal(1.5, 2),
                      Bench::goal(5, 8), -1);
    destroyWindowSet();
    return ok ? 0 : 1;
}
