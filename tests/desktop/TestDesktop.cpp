// The real program on a desktop: Xvfb with a window manager (openbox), driven
// with xdotool as an operator types. What only a window manager does (it
// activates the windows it maps) shows here and nowhere offscreen.

#include "platform/table/Database.h"
#include "platform/table/Table.h"
#include "station/KeyerEngine.h"
#include "station/KeyerSettings.h"
#include "utilities/UImage.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <memory>
#include <csignal>
#include <sqlite3.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

const QString mainCaption = QStringLiteral("Tarnel  ( QA1ZZ )");
const QString workedBefore = QStringLiteral("DL1ABC");
constexpr int earlierContacts = 19;
// A station whose picture is in the picture store.
const QString pictureStation = QStringLiteral("PA3PIC");
// The log's last rows, after the earlier contacts: one with a picture and one
// with an IOTA reference among plain ones.
const std::pair<const char *, const char *> lastRows[] = {
    {"K1ABV", ""}, {"PA3PIC", ""}, {"K1ABW", ""}, {"K1ABX", "iOC-001oIsland"}, {"K1ABY", ""}};
// The main window's entry fields, buttons and Info panel reach this far below
// the top of its client area at its opening size (the window-set test checks
// the exact rule offscreen).
constexpr int entryDepth = 270;
constexpr int keyerSpeed = 40; // characters per minute: a dot is 150 ms, late timers tolerated

struct LineChange {
    qint64 ms;
    bool dtr;
    bool rts;
};

// The modem line changes the shim wrote down.
QList<LineChange> readLineChanges(const QString &path)
{
    QList<LineChange> changes;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return changes;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QList<QByteArray> parts = line.simplified().split(' ');
        if (parts.size() == 3)
            changes.append({parts[0].toLongLong(), parts[1] == "1", parts[2] == "1"});
    }
    return changes;
}

// Dots and dashes as RTS keyed them, each while DTR was up; false when RTS
// went up without push-to-talk.
bool keyedElements(const QList<LineChange> &changes, QString &elements)
{
    const int dot = Keyer::dotLength(keyerSpeed);
    bool dtr = false;
    bool rts = false;
    qint64 down = 0;
    for (const LineChange &c : changes) {
        if (c.rts && !rts) {
            if (!dtr)
                return false;
            down = c.ms;
        }
        if (!c.rts && rts)
            elements += c.ms - down >= 2 * dot ? u'-' : u'.';
        dtr = c.dtr;
        rts = c.rts;
    }
    return true;
}

// A process of the test's desktop ends with the test, even one that dies.
void endsWithTheTest(QProcess &process)
{
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

QString morse(const QString &text)
{
    QString elements;
    for (const QChar c : text)
        elements += Keyer::code(c);
    return elements;
}

} // namespace

class TestDesktop : public QObject {
    Q_OBJECT

    QProcess xvfb_;
    QProcess windowManager_;
    QString display_;
    std::unique_ptr<QTemporaryDir> program_;
    std::unique_ptr<QProcess> app_;
    int ptyMaster_ = -1;
    QString ptyPath_;

    QString tool(const char *name)
    {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (path.isEmpty())
            qFatal("%s is missing: `make test` installs xvfb, openbox, xdotool and x11-utils", name);
        return path;
    }

