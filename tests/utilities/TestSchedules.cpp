#include "core/ProgramFixture.h"

#include "core/GlavnMod.h"
#include "core/MainClock.h"
#include "platform/ui/Dialogs.h"
#include "utilities/SkedFile.h"
#include "utilities/USked.h"

namespace {

QDateTime at(const QString &text)
{
    return QDateTime::fromString(text, QStringLiteral("dd.MM.yyyy HH:mm:ss"));
}

class FakeClock {
public:
    explicit FakeClock(const QString &start) : now_(at(start))
    {
        previous_ = MainClock::setNow([this] { return now_; });
    }
    ~FakeClock() { MainClock::setNow(previous_); }
    FakeClock(const FakeClock &) = delete;
    FakeClock &operator=(const FakeClock &) = delete;
    void tick(const QString &text)
    {
        now_ = at(text);
        FSkeds->Timer1Timer();
    }

private:
    QDateTime now_;
    MainClock::Now previous_;
};

void setRow(int k, const QString &date, const QString &time, const QString &text)
{
    FSkeds->DateEdit[k]->setDate(QDate::fromString(date, QStringLiteral("dd.MM.yyyy")));
    FSkeds->DateTimePicker[k]->setTime(QTime::fromString(time, QStringLiteral("HH:mm:ss")));
    FSkeds->Edit[k]->setText(text);
}

QString thirtyLines(const QStringList &firstLines)
{
    QStringList lines = firstLines;
    while (lines.size() < 30)
        lines << (lines.size() % 3 == 0 ? QStringLiteral("01.01.2024") : lines.size() % 3 == 1 ? QStringLiteral("12:00:00") : QStringLiteral("row"));
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

} // namespace

class TestSchedules : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { destroyWindowSet(); }

