#include "KeyerFakes.h"

#include "station/KeyerEngine.h"
#include "station/KeyerSettings.h"

#include <QtTest>

namespace {

struct TextBuffer : Keyer::Buffer {
    QString line;
    QStringList typeAhead;
    QString sendLine() const override { return line; }
    void setSendLine(const QString &text) override { line = text; }
    QString takeLine() override { return typeAhead.isEmpty() ? QString() : typeAhead.takeFirst(); }
    bool typeAheadEmpty() const override { return typeAhead.isEmpty(); }
};

// Runs the sender as the letter-gap timer would, to the end of the text.
QString timeline(const QString &text, int speed, Keyer::Stop *last = nullptr)
{
    FakeClock clock;
    TimelineLine line(clock);
    TextBuffer buffer;
    buffer.line = text;
    int step = 0;
    for (;;) {
        const Keyer::RunResult r = Keyer::send(buffer, step, speed, line, clock);
        if (r.stop != Keyer::Stop::LetterGap) {
            if (last)
                *last = r.stop;
            break;
        }
        line.events << QStringLiteral("G%1").arg(r.gapMs);
        clock.now += r.gapMs;
    }
    return line.events.join(u' ');
}

} // namespace

class TestKeyerRules : public QObject {
    Q_OBJECT

private slots:
    void dotLengths_data()
    {
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("dot");
        QTest::newRow("30") << 30 << 200;
        QTest::newRow("120") << 120 << 50;
        QTest::newRow("160 ties to even") << 160 << 38;
        QTest::newRow("400") << 400 << 15;
        QTest::newRow("0 counts as 30") << 0 << 200;
        QTest::newRow("above the range") << 1000 << 15;
    }
    void dotLengths()
    {
        QFETCH(int, speed);
        QFETCH(int, dot);
        QCOMPARE(Keyer::dotLength(speed), dot);
    }