    // Runs an X tool on the test's display; its output, trimmed.
    QString run(const char *name, const QStringList &args)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display_);
        p.setProcessEnvironment(env);
        p.start(tool(name), args);
        if (!p.waitForFinished(20000))
            p.kill();
        return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
    }
    QString xdotool(const QStringList &args) { return run("xdotool", args); }

    QString activeCaption() { return xdotool({"getactivewindow", "getwindowname"}); }
    QString windowNamed(const QString &caption)
    {
        return xdotool({"search", "--onlyvisible", "--name", u'^' + QRegularExpression::escape(caption) + u'$'})
            .section(u'\n', 0, 0);
    }
    bool shown(const QString &caption) { return !windowNamed(caption).isEmpty(); }

    // A window's place without and with the window manager's frame.
    QRect client(const QString &window)
    {
        QHash<QString, int> v;
        for (const QString &line : xdotool({"getwindowgeometry", "--shell", window}).split(u'\n'))
            v.insert(line.section(u'=', 0, 0), line.section(u'=', 1).toInt());
        return QRect(v.value("X"), v.value("Y"), v.value("WIDTH"), v.value("HEIGHT"));
    }
    QRect frame(const QString &window)
    {
        // "_NET_FRAME_EXTENTS(CARDINAL) = left, right, top, bottom"
        const QStringList e = run("xprop", {"-id", window, "_NET_FRAME_EXTENTS"}).section(u'=', 1).split(u',');
        if (e.size() != 4)
            return client(window);
        return client(window).marginsAdded(QMargins(e[0].toInt(), e[2].toInt(), e[1].toInt(), e[3].toInt()));
    }

    // The program's windows from the bottom of the stack to its top.
    QList<qulonglong> stacking()
    {
        QList<qulonglong> ids;
        for (const QString &id : run("xprop", {"-root", "_NET_CLIENT_LIST_STACKING"}).section(u'#', 1).split(u','))
            ids.append(id.trimmed().toULongLong(nullptr, 16));
        return ids;
    }

    // Keys as an operator presses them, one at a time.
    void type(const QString &text) { xdotool({"type", "--delay", "120", text}); }
    void key(const QString &name, int times = 1)
    {
        for (int i = 0; i < times; ++i) {
            xdotool({"key", name});
            QTest::qWait(250);
        }
    }

    // Opens the main window's menu at `index` in the menu bar with its first
    // item chosen, from the keyboard: Alt chooses the first title.
    void openMenu(int index)
    {
        key(QStringLiteral("alt"));
        key(QStringLiteral("Right"), index);
        key(QStringLiteral("Down"));
        QTest::qWait(300);
    }

    int contactsWith(const QString &call, const QString &txReport)
    {
        sqlite3 *db = nullptr;
        int count = -1;
        const QByteArray path = QDir(program_->path()).filePath("Log/Log1/Tarnel.db").toLocal8Bit();
        if (sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
            sqlite3_stmt *st = nullptr;
            if (sqlite3_prepare_v2(db, "SELECT count(*) FROM Tarnel WHERE LogCall = ?1 AND LogTxRst = ?2", -1, &st,
                                   nullptr) == SQLITE_OK) {
                const QByteArray c = call.toUtf8();
                const QByteArray r = txReport.toUtf8();
                sqlite3_bind_text(st, 1, c.constData(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_text(st, 2, r.constData(), -1, SQLITE_TRANSIENT);
                if (sqlite3_step(st) == SQLITE_ROW)
                    count = sqlite3_column_int(st, 0);
            }
            sqlite3_finalize(st);
        }
        sqlite3_close(db);
        return count;
    }

    QString modemLog() const { return QDir(program_->path()).filePath("modem-lines.log"); }
    QString mixwLog() const { return QDir(program_->path()).filePath("MixW2.log"); }

    // An installed program directory, a log with earlier contacts of one
    // station, the keyer on COM 1 and a MixW log; then the program, up.
    void startProgram()
    {
        program_ = std::make_unique<QTemporaryDir>();
        QVERIFY(program_->isValid());
        QProcess install;
        install.start(TARNEL_INSTALL, {program_->path()});
        QVERIFY(install.waitForFinished(120000));
        QCOMPARE(install.exitCode(), 0);
        {
            Db::Database db;
            db.setDirectory(QDir(program_->path()).filePath("Log/Log1"));
            Db::Table log(&db, QStringLiteral("Tarnel"));
            log.open();
            for (int i = 0; i < earlierContacts + int(std::size(lastRows)); ++i) {
                log.append();
                const QString call = i < earlierContacts ? workedBefore
                                                         : QString::fromLatin1(lastRows[i - earlierContacts].first);
                const QString other =
                    i < earlierContacts ? QString() : QString::fromLatin1(lastRows[i - earlierContacts].second);
                const std::pair<const char *, QString> fields[] = {
                    {"LogOther", other},
                    {"LogCall", call},          {"LogDate", QStringLiteral("%1.03.2025").arg(i + 1, 2, 10, QLatin1Char('0'))},
                    {"LogTime", "12:00:00"},    {"LogBand", "14"},
                    {"LogMode", "CW"},          {"LogName", "Hans"},
                    {"LogQth", "Berlin"},       {"LogRxRst", "599"},
                    {"LogTxRst", "599"}};
                for (const auto &[field, value] : fields)
                    log.fieldByName(QString::fromLatin1(field)).setAsString(value);
                log.post();
            }
        }
        {
            Db::Database store;
            store.setDirectory(QDir(program_->path()).filePath("Sound/Table"));
            Db::Table pictures(&store, QStringLiteral("Pict"));
            pictures.open();
            // Named as the station, as the store names a picture after its file.
            const QString file = QDir(program_->path()).filePath(pictureStation);
            QImage picture(64, 48, QImage::Format_RGB32);
            picture.fill(Qt::darkGreen);
            QVERIFY(picture.save(file, "BMP"));
            PictureStore::addPicture(pictures, file, QDateTime(QDate(2025, 3, 1), QTime(12, 0)));
        }
        KeyerSettings::Settings keyer = KeyerSettings::defaults();
        keyer.port = 1;
        keyer.lead = 20;
        keyer.stop = 300;
        keyer.rxOnBufferFree = true;
        keyer.onKeyPress = true;
        keyer.speed = keyerSpeed;
        auto write = [this](const char *name, const QByteArray &bytes) {
            QFile f(QDir(program_->path()).filePath(QString::fromLatin1(name)));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        };
        write(KeyerSettings::fileName, KeyerSettings::compose(keyer));
        write("Tarnel.ini", "[General]\r\nAwIota=True\r\n[Programs]\r\nPr9=" + mixwLog().toUtf8() + "\r\n");
        write("MixW2.log", ";QB1AA;202511051432;;;;7012;;;CW;599;579;;;Ivan;Kyiv;;;;;;\r\n;" + workedBefore.toUtf8() +
                               ";202512051432;;;;14025.5;;;CW;599;579;;;Hans;Berlin;;;note;;;\r\n");

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display_);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        // A style whose menu bar Alt opens: the menus are reached from the
        // keyboard, wherever they are drawn.
        env.insert(QStringLiteral("QT_STYLE_OVERRIDE"), QStringLiteral("windows"));
        env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(MODEM_LINES_SHIM));
        env.insert(QStringLiteral("MODEM_LINES_LOG"), modemLog());
        env.insert(QStringLiteral("TARNEL_COM1"), ptyPath_);
        // The shim comes before the sanitizer's runtime in a sanitized build.
        env.insert(QStringLiteral("ASAN_OPTIONS"),
                   env.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":verify_asan_link_order=0"));
        app_ = std::make_unique<QProcess>();
        endsWithTheTest(*app_);
        app_->setProcessEnvironment(env);
        app_->setWorkingDirectory(program_->path());
        app_->setProcessChannelMode(QProcess::ForwardedChannels);
        app_->start(TARNEL_APP, {});
        QVERIFY(app_->waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(activeCaption(), mainCaption, 30000);
        QTest::qWait(1000); // the start-up timer hides the settings window
        QCOMPARE(activeCaption(), mainCaption);
    }

