#include "station/UCw.h"

#include "core/UConf.h"
#include "core/Unit3.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Guard.h"
#include "station/UPtt.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>

TFCW *FCW = nullptr;

namespace {

enum Port { PortNone = 0, Lpt1 = 5, Lpt2 = 6 };

bool isCom(int port) { return port >= 1 && port <= 4; }
bool isLpt(int port) { return port == Lpt1 || port == Lpt2; }
unsigned short dataRegister(int port) { return port == Lpt1 ? 0x378 : 0x278; }
unsigned short statusRegister(int port) { return port == Lpt1 ? 0x379 : 0x279; }

const QString pleaseChangePort = QStringLiteral("Pleas, change PORT");

// The send line and the type-ahead box as the sender sees them.
class ControlBuffer : public Keyer::Buffer {
public:
    ControlBuffer(QLineEdit *line, QPlainTextEdit *memo) : line_(line), memo_(memo) {}
    QString sendLine() const override { return line_->text(); }
    void setSendLine(const QString &text) override { line_->setText(text); }
    QString takeLine() override
    {
        if (memo_->document()->isEmpty())
            return QString();
        QTextCursor cursor(memo_->document()->firstBlock());
        const QString first = cursor.block().text();
        // The line and its line end; the last line has none.
        if (!cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor))
            cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        return first;
    }
    bool typeAheadEmpty() const override { return memo_->document()->isEmpty(); }

private:
    QLineEdit *line_;
    QPlainTextEdit *memo_;
};

} // namespace

class TFCW::PortLine : public Keyer::KeyLine {
public:
    PortLine(TFCW *window, int port) : window_(window), port_(port) {}
    bool set(Keyer::Line line) override { return window_->setLine(port_, line); }

private:
    TFCW *window_;
    int port_;
};