    void timelines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("E") << "E" << "D0 U50 G150";
        QTest::newRow("A") << "A" << "D0 U50 D100 U250 G150";
        QTest::newRow("A B: nine dots between words")
            << "A B" << "D0 U50 D100 U250 G150 U400 G150 U550 G150 D700 U850 D900 U950 D1000 U1050 D1100 U1150 G150";
        QTest::newRow("E.E: the full stop is dropped") << "E.E" << "D0 U50 G150 D200 U250 G150";
        QTest::newRow("x keys as X") << "x" << "D0 U150 D200 U250 D300 U350 D400 U550 G150";
        QTest::newRow("backslash keys as slash") << "\\" << "D0 U150 D200 U250 D300 U350 D400 U550 D600 U650 G150";
        QTest::newRow("paddle marks: element gap only") << "#&" << "D0 U50 D100 U250";
        QTest::newRow("tag brackets dropped") << "<E>" << "D0 U50 G150";
        QTest::newRow("comma and ! share a code") << ",!" << timeline(",,", 120);
    }
    void timelines()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(timeline(text, 120), expected);
    }

    void stopsAtRxTag()
    {
        Keyer::Stop stop = Keyer::Stop::Empty;
        QCOMPARE(timeline("E<RX>E", 120, &stop), QStringLiteral("D0 U50 G150"));
        QCOMPARE(stop, Keyer::Stop::Rx);
    }

    void typeAheadFeedsTheSendLine()
    {
        FakeClock clock;
        TimelineLine line(clock);
        TextBuffer buffer;
        buffer.typeAhead = {"", "T"};
        int step = 0;
        QCOMPARE(Keyer::send(buffer, step, 120, line, clock).stop, Keyer::Stop::LetterGap);
        QCOMPARE(line.events.join(u' '), QStringLiteral("D0 U150"));
        QCOMPARE(Keyer::send(buffer, step, 120, line, clock).stop, Keyer::Stop::Empty);
    }

    void refusedLineStops()
    {
        FakeClock clock;
        TimelineLine line(clock);
        line.refuse = true;
        TextBuffer buffer;
        buffer.line = "E";
        int step = 0;
        QCOMPARE(Keyer::send(buffer, step, 120, line, clock).stop, Keyer::Stop::Refused);
    }

    void paddle_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("expected");
        QTest::newRow("dot paddle 0x5F") << 0x5F << "D0 U50";
        QTest::newRow("dash paddle 0x6F") << 0x6F << "D0 U150";
        QTest::newRow("idle 0x7F") << 0x7F << "";
        QTest::newRow("both paddles 0x4F") << 0x4F << "";
    }
    void paddle()
    {
        QFETCH(int, status);
        QFETCH(QString, expected);
        FakeClock clock;
        TimelineLine line(clock);
        const QChar mark = Keyer::paddleMark(status);
        QString marks = mark.isNull() ? QString() : QString(mark);
        int step = 0;
        QVERIFY(Keyer::sendPaddle(marks, step, 120, line, clock));
        QCOMPARE(line.events.join(u' '), expected);
        QCOMPARE(clock.now, expected.isEmpty() ? 0 : (status == 0x5F ? 100 : 200));
    }

    void macros_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expanded");
        QTest::addColumn<bool>("clear");
        QTest::addColumn<bool>("transmit");
        QTest::newRow("fields") << "<CALL> <RSTTX> <RSTRX> <NAME> <IDTX> <IDRX>" << "K1AB 599 579 Bob 001 017"
                                << false << false;
        QTest::newRow("fourth CALL stays") << "<CALL><CALL><CALL><CALL>" << "K1ABK1ABK1AB<CALL>" << false << false;
        QTest::newRow("third RSTRX stays") << "<RSTRX><RSTRX><RSTRX>" << "579579<RSTRX>" << false << false;
        QTest::newRow("CL TX RX") << "<CL><TX> QA1ZZ<RX>" << " QA1ZZ<RX>" << true << true;
        QTest::newRow("second CL stays") << "<CL>a<CL>" << "a<CL>" << true << false;
    }
    void macros()
    {
        QFETCH(QString, text);
        QFETCH(QString, expanded);
        QFETCH(bool, clear);
        QFETCH(bool, transmit);
        const Keyer::Macro m = Keyer::expandMacro(text, {"K1AB", "599", "579", "Bob", "001", "017"});
        QCOMPARE(m.text, expanded);
        QCOMPARE(m.clear, clear);
        QCOMPARE(m.transmit, transmit);
    }

    void fourthCallIsKeyedAsLetters()
    {
        const Keyer::Macro m = Keyer::expandMacro("<CALL><CALL><CALL><CALL>", {"E", "", "", "", "", ""});
        QCOMPARE(timeline(m.text, 120), timeline("EEECALL", 120));
    }

    // ---- Cw_Conf.tnr
    void defaultFile()
    {
        const QByteArray golden =
            "CQ\r\nde QA1 rx\r\nde QA1ZZ\r\nGD dr om\r\nRST\r\nName\r\nQTH\r\nEnd\r\nHW?\r\n SK\r\nAparat\r\nWX\r\n"
            "OK dr om\r\nConTest\r\nQA1ZZ\r\n"
            "CQ CQ CQ de QA1ZZ QA1ZZ CQ CQ de QA1ZZ QA1ZZ pse k<RX><CL>\r\n<CALL> de QA1ZZ QA1ZZ k<RX>\r\n"
            " <CALL> de QA1ZZ\r\n GD DR OM <NAME>\r\n UR RST <RSTTX> <RSTTX>\r\n My name is \r\n My QTH is \r\n"
            " Tnx for QSO DR OM <NAME> my QSL sure Best 73 GL GB\r\n HW ?\r\n SK<RX>\r\n"
            " My TRX is R399 PWR 100 wtts ANT T2FD 20m long\r\n WX is fine plus 25 C\r\n OK DR OM <NAME>\r\n"
            "<IDTX> <IDRX>\r\n<CL><TX> QA1ZZ QA1ZZ<RX>\r\n"
            "0\r\n200\r\n1500\r\nTrue\r\nTrue\r\n120\r\n";
        const QByteArray written = KeyerSettings::compose(KeyerSettings::defaults());
        QCOMPARE(written, golden);
        QCOMPARE(written.count("\r\n"), KeyerSettings::lineCount);
    }

    void roundTrip()
    {
        KeyerSettings::Settings s = KeyerSettings::defaults();
        s.texts[4] = "  two leading blanks";
        s.port = 6;
        s.lead = 998;
        s.stop = 32000;
        s.rxOnBufferFree = false;
        s.speed = 400;
        const KeyerSettings::Reading r =
            KeyerSettings::parse(QString::fromUtf8(KeyerSettings::compose(s)), KeyerSettings::defaults());
        QVERIFY(r.problem.isEmpty());
        QCOMPARE(KeyerSettings::compose(r.settings), KeyerSettings::compose(s));
    }

    void numberLines_data()
    {
        QTest::addColumn<QStringList>("tail"); // lines 31 to 36
        QTest::addColumn<QString>("expected"); // port lead stop box1 box2 speed
        QTest::addColumn<bool>("problem");
        QTest::newRow("speed 0 gives 30") << QStringList{"1", "200", "1500", "True", "True", "0"} << "1 200 1500 1 1 30" << false;
        QTest::newRow("port out of range is None") << QStringList{"9", "200", "1500", "True", "True", "120"} << "0 200 1500 1 1 120" << false;
        QTest::newRow("clamped") << QStringList{"2", "5000", "40000", "true", "", "999"} << "2 999 32000 0 0 400" << false;
        QTest::newRow("bad lead stops the reading")
            << QStringList{"3", "x", "100", "False", "False", "60"} << "3 5 7 1 1 90" << true;
        QTest::newRow("missing lines") << QStringList{} << "4 5 7 1 1 90" << true;
    }
    void numberLines()
    {
        QFETCH(QStringList, tail);
        QFETCH(QString, expected);
        QFETCH(bool, problem);
        KeyerSettings::Settings current = KeyerSettings::defaults();
        current.port = 4;
        current.lead = 5;
        current.stop = 7;
        current.speed = 90;
        QStringList lines;
        for (int i = 0; i < 30; ++i)
            lines << QString::number(i);
        const auto r = KeyerSettings::parse((lines + tail).join("\r\n"), current);
        const auto &s = r.settings;
        QCOMPARE(QStringLiteral("%1 %2 %3 %4 %5 %6")
                     .arg(s.port).arg(s.lead).arg(s.stop).arg(int(s.rxOnBufferFree)).arg(int(s.onKeyPress)).arg(s.speed),
                 expected);
        QCOMPARE(!r.problem.isEmpty(), problem);
        QCOMPARE(s.texts[14], QStringLiteral("29"));
    }

    void arrows_data()
    {
        QTest::addColumn<int>("which"); // 0 lead, 1 stop, 2 speed
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("to");
        QTest::newRow("lead up") << 0 << 200 << 1 << 202;
        QTest::newRow("lead stops at 999") << 0 << 998 << 1 << 999;
        QTest::newRow("lead stops at 0") << 0 << 1 << -1 << 0;
        QTest::newRow("stop wraps up") << 1 << 31990 << 1 << 1;
        QTest::newRow("stop wraps down") << 1 << 20 << -1 << 32000;
        QTest::newRow("speed stops at 400") << 2 << 400 << 1 << 400;
    }
    void arrows()
    {
        QFETCH(int, which);
        QFETCH(int, from);
        QFETCH(int, direction);
        QFETCH(int, to);
        const KeyerSettings::Range ranges[] = {KeyerSettings::leadRange, KeyerSettings::stopRange,
                                               KeyerSettings::speedRange};
        QCOMPARE(ranges[which].stepped(from, direction), to);
    }
};

QTEST_MAIN(TestKeyerRules)
#include "TestKeyerRules.moc"