    // Which rows a tick fires: each moment once, late or skipped ticks included.
    void dueRows_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QList<int>>("due");
        QTest::newRow("the second itself") << "01.03.2024 09:59:59" << "01.03.2024 10:00:00" << QList<int>{0, 1};
        QTest::newRow("the next tick") << "01.03.2024 10:00:00" << "01.03.2024 10:00:01" << QList<int>{};
        QTest::newRow("ticks skipped") << "01.03.2024 09:59:50" << "01.03.2024 10:00:05" << QList<int>{0, 1};
        QTest::newRow("another day") << "02.03.2024 09:59:59" << "02.03.2024 10:00:00" << QList<int>{};
        QTest::newRow("later row") << "01.03.2024 10:00:00" << "01.03.2024 10:10:00" << QList<int>{2};
    }
    void dueRows()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QList<int>, due);
        SkedFile::Rows rows;
        rows[0] = {QDate(2024, 3, 1), QTime(10, 0), QStringLiteral("a")};
        rows[1] = {QDate(2024, 3, 1), QTime(10, 0), QStringLiteral("b")};
        rows[2] = {QDate(2024, 3, 1), QTime(10, 10), QStringLiteral("c")};
        QCOMPARE(SkedFile::dueRows(rows, MainClock::Span(at(from), at(to))), due);
        QCOMPARE(SkedFile::litLamp(rows, QDate(2024, 3, 1)), 2);
        QCOMPARE(SkedFile::litLamp(rows, QDate(2024, 3, 2)), -1);
    }

    // A bad line leaves its own field only; one problem is reported.
    void reading_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("row0");
        QTest::addColumn<QString>("row9");
        QTest::addColumn<bool>("problem");
        QTest::newRow("good") << QStringList{"05.06.2024", "07:08:09", "first"} << "05.06.2024 07:08:09 first"
                              << "01.01.2024 12:00:00 row" << false;
        QTest::newRow("bad date") << QStringList{"2024/06/05", "07:08:09", "first"} << "31.12.2023 07:08:09 first"
                                  << "01.01.2024 12:00:00 row" << true;
        QTest::newRow("bad time") << QStringList{"05.06.2024", "7h", "first"} << "05.06.2024 00:00:00 first"
                                  << "01.01.2024 12:00:00 row" << true;
    }
    void reading()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, row0);
        QFETCH(QString, row9);
        QFETCH(bool, problem);
        SkedFile::Rows before;
        before.fill({QDate(2023, 12, 31), QTime(0, 0), QString()});
        const SkedFile::Reading r = SkedFile::parse(thirtyLines(lines), before);
        const auto show = [](const SkedFile::Row &row) {
            return row.date.toString(QStringLiteral("dd.MM.yyyy ")) + row.time.toString(QStringLiteral("HH:mm:ss ")) + row.text;
        };
        QCOMPARE(show(r.rows[0]), row0);
        QCOMPARE(show(r.rows[9]), row9);
        QCOMPARE(!r.problem.isEmpty(), problem);
        // What is written reads back the same.
        QCOMPARE(SkedFile::parse(QString::fromUtf8(SkedFile::compose(r.rows)), before).rows, r.rows);
        QCOMPARE(SkedFile::compose(r.rows).count("\r\n"), 30);
    }

    // Two rows in one second: two boxes in row order, each once, none from
    // a tick while a box is open; the later row's lamp is the lit one.
    void windowFiresEachRowOnce()
    {
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        FakeClock clock(QStringLiteral("01.03.2024 09:59:58"));
        createWindowSet();
        setRow(0, QStringLiteral("01.03.2024"), QStringLiteral("10:00:00"), QStringLiteral("first"));
        setRow(1, QStringLiteral("01.03.2024"), QStringLiteral("10:00:00"), QString());
        setRow(2, QStringLiteral("02.03.2024"), QStringLiteral("10:00:00"), QStringLiteral("tomorrow"));
        dialogs.onShow = [&](const Ui::ScriptedDialogs::Shown &) { clock.tick(QStringLiteral("01.03.2024 10:00:01")); };
        clock.tick(QStringLiteral("01.03.2024 09:59:59"));
        QVERIFY(dialogs.shown.isEmpty());
        QVERIFY(!FSkeds->AbLED[0]->isChecked());
        QVERIFY(FSkeds->AbLED[1]->isChecked());
        QVERIFY(!FSkeds->AbLED[2]->isChecked());
        clock.tick(QStringLiteral("01.03.2024 10:00:03")); // ticks skipped past the moment
        dialogs.onShow = nullptr;
        clock.tick(QStringLiteral("01.03.2024 10:00:04"));
        clock.tick(QStringLiteral("01.03.2024 10:30:00"));
        QCOMPARE(dialogs.informations(), (QStringList{QStringLiteral("SKED !!!    first"), QStringLiteral("SKED !!!    ")}));
    }

    // Without "Sked.tnr" the rows nobody set fire at no midnight, even with
    // the clock set back across one (the machine's own date included); a
    // row set without a text still fires.
    void windowUnsetRowsNeverFire()
    {
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        const QString today = QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy "));
        const QString yesterday = QDate::currentDate().addDays(-1).toString(QStringLiteral("dd.MM.yyyy "));
        const QDate tomorrow = QDate::currentDate().addDays(1);
        FakeClock clock(today + "10:00:00");
        createWindowSet();
        setRow(9, tomorrow.toString(QStringLiteral("dd.MM.yyyy")), QStringLiteral("00:00:00"), QString());
        for (const QString &now : {today + "10:00:01", yesterday + "23:59:59", today + "00:00:01", today + "23:59:59"})
            clock.tick(now);
        QVERIFY(dialogs.shown.isEmpty());
        QVERIFY(std::none_of(FSkeds->AbLED.cbegin(), FSkeds->AbLED.cend(), [](auto *lamp) { return lamp->isChecked(); }));
        clock.tick(tomorrow.toString(QStringLiteral("dd.MM.yyyy ")) + "00:00:00");
        QCOMPARE(dialogs.informations(), QStringList{QStringLiteral("SKED !!!    ")});
    }

    // The close writes the rows; a bad line read back spares the later rows.
    void windowFile()
    {
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        FakeClock clock(QStringLiteral("01.03.2024 09:00:00"));
        createWindowSet();
        setRow(0, QStringLiteral("01.03.2024"), QStringLiteral("10:00:00"), QStringLiteral("first"));
        setRow(9, QStringLiteral("09.03.2024"), QStringLiteral("11:00:00"), QStringLiteral("last"));
        FSkeds->closeWindow();
        QFile file(program.path(QStringLiteral("Sked.tnr")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray bytes = file.readAll();
        file.close();
        QVERIFY(bytes.startsWith("01.03.2024\r\n10:00:00\r\nfirst\r\n"));
        bytes.replace("01.03.2024", "1 March");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        FSkeds->Edit[9]->setText(QStringLiteral("typed"));
        FSkeds->FormActivate();
        QCOMPARE(dialogs.errors().size(), 1);
        QCOMPARE(FSkeds->Edit[0]->text(), QStringLiteral("first"));
        QCOMPARE(FSkeds->Edit[9]->text(), QStringLiteral("last"));
        QCOMPARE(FSkeds->DateEdit[9]->date(), QDate(2024, 3, 9));
    }
};

QTEST_MAIN(TestSchedules)
#include "TestSchedules.moc"
