#include "ComFakes.h"
#include "KeyerFakes.h"
#include "core/ProgramFixture.h"

#include "core/GlavnMod.h"
#include "core/Unit3.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "station/SmallPort.h"
#include "station/UCw.h"
#include "station/UPtt.h"

namespace {

enum { None = 0, Com1 = 1, Com2 = 2, Lpt1 = 5 };

// Parallel ports whose data writes are written down with the fake clock's time.
class FakeParallelPorts {
public:
    explicit FakeParallelPorts(FakeClock &clock) : clock_(clock)
    {
        previous_ = setParallelOpener([this](const QString &path, int &error) -> std::unique_ptr<ParallelDevice> {
            if (failOpen) {
                error = failOpen;
                return nullptr;
            }
            opened << path;
            return std::make_unique<Device>(*this);
        });
    }
    ~FakeParallelPorts() { setParallelOpener(previous_); }
    FakeParallelPorts(const FakeParallelPorts &) = delete;
    FakeParallelPorts &operator=(const FakeParallelPorts &) = delete;

    QString timeline() const { return writes.join(u' '); }
    QStringList writes;
    QStringList opened;
    int released = 0;
    int status = 0x7F;
    int failOpen = 0;
    int failStatus = 0;

private:
    struct Device : ParallelDevice {
        explicit Device(FakeParallelPorts &p) : p(p) {}
        ~Device() override { ++p.released; }
        int readStatus(unsigned char &value) override
        {
            value = static_cast<unsigned char>(p.status);
            return p.failStatus;
        }
        int readData(unsigned char &) override { return 0; }
        int writeData(unsigned char value) override
        {
            const QString v = QString::number(value);
            if (p.writes.isEmpty() || !p.writes.back().startsWith(v + u'@'))
                p.writes << v + u'@' + QString::number(p.clock_.now);
            return 0;
        }
        FakeParallelPorts &p;
    };
    FakeClock &clock_;
    ParallelOpener previous_;
};

} // namespace

class TestKeyer : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFixture> program_;
    std::unique_ptr<Ui::ScriptedDialogs> dialogs_;
    std::unique_ptr<FakeComPorts> com_;
    std::unique_ptr<FakeParallelPorts> lpt_;
    FakeClock clock_;

    void choose(int port)
    {
        FPtt->RadioGroup1->setItemIndex(port);
    }
    // The letter-gap timer's ticks, each after its interval.
    void runGaps()
    {
        while (FCW->Timer1->isActive()) {
            clock_.now += FCW->Timer1->interval();
            FCW->Timer1Timer();
        }
    }
    void transmit(const QString &text)
    {
        FCW->EditTx->setText(text);
        FCW->TxAllowed = true;
        FCW->BitBtnTxClick();
    }
    QStringList fileLines() const
    {
        QFile f(program_->path("Cw_Conf.tnr"));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split("\r\n");
    }