TFCW::TFCW() : Ui::Window(QStringLiteral("FCW"), QStringLiteral("CW"))
{
    auto *central = new QWidget(this);
    setCentralWidget(central);
    auto *layout = new QVBoxLayout(central);
    auto button = [central](const char *name, const QString &caption) {
        auto *b = new QPushButton(caption, central);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };

    EditTx = new QLineEdit(central);
    EditTx->setObjectName(QStringLiteral("EditTx"));
    layout->addWidget(EditTx);
    Memo1 = new QPlainTextEdit(central);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setFixedHeight(70);
    layout->addWidget(Memo1);

    auto *row = new QHBoxLayout;
    layout->addLayout(row);
    BitBtnTx = button("BitBtnTx", QStringLiteral("TX"));
    BitBtn2 = button("BitBtn2", QStringLiteral("Pause"));
    BitBtn1 = button("BitBtn1", QStringLiteral("RX"));
    BitBtn20 = button("BitBtn20", QStringLiteral("Clear"));
    for (QPushButton *b : {BitBtnTx, BitBtn2, BitBtn1, BitBtn20}) {
        Ui::setFontColor(b, maroon);
        row->addWidget(b);
    }
    EditSp = new QLineEdit(central);
    EditSp->setObjectName(QStringLiteral("EditSp"));
    EditSp->setFixedWidth(48);
    UpDown1 = new TKeyerUpDown(QStringLiteral("UpDown1"), KeyerSettings::speedRange, EditSp, central);
    UpDown1->setPosition(120);
    row->addWidget(EditSp);
    row->addWidget(UpDown1);

    auto *grid = new QGridLayout;
    layout->addLayout(grid);
    for (int i = 0; i < 15; ++i) {
        auto *b = new QPushButton(QString::number(i + 1), central);
        b->setObjectName(QStringLiteral("BitBtn%1").arg(i + 3));
        MacroButtons[size_t(i)] = b;
        grid->addWidget(b, i / 5, i % 5);
        Ui::connectGuarded(b, &QPushButton::clicked, this, [this, i] { MacroClick(i + 1); });
    }
    auto *quick = new QHBoxLayout;
    layout->addLayout(quick);
    BitBtn18 = button("BitBtn18", QString());
    BitBtn19 = button("BitBtn19", QString());
    BitBtn21 = button("BitBtn21", QStringLiteral("RST"));
    for (QPushButton *b : {BitBtn18, BitBtn19, BitBtn21})
        quick->addWidget(b);

    Button1 = button("Button1", QStringLiteral("Button1"));
    Button2 = button("Button2", QStringLiteral("Button2"));
    Edit1 = new QLineEdit(central);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    for (QWidget *hidden : std::initializer_list<QWidget *>{Button1, Button2, Edit1})
        hidden->hide();

    QMenu *menu = menuBar()->addMenu(QStringLiteral("Configuration"));
    PausePTTSignal1 = new Ui::MenuItem(QStringLiteral("PausePTTSignal1"), QStringLiteral("Config"), this);
    PausePTTSignal1->setHandler([this] { PausePTTSignal1Click(); });
    OnTop1 = new Ui::MenuItem(QStringLiteral("OnTop1"), QStringLiteral("On Top"), this);
    OnTop1->setHandler([this] { OnTop1Click(); });
    menu->addAction(PausePTTSignal1);
    menu->addAction(OnTop1);

    auto timer = [this](const char *name, int interval) {
        auto *t = new QTimer(this);
        t->setObjectName(QString::fromLatin1(name));
        t->setTimerType(Qt::PreciseTimer);
        t->setInterval(interval);
        return t;
    };
    Timer1 = timer("Timer1", 1000);
    Timer2 = timer("Timer2", 1000);
    Timer3 = timer("Timer3", 100);
    SmallPort1 = new TSmallPort(this);
    SmallPort1->setObjectName(QStringLiteral("SmallPort1"));
    ComPort1 = new TComPort(this);
    ComPort1->setObjectName(QStringLiteral("ComPort1"));

    Ui::connectGuarded(BitBtnTx, &QPushButton::released, this, [this] { BitBtnTxMouseUp(); });
    Ui::connectGuarded(BitBtnTx, &QPushButton::clicked, this, [this] { BitBtnTxClick(); });
    Ui::connectGuarded(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    Ui::connectGuarded(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    Ui::connectGuarded(BitBtn20, &QPushButton::clicked, this, [this] { BitBtn20Click(); });
    Ui::connectGuarded(BitBtn18, &QPushButton::clicked, this, [this] { BitBtn18Click(); });
    Ui::connectGuarded(BitBtn19, &QPushButton::clicked, this, [this] { BitBtn19Click(); });
    Ui::connectGuarded(BitBtn21, &QPushButton::clicked, this, [this] { BitBtn21Click(); });
    Ui::connectGuarded(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    Ui::connectGuarded(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    Ui::connectGuarded(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    Ui::connectGuarded(Timer2, &QTimer::timeout, this, [this] { Timer2Timer(); });
    Ui::connectGuarded(Timer3, &QTimer::timeout, this, [this] { Timer3Timer(); });
    Ui::connectGuarded(Memo1, &QPlainTextEdit::textChanged, this, [this] { Memo1Change(); });
    Memo1->installEventFilter(new Ui::GuardedEventFilter(
        [this](QObject *, QEvent *event) {
            if (event->type() == QEvent::KeyRelease)
                Memo1KeyUp();
            return false;
        },
        this));
    // "Enter" of the TX button and of the paddle sender: they got the focus.
    auto *entered = new Ui::GuardedEventFilter(
        [this](QObject *watched, QEvent *event) {
            if (event->type() == QEvent::FocusIn) {
                if (watched == BitBtnTx)
                    BitBtnTxEnter();
                else
                    Button2Enter();
            }
            return false;
        },
        this);
    BitBtnTx->installEventFilter(entered);
    Button2->installEventFilter(entered);
    // The keyboard stays in the box being typed into: a button that took it
    // would be clicked by the next blank typed (Pause with the transmitter
    // keyed). The buttons are still reached with Tab.
    for (QPushButton *b : findChildren<QPushButton *>())
        b->setFocusPolicy(Qt::TabFocus);
    Timer3->start();
}

// ------------------------------------------------------------------ ports

int TFCW::portChoice() const
{
    return FPtt ? std::max(0, FPtt->RadioGroup1->itemIndex()) : PortNone;
}

int TFCW::linePort() const
{
    return txActive_ ? txPort_ : portChoice();
}

bool TFCW::setLine(int port, Keyer::Line line)
{
    const bool ptt = line != Keyer::Line::Receive;
    const bool key = line == Keyer::Line::KeyDown;
    if (isCom(port)) {
        try {
            ComPort1->FlowControl().setControlDTR(ptt ? dtrEnable : dtrDisable);
            ComPort1->FlowControl().setControlRTS(key ? rtsEnable : rtsDisable);
        } catch (const EComPort &e) {
            if (e.PortErrorCode == 7)
                return false; // the system refused the line change
            throw;
        }
        return true;
    }
    if (isLpt(port)) {
        SmallPort1->WritePort(dataRegister(port), static_cast<unsigned char>((ptt ? 2 : 0) | (key ? 1 : 0)));
        return SmallPort1->LastOK();
    }
    EditTx->setText(pleaseChangePort);
    return true;
}

void TFCW::dropLines() noexcept
{
    try {
        if (txActive_ && txPort_ != PortNone)
            setLine(txPort_, Keyer::Line::Receive);
    } catch (...) {
        // Already on the way out with an error; that error is the one to show.
    }
}

void TFCW::latchPort(int port)
{
    // A port latched before must not stay keyed once another takes over.
    if (port != txPort_)
        dropLines();
    txPort_ = port;
    txActive_ = port != PortNone;
}

void TFCW::portError(const QString &message)
{
    Timer3->stop();
    dropLines();
    txActive_ = false;
    txPort_ = PortNone;
    FPtt->RadioGroup1->setItemIndex(PortNone);
    Ui::showWarning(message);
    FPtt->RadioGroup1->setItemIndex(PortNone);
    FPtt->closeWindow();
    FPtt->RadioGroup1->setItemIndex(PortNone);
    Timer3->start();
    if (Form3)
        Form3->CW1->setEnabled(false);
}

void TFCW::portChoiceChanged()
{
    // The claim on a parallel port would keep a printer off it.
    const int port = portChoice();
    if (port != Lpt1 && !(txActive_ && txPort_ == Lpt1))
        SmallPort1->Release(1);
    if (port != Lpt2 && !(txActive_ && txPort_ == Lpt2))
        SmallPort1->Release(2);
}

void TFCW::releaseLines()
{
    for (int port : {int(Lpt1), int(Lpt2)}) {
        if (txActive_ && txPort_ == port)
            SmallPort1->WritePort(dataRegister(port), 0);
    }
    if (ComPort1->Connected()) {
        try {
            setLine(1, Keyer::Line::Receive);
        } catch (...) {
            // Exiting: nothing more can be done about the device.
        }
    }
    txActive_ = false;
    SmallPort1->Release(1);
    SmallPort1->Release(2);
}

// ------------------------------------------------------------------ handlers

void TFCW::FormCreate()
{
    SmallPort1->setOpened(true);
}

void TFCW::showMacroNames()
{
    for (int i = 0; i < 15; ++i)
        MacroButtons[size_t(i)]->setText(FPtt->EditN[size_t(i)]->text());
}

void TFCW::FormActivate()
{
    showMacroNames();
    const QString call = Config ? Config->MaskEditC->text() : QString();
    BitBtn18->setText(call);
    BitBtn19->setText(call + QStringLiteral(" x2"));
    BitBtn21->setText(QStringLiteral("RST"));
    for (QPushButton *b : {BitBtn18, BitBtn19, BitBtn21})
        b->setEnabled(true);
}

void TFCW::FormClose()
{
    BitBtn1Click();
    FPtt->Button1Click();
}

void TFCW::BitBtnTxClick()
{
    EditTx->setReadOnly(true);
    if (Ui::fontColor(BitBtnTx) == maroon) {
        const int port = portChoice();
        latchPort(port);
        if (port != PortNone) {
            try {
                if (isCom(port)) {
                    ComPort1->setPort(QStringLiteral("COM%1").arg(port));
                    ComPort1->setConnected(true);
                } else {
                    ComPort1->setConnected(false);
                }
                if (!setLine(port, Keyer::Line::KeyUp)) {
                    portError(QStringLiteral("Com Port Error ! NT System!"));
                    return;
                }
            } catch (...) {
                dropLines();
                throw;
            }
            clock_->wait(FPtt->Edit1->text().toInt());
        }
    }
    if (!TxAllowed || !txActive_)
        return;
    Ui::setFontColor(BitBtnTx, red);
    Ui::setFontColor(BitBtn2, maroon);
    ControlBuffer buffer(EditTx, Memo1);
    PortLine line(this, txPort_);
    Keyer::RunResult result;
    try {
        result = Keyer::send(buffer, ElementStep, speed(), line, *clock_);
    } catch (...) {
        dropLines();
        throw;
    }
    switch (result.stop) {
    case Keyer::Stop::LetterGap:
        Timer1->start(result.gapMs);
        break;
    case Keyer::Stop::Empty:
        if (FPtt->CheckBox1->isChecked())
            Timer2->start(FPtt->UpDown2->Position());
        break;
    case Keyer::Stop::Rx:
        BitBtn1Click();
        break;
    case Keyer::Stop::Refused:
        portError(QStringLiteral("Com Port Error ! NT System!"));
        break;
    }
}

void TFCW::Timer1Timer()
{
    Timer1->stop();
    BitBtnTxClick();
}

void TFCW::Timer2Timer()
{
    if (Memo1->document()->isEmpty() && EditTx->text().isEmpty() && FPtt->CheckBox1->isChecked())
        BitBtn1Click();
    Timer2->stop();
}

void TFCW::BitBtn1Click()
{
    EditTx->setReadOnly(false);
    Button2->setText(QStringLiteral("Button2"));
    Ui::setFontColor(BitBtnTx, maroon);
    Ui::setFontColor(BitBtn2, maroon);
    Timer1->stop();
    TxAllowed = false;
    PaddleAllowed = false;
    const int port = linePort();
    txActive_ = false;
    // The COM port stays open.
    if (!setLine(port, Keyer::Line::Receive)) {
        txActive_ = true;
        txPort_ = port;
        portError(QStringLiteral("COM Port Error ! NT System!"));
        FPtt->Button1Click();
    }
    portChoiceChanged();
}

void TFCW::BitBtn2Click()
{
    EditTx->setReadOnly(false);
    if (Ui::fontColor(BitBtnTx) == red) {
        Ui::setFontColor(BitBtn2, red);
        Timer1->stop();
        TxAllowed = false;
        if (!setLine(linePort(), Keyer::Line::KeyUp))
            portError(QStringLiteral("Com Port Error ! NT System!"));
    }
}

void TFCW::BitBtn20Click()
{
    Memo1->clear();
    EditTx->clear();
}

void TFCW::Memo1Change()
{
    // An empty first line goes at once, so the next line moves up to be sent.
    while (Memo1->document()->blockCount() > 1 && Memo1->document()->firstBlock().text().isEmpty()) {
        QTextCursor cursor(Memo1->document()->firstBlock());
        cursor.deleteChar();
    }
}

void TFCW::Memo1KeyUp()
{
    const bool onKeyPress = FPtt->CheckBox2->isChecked();
    // A letter gap under way goes on by itself when it ends: a click now
    // would cut it short and run the typed characters together.
    const bool inGap = Timer1->isActive();
    if (!onKeyPress && !inGap && Ui::fontColor(BitBtnTx) == red) {
        TxAllowed = true;
        BitBtnTxClick();
    }
    Timer2->stop();
    if (onKeyPress && !inGap) {
        TxAllowed = true;
        BitBtnTxClick();
    }
}

void TFCW::Timer3Timer()
{
    const int port = portChoice();
    if (!isLpt(port))
        return;
    Timer3->setInterval(Keyer::dotLength(speed()));
    int value = 0x7F; // idle: a closed component reads as no paddle
    if (SmallPort1->Opened()) {
        value = SmallPort1->ReadPort(statusRegister(port));
        if (!SmallPort1->LastOK()) {
            portError(QStringLiteral("LPT Port Error ! NT System!"));
            FPtt->Button1Click();
            value = 0x7F;
        }
    }
    PaddleAllowed = false;
    const QChar mark = Keyer::paddleMark(value);
    if (mark.isNull())
        return;
    Timer2->stop();
    Edit1->setText(QString(mark));
    BitBtn2Click();
    PaddleAllowed = true;
    Button2Click();
}

void TFCW::Button2Click()
{
    const int port = portChoice();
    if (Button2->text() == QLatin1String("Button2") && isLpt(port)) {
        latchPort(port);
        if (!setLine(port, Keyer::Line::KeyUp)) {
            portError(QStringLiteral("LPT Port Error ! NT System!"));
            return;
        }
        clock_->wait(FPtt->Edit1->text().toInt());
    }
    if (!PaddleAllowed || port == PortNone)
        return;
    Button2->setText(QStringLiteral("Red"));
    QString marks = Edit1->text();
    bool ok = true;
    if (isLpt(port)) {
        PortLine line(this, port);
        ok = Keyer::sendPaddle(marks, PaddleStep, speed(), line, *clock_);
    } else {
        marks.clear(); // only the parallel ports are keyed by the paddle
    }
    Edit1->setText(marks);
    if (!ok) {
        portError(QStringLiteral("LPT Port Error ! NT System!"));
        return;
    }
    if (EditTx->text().isEmpty() && FPtt->CheckBox1->isChecked())
        Timer2->start(FPtt->UpDown2->Position());
}

void TFCW::MacroClick(int number)
{
    MacroText = FPtt->EditT[size_t(number - 1)]->text();
    Button1Click();
}

void TFCW::Button1Click()
{
    Keyer::MacroFields fields;
    if (Form3) {
        fields = {Form3->MaskEditCall->text(), Form3->MaskEditRstTx->text(), Form3->MaskEditRstRx->text(),
                  Form3->MaskEditName->text(), Form3->EditNmTx->text(),     Form3->EditNmRx->text()};
    }
    const Keyer::Macro macro = Keyer::expandMacro(MacroText, fields);
    if (macro.clear)
        BitBtn20Click();
    Memo1->appendPlainText(macro.text);
    if (macro.transmit) {
        TxAllowed = true;
        BitBtnTxClick();
    }
}

void TFCW::quickSend(const QString &text)
{
    EditTx->setText(text);
    TxAllowed = true;
    BitBtnTxClick();
}

void TFCW::BitBtn18Click()
{
    quickSend(Config->MaskEditC->text() + QStringLiteral("<RX>"));
}

void TFCW::BitBtn19Click()
{
    const QString call = Config->MaskEditC->text();
    quickSend(call + QStringLiteral(" ") + call + QStringLiteral("<RX>"));
}

void TFCW::BitBtn21Click()
{
    const QString call = Config->MaskEditC->text();
    const QString rst = Form3->MaskEditRstTx->text();
    quickSend(QStringLiteral("de ") + call + QStringLiteral(" GD RST ") + rst + QStringLiteral(" ") + rst +
              QStringLiteral(" TU 73k") + QStringLiteral("<RX>"));
}

void TFCW::PausePTTSignal1Click()
{
    FPtt->showModal();
}

void TFCW::OnTop1Click()
{
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    if (visible)
        show();
}

void TFCW::sendFromMainWindow(const QString &text)
{
    showWindow();
    EditTx->setText(text);
    TxAllowed = true;
    BitBtnTxClick();
}
