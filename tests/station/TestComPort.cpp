#include "ComFakes.h"

#include "platform/ui/Dialogs.h"
#include "station/CPort.h"
#include "station/CPortTermios.h"

#include <QElapsedTimer>
#include <QTemporaryFile>
#include <QtTest>
#include <fcntl.h>
#include <unistd.h>

namespace {

// A pseudo-terminal pair: the port opens the slave, the test plays the line.
struct Pty {
    Pty()
    {
        master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        ::grantpt(master);
        ::unlockpt(master);
        slave = QString::fromLocal8Bit(::ptsname(master));
    }
    ~Pty() { hangUp(); }
    void write(const char *bytes) const { QVERIFY(::write(master, bytes, strlen(bytes)) > 0); }
    void hangUp()
    {
        if (master >= 0)
            ::close(master);
        master = -1;
    }
    int master = -1;
    QString slave;
};

int errorCode(const std::function<void()> &f, int *system = nullptr)
{
    try {
        f();
    } catch (const EComPort &e) {
        if (system)
            *system = e.SystemErrorCode;
        return e.PortErrorCode;
    }
    return 0;
}

} // namespace

Q_DECLARE_METATYPE(std::function<void(TComPort &)>)

class TestComPort : public QObject {
    Q_OBJECT

private slots:
    void termiosMapping_data()
    {
        QTest::addColumn<std::function<void(TComPort &)>>("setUp");
        QTest::addColumn<uint>("set");
        QTest::addColumn<uint>("clear");
        QTest::addColumn<uint>("iflag");
        QTest::addColumn<bool>("custom");
        using F = std::function<void(TComPort &)>;
        const uint always = CLOCAL | CREAD | HUPCL;
        QTest::newRow("new: 9600 8N1") << F([](TComPort &) {}) << uint(always | CS8 | B9600)
                                       << uint(PARENB | CSTOPB | CRTSCTS) << 0u << false;
        QTest::newRow("7E2") << F([](TComPort &p) {
            p.setDataBits(dbSeven);
            p.Parity().setBits(prEven);
            p.setStopBits(sbTwoStopBits);
        }) << uint(CS7 | PARENB | CSTOPB) << uint(PARODD | CMSPAR) << 0u << false;
        QTest::newRow("5O1.5 checked") << F([](TComPort &p) {
            p.setDataBits(dbFive);
            p.Parity().setBits(prOdd);
            p.Parity().setCheck(true);
            p.setStopBits(sbOne5StopBits);
        }) << uint(CS5 | PARENB | PARODD | CSTOPB) << uint(CMSPAR) << uint(INPCK) << false;
        QTest::newRow("mark") << F([](TComPort &p) { p.Parity().setBits(prMark); })
                              << uint(PARENB | PARODD | CMSPAR) << 0u << 0u << false;
        QTest::newRow("space") << F([](TComPort &p) { p.Parity().setBits(prSpace); }) << uint(PARENB | CMSPAR)
                               << uint(PARODD) << 0u << false;
        QTest::newRow("hardware flow") << F([](TComPort &p) { p.FlowControl().setFlowControl(fcHardware); })
                                       << uint(CRTSCTS) << 0u << 0u << false;
        QTest::newRow("software flow") << F([](TComPort &p) { p.FlowControl().setFlowControl(fcSoftware); })
                                       << 0u << uint(CRTSCTS) << uint(IXON | IXOFF) << false;
        QTest::newRow("115200") << F([](TComPort &p) { p.setBaudRate(br115200); }) << uint(B115200) << 0u << 0u
                                << false;
        QTest::newRow("14400 through termios2") << F([](TComPort &p) { p.setBaudRate(br14400); }) << 0u << 0u << 0u
                                                << true;
        QTest::newRow("custom 9600 is standard")
            << F([](TComPort &p) { p.setBaudRate(brCustom); }) << uint(B9600) << 0u << 0u << false;
    }
    void termiosMapping()
    {
        QFETCH(std::function<void(TComPort &)>, setUp);
        QFETCH(uint, set);
        QFETCH(uint, clear);
        QFETCH(uint, iflag);
        QFETCH(bool, custom);
        TComPort port;
        setUp(port); // closed: only stored
        termios t {};
        QCOMPARE(toTermios(port.lineSettings(), t), custom);
        QCOMPARE(uint(t.c_cflag) & set, set);
        QCOMPARE(uint(t.c_cflag) & clear, 0u);
        QCOMPARE(uint(t.c_iflag), iflag);
        QCOMPARE(uint(t.c_lflag), 0u);
        QCOMPARE(int(t.c_cc[VSTART]), 17);
        QCOMPARE(int(t.c_cc[VSTOP]), 19);
    }

    void storedSettings()
    {
        TComPort port;
        QCOMPARE(port.FlowControl().FlowControl(), fcNone);
        port.Buffer().setInputSize(1025);
        QCOMPARE(port.Buffer().InputSize(), 1024);
        port.FlowControl().setControlDTR(dtrHandshake); // stored; Linux has no DTR handshake
        QCOMPARE(port.FlowControl().ControlDTR(), dtrHandshake);
        port.FlowControl().setControlRTS(rtsEnable);
        QCOMPARE(port.FlowControl().FlowControl(), fcCustom);
    }