private slots:
    void init()
    {
        program_ = std::make_unique<ProgramFixture>();
        dialogs_ = std::make_unique<Ui::ScriptedDialogs>();
        com_ = std::make_unique<FakeComPorts>();
        clock_.now = 0;
        lpt_ = std::make_unique<FakeParallelPorts>(clock_);
        createWindowSet();
        FCW->setClock(&clock_);
        FCW->Timer3->stop();
    }
    void cleanup()
    {
        destroyWindowSet();
        lpt_.reset();
        com_.reset();
        dialogs_.reset();
        program_.reset();
    }

    void comLineOrder()
    {
        choose(Com2);
        transmit("E");
        QCOMPARE(com_->state.paths, QStringList{"/dev/ttyS1"});
        QCOMPARE(clock_.now, 250); // lead time, then the dot
        QCOMPARE(com_->state.takeCalls(),
                 (QStringList{"lower DTR RTS", "configure", "raise DTR", "raise RTS", "lower RTS"}));
        QVERIFY(FCW->Timer1->isActive());
        runGaps();
        QCOMPARE(FCW->Timer2->interval(), 1500);
        FCW->Timer2Timer();
        QCOMPARE(com_->state.takeCalls(), QStringList{"lower DTR"});
        QVERIFY(FCW->ComPort1->Connected());
        QCOMPARE(Ui::fontColor(FCW->BitBtnTx), TFCW::maroon);
    }

    void pauseResumesWithoutLeadTime()
    {
        choose(Lpt1);
        transmit("E A");
        clock_.now += 150;
        FCW->Timer1Timer(); // the first of the word space's gaps
        FCW->BitBtn2Click();
        QCOMPARE(Ui::fontColor(FCW->BitBtn2), TFCW::red);
        QVERIFY(!FCW->Timer1->isActive());
        QCOMPARE(FCW->ElementStep, 1);
        clock_.now += 1000; // paused for a second
        FCW->BitBtnTxMouseUp();
        FCW->BitBtnTxClick();
        runGaps();
        QCOMPARE(lpt_->timeline(), QStringLiteral("2@0 3@200 2@250 3@1550 2@1600 3@1650 2@1800"));
        QCOMPARE(lpt_->opened, QStringList{"/dev/parport0"});
    }

    // Typed text stays in its box and is keyed with its gaps whole; a click
    // on a button leaves the keyboard in the box too.
    void typingKeepsItsBoxAndItsGaps()
    {
        choose(Lpt1);
        FPtt->CheckBox2->setChecked(true); // "On key press"
        FCW->showWindow();
        QVERIFY(QTest::qWaitForWindowActive(FCW));
        FCW->Memo1->setFocus();
        QTest::keyClicks(FCW->Memo1, "E T");
        QCOMPARE(QApplication::focusWidget(), FCW->Memo1);
        runGaps();
        // E, the word space (9 dots from the end of E), T.
        QCOMPARE(lpt_->timeline(), QStringLiteral("2@0 3@200 2@250 3@700 2@850"));
        QVERIFY(FCW->Timer2->isActive());
        FCW->Timer2Timer();
        QTest::keyClicks(FCW->Memo1, "E");
        QTest::mouseClick(FCW->BitBtn2, Qt::LeftButton);
        QCOMPARE(Ui::fontColor(FCW->BitBtn2), TFCW::red);
        QCOMPARE(QApplication::focusWidget(), FCW->Memo1);
    }

    void macroClearsKeysAndReturnsAtRx()
    {
        choose(Lpt1);
        FCW->Memo1->setPlainText("waiting");
        FCW->EditTx->setText("old");
        FPtt->EditT[14]->setText("<CL><TX>EE<RX>");
        FCW->MacroClick(15);
        runGaps();
        QCOMPARE(lpt_->timeline(), QStringLiteral("2@0 3@200 2@250 3@400 2@450 0@600"));
        QVERIFY(!FCW->Timer2->isActive()); // no stop delay
        QVERIFY(FCW->EditTx->text().isEmpty());
        QVERIFY(FCW->Memo1->toPlainText().isEmpty());
    }

    void macroFieldsAndMainWindowSend()
    {
        choose(Lpt1);
        Form3->MaskEditCall->setText("T");
        FCW->MacroText = "<CALL>";
        FCW->Button1Click();
        QCOMPARE(FCW->Memo1->toPlainText(), QStringLiteral("T"));
        QVERIFY(lpt_->writes.isEmpty()); // without <TX> it only waits
        FCW->sendFromMainWindow("E");
        QVERIFY(FCW->isVisible());
        runGaps();
        QCOMPARE(lpt_->timeline(), QStringLiteral("2@0 3@200 2@250 3@400 2@550"));
    }

    void paddle_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("expected");
        QTest::newRow("dot") << 0x5F << "2@0 3@200 2@250";
        QTest::newRow("dash") << 0x6F << "2@0 3@200 2@350";
        QTest::newRow("both") << 0x4F << "";
    }
    void paddle()
    {
        QFETCH(int, status);
        QFETCH(QString, expected);
        choose(Lpt1);
        lpt_->status = status;
        FCW->Timer3Timer();
        QCOMPARE(lpt_->timeline(), expected);
        QCOMPARE(FCW->Button2->text(), expected.isEmpty() ? QStringLiteral("Button2") : QStringLiteral("Red"));
        QCOMPARE(FCW->Timer3->interval(), 50);
    }

    void portErrors_data()
    {
        QTest::addColumn<int>("where"); // 0 transmission start, 1 RX, 2 paddle poll
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("fileLine31");
        QTest::newRow("start") << 0 << "Com Port Error ! NT System!" << "";
        QTest::newRow("rx") << 1 << "COM Port Error ! NT System!" << "0";
        QTest::newRow("paddle poll") << 2 << "LPT Port Error ! NT System!" << "0";
    }
    void portErrors()
    {
        QFETCH(int, where);
        QFETCH(QString, message);
        QFETCH(QString, fileLine31);
        if (where == 0) {
            choose(Lpt1);
            lpt_->failOpen = ENOENT; // no parallel port here
            transmit("E");
        } else if (where == 1) {
            choose(Com1);
            transmit("E");
            com_->state.failModem = EIO;
            FCW->BitBtn1Click();
        } else {
            choose(Lpt1);
            lpt_->failStatus = EIO;
            FCW->Timer3Timer();
        }
        QCOMPARE(dialogs_->warnings(), QStringList{message});
        QCOMPARE(FPtt->RadioGroup1->itemIndex(), None);
        QVERIFY(!Form3->CW1->isEnabled());
        QVERIFY(FCW->Timer3->isActive());
        QCOMPARE(fileLines().value(30), fileLine31);
        FCW->BitBtn1Click(); // port None now
        QCOMPARE(FCW->EditTx->text(), QStringLiteral("Pleas, change PORT"));
    }

    // A transmission started on another port puts the one latched before
    // to receive: the paddle's parallel port, or the serial port still
    // sending when the paddle takes over.
    void newPortReleasesTheLatchedOne_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::newRow("paddle, then TX on serial") << int(Lpt1) << int(Com1);
        QTest::newRow("TX on serial, then paddle") << int(Com1) << int(Lpt1);
    }
    void newPortReleasesTheLatchedOne()
    {
        QFETCH(int, first);
        QFETCH(int, second);
        auto start = [this](int port) {
            choose(port);
            if (port == Lpt1) {
                lpt_->status = 0x5F; // a dot on the paddle
                FCW->Timer3Timer();
                lpt_->status = 0x7F;
            } else {
                transmit("E E"); // still sending: the gap timer runs
            }
        };
        start(first);
        start(second);
        if (first == Lpt1)
            QVERIFY2(lpt_->writes.back().startsWith("0@"), qPrintable(lpt_->timeline()));
        else
            QCOMPARE(com_->state.lines, 0);
    }

    void exitLowersTheLines_data()
    {
        QTest::addColumn<int>("port");
        QTest::newRow("parallel") << int(Lpt1);
        QTest::newRow("serial") << int(Com1);
    }
    void exitLowersTheLines()
    {
        QFETCH(int, port);
        choose(port);
        transmit("E");
        com_->state.takeCalls();
        Form3->close();
        if (port == Lpt1) {
            QVERIFY(lpt_->timeline().endsWith(" 0@250"));
            QCOMPARE(lpt_->released, 1);
        } else {
            QCOMPARE(com_->state.takeCalls(), QStringList{"lower DTR"});
        }
    }

    void parallelComponent()
    {
        TSmallPort port;
        QCOMPARE(port.ReadPort(0x379), 0);
        QCOMPARE(port.LastError(), 6); // closed
        port.setOpened(true);
        lpt_->status = 0x5F;
        QCOMPARE(port.ReadPort(0x279), 0x5F);
        QVERIFY(port.LastOK());
        QCOMPARE(lpt_->opened, QStringList{"/dev/parport1"}); // claimed at first access
        port.WritePort(0x279, 1);
        QVERIFY(!port.LastOK()); // the status register is read-only
        port.Release(2);
        QCOMPARE(lpt_->released, 1);
        qputenv("TARNEL_LPT1", "/dev/parport7");
        port.WritePort(0x378, 2);
        qunsetenv("TARNEL_LPT1");
        QCOMPARE(lpt_->opened.last(), QStringLiteral("/dev/parport7"));
        lpt_->failOpen = EACCES;
        QCOMPARE(port.ReadPort(0x279), 0);
        QCOMPARE(port.LastError(), EACCES);
    }

    void settingsWindow()
    {
        FPtt->EditN[0]->setText("Hello");
        FPtt->CheckBox1->setChecked(false);
        FCW->UpDown1->click(1);
        FPtt->Button1Click();
        QCOMPARE(FCW->MacroButtons[0]->text(), QStringLiteral("Hello"));
        const QStringList lines = fileLines();
        QCOMPARE(lines.size(), 37); // 36 lines, each ending in CR LF
        QCOMPARE(lines[0], QStringLiteral("Hello"));
        QCOMPARE(lines[33], QStringLiteral("False"));
        QCOMPARE(lines[35], QStringLiteral("125"));
        // Read back at the next start.
        destroyWindowSet();
        createWindowSet();
        QCOMPARE(FPtt->EditN[0]->text(), QStringLiteral("Hello"));
        QVERIFY(!FPtt->CheckBox1->isChecked());
        QCOMPARE(FCW->EditSp->text(), QStringLiteral("125"));
    }

    void defaultMacrosSpeakForTheStation()
    {
        destroyWindowSet();
        QFile ini(program_->path("Tarnel.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[General]\r\nMyCall=DL9NEW\r\nMyName=Hans\r\nMyQth=Bonn\r\n");
        ini.close();
        createWindowSet();
        QCOMPARE(FPtt->EditT[0]->text(), QStringLiteral("CQ CQ CQ de DL9NEW DL9NEW CQ CQ de DL9NEW DL9NEW pse k<RX><CL>"));
        QCOMPARE(FPtt->EditN[1]->text(), QStringLiteral("de DL9 rx"));
        QCOMPARE(FPtt->EditN[14]->text(), QStringLiteral("DL9NEW"));
        QCOMPARE(FPtt->EditT[14]->text(), QStringLiteral("<CL><TX> DL9NEW DL9NEW<RX>"));
        QCOMPARE(FPtt->EditT[5]->text(), QStringLiteral(" My name is Hans Hans"));
        QCOMPARE(FPtt->EditT[6]->text(), QStringLiteral(" My QTH is Bonn Bonn"));
        for (int i = 0; i < KeyerSettings::macroCount; ++i)
            QVERIFY(!(FPtt->EditN[size_t(i)]->text() + FPtt->EditT[size_t(i)]->text()).contains("QA1"));
        // A stored file is used as stored.
        FPtt->Button1Click();
        destroyWindowSet();
        QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write("[General]\r\nMyCall=OK1XYZ\r\n");
        ini.close();
        createWindowSet();
        QCOMPARE(FPtt->EditN[14]->text(), QStringLiteral("DL9NEW"));
    }
};

QTEST_MAIN(TestKeyer)
#include "TestKeyer.moc"