private slots:
    void initTestCase()
    {
        // A free display: Xvfb picks it and says which.
        endsWithTheTest(xvfb_);
        endsWithTheTest(windowManager_);
        xvfb_.start(tool("Xvfb"), {"-displayfd", "1", "-screen", "0", "1280x800x24", "-nolisten", "tcp"});
        QVERIFY(xvfb_.waitForStarted());
        QElapsedTimer waited;
        waited.start();
        while (!xvfb_.canReadLine() && waited.elapsed() < 30000)
            xvfb_.waitForReadyRead(1000);
        const QString number = QString::fromLatin1(xvfb_.readLine()).trimmed();
        QVERIFY2(!number.isEmpty(), "Xvfb gave no display");
        display_ = u':' + number;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display_);
        windowManager_.setProcessEnvironment(env);
        windowManager_.start(tool("openbox"), {});
        QVERIFY(windowManager_.waitForStarted());
        // The desktop count comes from the window manager once it runs.
        QTRY_VERIFY_WITH_TIMEOUT(!xdotool({"get_num_desktops"}).isEmpty(), 30000);

        ptyMaster_ = posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(ptyMaster_ >= 0);
        QVERIFY(grantpt(ptyMaster_) == 0 && unlockpt(ptyMaster_) == 0);
        ptyPath_ = QString::fromLocal8Bit(ptsname(ptyMaster_));
    }

    void cleanup()
    {
        if (app_) {
            app_->terminate();
            if (!app_->waitForFinished(20000))
                app_->kill();
            app_.reset();
        }
        program_.reset();
    }

    void cleanupTestCase()
    {
        for (QProcess *p : {&windowManager_, &xvfb_}) {
            p->terminate();
            if (!p->waitForFinished(10000))
                p->kill();
        }
        if (ptyMaster_ >= 0)
            ::close(ptyMaster_);
    }

    void flows_data()
    {
        QTest::addColumn<QString>("flow");
        QTest::newRow("worked before: Tab, report, Enter") << "report";
        QTest::newRow("ten contacts typed, a station with a picture fifth") << "ten";
        QTest::newRow("Up and Down across rows with a picture and an IOTA reference") << "browse";
        QTest::newRow("keyer: typed text, every character keyed") << "keyer";
        QTest::newRow("MixW take-over with the repeat window open") << "mixw";
    }
    void flows()
    {
        QFETCH(QString, flow);
        startProgram();
        if (QTest::currentTestFailed())
            return;
        if (flow == QLatin1String("report")) {
            // The look-up chain shows the repeat window; the keys typed on
            // stay with the main window, in the sent report.
            type(workedBefore);
            key(QStringLiteral("Tab"));
            QTRY_VERIFY_WITH_TIMEOUT(shown(workedBefore), 10000);
            QTest::qWait(500);
            QCOMPARE(activeCaption(), mainCaption);
            // The repeat window is in sight: above the main window, clear of
            // its entry.
            const QString repeats = windowNamed(workedBefore);
            const QString main = windowNamed(mainCaption);
            const QList<qulonglong> stack = stacking();
            QVERIFY2(stack.indexOf(repeats.toULongLong()) > stack.indexOf(main.toULongLong()),
                     "the repeat window is under the main window");
            QRect entry = client(main);
            entry.setHeight(entryDepth);
            QVERIFY2(!frame(repeats).intersects(entry), "the repeat window covers the entry");
            type(QStringLiteral("57"));
            key(QStringLiteral("Return"));
            QTRY_COMPARE_WITH_TIMEOUT(contactsWith(workedBefore, QStringLiteral("57")), 1, 10000);
            QCOMPARE(activeCaption(), mainCaption);
        } else if (flow == QLatin1String("ten")) {
            // Each save moves the log to its new last row; the fifth shows the
            // station's picture. Every key typed after it stays in the entry.
            const QStringList calls{"K2AAA", "K2AAB", "K2AAC", "K2AAD", pictureStation,
                                    "K2AAE", "K2AAF", "K2AAG", "K2AAH", "K2AAI"};
            for (int i = 0; i < calls.size(); ++i) {
                type(calls[i]);
                key(QStringLiteral("Tab"));
                type(QStringLiteral("5%1").arg(i));
                key(QStringLiteral("Return"));
                if (calls[i] == pictureStation)
                    QTRY_VERIFY_WITH_TIMEOUT(shown(QStringLiteral("Images")), 10000);
            }
            for (int i = 0; i < calls.size(); ++i)
                QTRY_COMPARE_WITH_TIMEOUT(contactsWith(calls[i], QStringLiteral("5%1").arg(i)), 1, 10000);
            QCOMPARE(activeCaption(), mainCaption);
        } else if (flow == QLatin1String("browse")) {
            // From the callsign field back to the log grid, on the last row.
            key(QStringLiteral("shift+Tab"));
            struct Step {
                const char *key;
                bool picture;
                bool iota;
            };
            // Each step shows or closes a window: a key lost to another
            // window leaves it as it was.
            const Step steps[] = {
                {"Up", false, true}, {"Up", false, false}, {"Up", true, false}, {"Down", false, false}, {"Down", false, true}};
            for (const Step &step : steps) {
                key(QString::fromLatin1(step.key));
                QTRY_COMPARE_WITH_TIMEOUT(shown(QStringLiteral("Images")), step.picture, 5000);
                QTRY_COMPARE_WITH_TIMEOUT(shown(QStringLiteral("IOTA")), step.iota, 5000);
                QCOMPARE(activeCaption(), mainCaption);
            }
        } else if (flow == QLatin1String("keyer")) {
            openMenu(5); // "Tools"
            key(QStringLiteral("Down"));   // "Mode"
            key(QStringLiteral("Right"));  // "CW"
            QTest::qWait(300);
            key(QStringLiteral("Return"));
            QTRY_COMPARE_WITH_TIMEOUT(activeCaption(), QStringLiteral("CW"), 10000);
            key(QStringLiteral("Tab")); // from the send line to the type-ahead box
            const QString text = QStringLiteral("CQ TEST");
            type(text);
            // Keyed to the end, then back to receive after the stop delay.
            const auto keyed = [this] {
                QString elements;
                keyedElements(readLineChanges(modemLog()), elements);
                return elements.size();
            };
            QTRY_VERIFY_WITH_TIMEOUT(keyed() >= morse(text).size(), 30000);
            QTest::qWait(1500);
            const QList<LineChange> changes = readLineChanges(modemLog());
            QString elements;
            QVERIFY2(keyedElements(changes, elements), "RTS keyed without push-to-talk");
            QCOMPARE(elements, morse(text));
            QVERIFY(!changes.isEmpty());
            QVERIFY2(!changes.last().dtr && !changes.last().rts, "push-to-talk stayed on");
            // The keyer's settings, opened from its menu and closed from the
            // title bar: the keyer comes back to the front with the keyboard.
            key(QStringLiteral("alt"));
            key(QStringLiteral("Down")); // "Config"
            key(QStringLiteral("Return"));
            QTRY_COMPARE_WITH_TIMEOUT(activeCaption(), QStringLiteral("Config"), 10000);
            key(QStringLiteral("alt+F4"));
            QTRY_COMPARE_WITH_TIMEOUT(activeCaption(), QStringLiteral("CW"), 10000);
            const QList<qulonglong> stack = stacking();
            QVERIFY2(stack.indexOf(windowNamed(QStringLiteral("CW")).toULongLong()) >
                         stack.indexOf(windowNamed(mainCaption).toULongLong()),
                     "the keyer is under the main window");
        } else {
            // The repeat window is open when MixW's contact comes in.
            type(workedBefore);
            key(QStringLiteral("Tab"));
            QTRY_VERIFY_WITH_TIMEOUT(!xdotool({"search", "--onlyvisible", "--name", "^" + workedBefore + "$"}).isEmpty(),
                                     10000);
            openMenu(7); // "Programs": its first shown item is "MixW"
            key(QStringLiteral("Right")); // "Update"
            QTest::qWait(300);
            key(QStringLiteral("Return"));
            QTRY_COMPARE_WITH_TIMEOUT(activeCaption(), mainCaption, 10000);
            // The main window was already active: give the take-over time to end.
            QTest::qWait(2000);
            QCOMPARE(activeCaption(), mainCaption);
            type(QStringLiteral("57"));
            key(QStringLiteral("Return"));
            QTRY_COMPARE_WITH_TIMEOUT(contactsWith(workedBefore, QStringLiteral("57")), 1, 10000);
        }
    }
};

QTEST_GUILESS_MAIN(TestDesktop)
#include "TestDesktop.moc"