    void devicePaths()
    {
        QCOMPARE(comDevicePath("COM2"), QStringLiteral("/dev/ttyS1"));
        QCOMPARE(comDevicePath("/dev/ttyUSB0"), QStringLiteral("/dev/ttyUSB0"));
        qputenv("TARNEL_COM2", "/dev/ttyUSB3");
        QCOMPARE(comDevicePath("COM2"), QStringLiteral("/dev/ttyUSB3"));
        qunsetenv("TARNEL_COM2");
    }

    void openErrors()
    {
        TComPort port;
        port.setPort("/nonexistent/tty");
        int system = 0;
        try {
            port.Open();
            QFAIL("opened");
        } catch (const EComPort &e) {
            QCOMPARE(e.PortErrorCode, 1);
            QCOMPARE(e.SystemErrorCode, 2);
            QCOMPARE(QString::fromLocal8Bit(e.what()), QStringLiteral("Unable to open com port (win error code: 2)"));
        }
        QVERIFY(!port.Connected());
        QTemporaryFile plain;
        QVERIFY(plain.open());
        port.setPort(plain.fileName());
        QCOMPARE(errorCode([&] { port.Open(); }, &system), 1);
        QCOMPARE(system, ENOTTY); // only terminals are ports
        QCOMPARE(EComPort::messageFor(14, -1), QStringLiteral("Cannot set property while connected"));
    }

    void ptyOpenReadAndHangUp()
    {
        Pty pty;
        TComPort port;
        port.setPort(pty.slave);
        QList<int> counts;
        port.OnRxChar = [&](QObject *, int count) { counts << count; };
        port.Open();
        QVERIFY(port.Connected());
        QCOMPARE(errorCode([&] { port.setSyncMethod(smNone); }), 14);

        pty.write("abc");
        QTRY_COMPARE(counts, QList<int>{3});
        QTest::qWait(100); // unread bytes are no news
        QCOMPARE(counts, QList<int>{3});
        pty.write("de");
        QTRY_COMPARE(counts, (QList<int>{3, 5}));

        char buffer[16] = {};
        QCOMPARE(port.ReadBytes(buffer, 16), 5); // interval -1, totals 0: what is waiting, at once
        QCOMPARE(QByteArray(buffer, 5), QByteArray("abcde"));
        port.Timeouts().setReadInterval(0);
        port.Timeouts().setReadTotalConstant(80);
        pty.write("f");
        QElapsedTimer waited;
        waited.start();
        QCOMPARE(port.ReadBytes(buffer, 4), 1);
        QVERIFY(waited.elapsed() >= 70);

        pty.hangUp();
        QTest::qWait(100);
        errorCode([&] { port.Close(); }); // a purge on a hung-up line may fail after closing
        QVERIFY(!port.Connected());
    }

    void linesThroughTheModemCalls()
    {
        FakeComPorts fake;
        TComPort port;
        port.setEvents(0);
        port.Open();
        QCOMPARE(fake.state.takeCalls(), (QStringList{"lower DTR RTS", "configure"}));
        port.FlowControl().setControlDTR(dtrEnable);
        QCOMPARE(fake.state.takeCalls(), QStringList{"raise DTR"});
        fake.state.failModem = EIO;
        int system = 0;
        QCOMPARE(errorCode([&] { port.FlowControl().setControlRTS(rtsEnable); }, &system), 7);
        QCOMPARE(system, EIO);
        QCOMPARE(port.FlowControl().ControlRTS(), rtsDisable); // a retry tries again
        fake.state.failModem = 0;
        port.setPort("COM3");
        QCOMPARE(fake.state.paths.last(), QStringLiteral("/dev/ttyS2"));
        QVERIFY(port.Connected());
    }

    // A handler that closes the port ends the event step: the line
    // changes of the same step find no device.
    void handlerClosesThePort()
    {
        FakeComPorts fake;
        TComPort port;
        bool closed = false;
        port.OnRxChar = [&](QObject *, int) {
            port.Close();
            closed = true;
        };
        port.Open();
        QThread::msleep(50); // the event thread has read the lines as they were
        {
            std::lock_guard lock(fake.state.mutex);
            fake.state.waitingBytes = 1;
            fake.state.lines |= mlCTS;
        }
        QTRY_VERIFY(closed);
        QVERIFY(!port.Connected());
    }

    // Without hand-over the handlers run on the event thread: an error
    // there opens no window.
    void handlerErrorOnTheEventThread()
    {
        Ui::ScriptedDialogs dialogs;
        FakeComPorts fake;
        TComPort port;
        port.setSyncMethod(smNone);
        std::atomic<int> raised = 0;
        port.OnRxChar = [&](QObject *, int) {
            ++raised;
            throw std::runtime_error("handler failed");
        };
        port.Open();
        {
            std::lock_guard lock(fake.state.mutex);
            fake.state.waitingBytes = 1;
        }
        QTRY_COMPARE(raised.load(), 1);
        port.Close();
        QVERIFY(dialogs.shown.isEmpty());
    }

    void closeDuringPendingHandOver()
    {
        FakeComPorts fake;
        TComPort port;
        int raised = 0;
        port.OnCTSChange = [&](QObject *, bool on) { raised += on; };
        port.Open();
        {
            std::lock_guard lock(fake.state.mutex);
            fake.state.lines |= mlCTS;
        }
        QThread::msleep(100); // the thread now waits for this thread to take the event
        QElapsedTimer closing;
        closing.start();
        port.Close();
        QVERIFY(closing.elapsed() < 1000);
        QCoreApplication::processEvents();
        QCOMPARE(raised, 0); // the abandoned step never runs
    }
};

QTEST_MAIN(TestComPort)
#include "TestComPort.moc"
