#pragma once
// A serial port over termios: opening, the line settings, the modem lines
// DTR and RTS, and an event thread that hands line and input events to the
// user-interface thread. "COMn" is /dev/ttyS(n-1) unless TARNEL_COMn names
// another device; a name starting with "/" is used as given. Settings that
// Linux has no place for (buffer sizes, Xon/Xoff limits, DTR handshake, RTS
// toggle, DSR flow and sensitivity, discarding nulls, continuing on Xoff) are
// stored and read back but change nothing on the device.

#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <stdexcept>
#include <thread>

enum TBaudRate {
    brCustom, br110, br300, br600, br1200, br2400, br4800, br9600, br14400, br19200, br38400, br56000, br57600,
    br115200, br128000, br256000
};
enum TParityBits { prNone, prOdd, prEven, prMark, prSpace };
enum TStopBits { sbOneStopBit, sbOne5StopBits, sbTwoStopBits };
enum TDataBits { dbFive, dbSix, dbSeven, dbEight };
enum TComEvent { evRxChar, evTxEmpty, evRxFlag, evRing, evBreak, evCTS, evDSR, evError, evRLSD, evRx80Full };
using TComEvents = unsigned; // bit (1 << TComEvent)
inline constexpr TComEvents comEvent(TComEvent e) { return 1u << e; }
inline constexpr TComEvents allComEvents = (1u << (evRx80Full + 1)) - 1;
enum TComError { ceFrame, ceRxParity, ceOverrun, ceBreak, ceIO, ceMode, ceRxOver, ceTxFull };
using TComErrors = unsigned; // bit (1 << TComError)
enum TFlowControl { fcHardware, fcSoftware, fcNone, fcCustom };
enum TDTRFlowControl { dtrDisable, dtrEnable, dtrHandshake };
enum TRTSFlowControl { rtsDisable, rtsEnable, rtsHandshake, rtsToggle };
enum TSyncMethod { smThreadSync, smWindowSync, smNone };

// An error of the serial component: a code of the fixed table and the
// system's errno (-1 when there is none).
class EComPort : public std::runtime_error {
public:
    EComPort(int code, int systemError);
    int PortErrorCode;
    int SystemErrorCode;
    // The table text, with " (win error code: %d)" when there is a system code.
    static QString messageFor(int code, int systemError);
};

// Modem-line bits as the device seam reports them.
enum ModemLine { mlDTR = 1, mlRTS = 2, mlCTS = 4, mlDSR = 8, mlCD = 16, mlRI = 32 };

// What goes to the device when the line settings are applied.
struct ComLineSettings {
    unsigned speed = 9600;
    int dataBits = 8;
    TParityBits parity = prNone;
    bool parityCheck = false;
    bool twoStopBits = false;
    bool ctsFlow = false; // CTS output flow or RTS handshake: both are hardware flow here
    bool xonXoffOut = false;
    bool xonXoffIn = false;
    unsigned char xonChar = 17;
    unsigned char xoffChar = 19;
};

// One open device; every call gives 0 or an errno value.
class ComDevice {
public:
    virtual ~ComDevice() = default;
    virtual int fd() const = 0; // polled for input and hang-up; -1 for none
    virtual int configure(const ComLineSettings &settings) = 0;
    virtual int setModemLines(int raise, int lower) = 0; // ModemLine bits
    virtual int modemLines(int &lines) = 0;
    virtual int waiting(int &count) = 0;
    virtual int read(char *buffer, int count, int &got) = 0; // never blocks
    virtual int purge() = 0;
};

using ComOpener = std::function<std::unique_ptr<ComDevice>(const QString &path, int &error)>;
// The opener in use (termios unless a test put a fake in place); returns the previous one.
ComOpener setComOpener(ComOpener opener);
// The device path of a port name.
QString comDevicePath(const QString &port);

class TCustomComPort;

class TComParity {
public:
    explicit TComParity(TCustomComPort *port) : port_(port) {}
    TComParity &operator=(const TComParity &other); // copies and re-applies
    TParityBits Bits() const { return d_.bits; }
    bool Check() const { return d_.check; }
    bool Replace() const { return d_.replace; }
    char ReplaceChar() const { return d_.replaceChar; }
    void setBits(TParityBits v);
    void setCheck(bool v);
    void setReplace(bool v);
    void setReplaceChar(char v);

private:
    friend class TCustomComPort;
    TCustomComPort *port_;
    struct {
        TParityBits bits = prNone;
        bool check = false, replace = false;
        char replaceChar = 0;
    } d_;
};

class TComFlowControl {
public:
    explicit TComFlowControl(TCustomComPort *port) : port_(port) {}
    TComFlowControl &operator=(const TComFlowControl &other);
    TFlowControl FlowControl() const;
    void setFlowControl(TFlowControl v);
    bool OutCTSFlow() const { return d_.outCts; }
    bool OutDSRFlow() const { return d_.outDsr; }
    TDTRFlowControl ControlDTR() const { return d_.dtr; }
    TRTSFlowControl ControlRTS() const { return d_.rts; }
    bool XonXoffOut() const { return d_.xonOut; }
    bool XonXoffIn() const { return d_.xonIn; }
    bool DSRSensitivity() const { return d_.dsrSens; }
    bool TxContinueOnXoff() const { return d_.txContinue; }
    char XonChar() const { return d_.xonChar; }
    char XoffChar() const { return d_.xoffChar; }
    void setOutCTSFlow(bool v);
    void setOutDSRFlow(bool v);
    // DTR and RTS move at once through the modem lines, without re-applying
    // the rest of the line state.
    void setControlDTR(TDTRFlowControl v);
    void setControlRTS(TRTSFlowControl v);
    void setXonXoffOut(bool v);
    void setXonXoffIn(bool v);
    void setDSRSensitivity(bool v);
    void setTxContinueOnXoff(bool v);
    void setXonChar(char v);
    void setXoffChar(char v);

private:
    friend class TCustomComPort;
    TCustomComPort *port_;
    struct {
        bool outCts = false, outDsr = false;
        TDTRFlowControl dtr = dtrDisable;
        TRTSFlowControl rts = rtsDisable;
        bool xonOut = false, xonIn = false, dsrSens = false, txContinue = false;
        char xonChar = 17, xoffChar = 19;
    } d_;
};

class TComTimeouts {
public:
    explicit TComTimeouts(TCustomComPort *port) : port_(port) {}
    TComTimeouts &operator=(const TComTimeouts &other);
    int ReadInterval() const { return d_.values[0]; }
    int ReadTotalMultiplier() const { return d_.values[1]; }
    int ReadTotalConstant() const { return d_.values[2]; }
    int WriteTotalMultiplier() const { return d_.values[3]; }
    int WriteTotalConstant() const { return d_.values[4]; }
    void setReadInterval(int v) { set(0, v); }
    void setReadTotalMultiplier(int v) { set(1, v); }
    void setReadTotalConstant(int v) { set(2, v); }
    void setWriteTotalMultiplier(int v) { set(3, v); }
    void setWriteTotalConstant(int v) { set(4, v); }

private:
    friend class TCustomComPort;
    void set(int index, int v);
    TCustomComPort *port_;
    struct {
        int values[5] = {-1, 0, 0, 100, 1000};
    } d_;
};

class TComBuffer {
public:
    explicit TComBuffer(TCustomComPort *port) : port_(port) {}
    TComBuffer &operator=(const TComBuffer &other);
    int InputSize() const { return d_.input; }
    int OutputSize() const { return d_.output; }
    // An odd size is stored one less.
    void setInputSize(int v);
    void setOutputSize(int v);

private:
    friend class TCustomComPort;
    TCustomComPort *port_;
    struct {
        int input = 1024, output = 1024;
    } d_;
};

class TComThread;

class TCustomComPort : public QObject {
    Q_OBJECT
public:
    explicit TCustomComPort(QObject *owner = nullptr);
    ~TCustomComPort() override;

    bool Connected() const { return device_ != nullptr; }
    void setConnected(bool connected);
    void Open() { setConnected(true); }
    void Close() { setConnected(false); }

    TBaudRate BaudRate() const { return baudRate_; }
    void setBaudRate(TBaudRate v);
    int CustomBaudRate() const { return customBaudRate_; }
    void setCustomBaudRate(int v);
    QString Port() const { return port_; }
    void setPort(const QString &v);
    TStopBits StopBits() const { return stopBits_; }
    void setStopBits(TStopBits v);
    TDataBits DataBits() const { return dataBits_; }
    void setDataBits(TDataBits v);
    bool DiscardNull() const { return discardNull_; }
    void setDiscardNull(bool v);
    char EventChar() const { return eventChar_; }
    void setEventChar(char v);
    TComEvents Events() const { return events_; }
    void setEvents(TComEvents v) { events_ = v; } // takes effect at the next opening
    TSyncMethod SyncMethod() const { return syncMethod_; }
    void setSyncMethod(TSyncMethod v);

    TComParity &Parity() { return parity_; }
    TComFlowControl &FlowControl() { return flowControl_; }
    TComTimeouts &Timeouts() { return timeouts_; }
    TComBuffer &Buffer() { return buffer_; }
    void setParity(const TComParity &v) { parity_ = v; }
    void setFlowControl(const TComFlowControl &v) { flowControl_ = v; }
    void setTimeouts(const TComTimeouts &v) { timeouts_ = v; }
    void setBuffer(const TComBuffer &v) { buffer_ = v; }

    // Reads up to `count` bytes within the read timeouts (interval -1 with
    // both totals 0 returns what is waiting at once); returns the count read.
    int ReadBytes(char *buffer, int count);

    // The line settings as they go to the device.
    ComLineSettings lineSettings() const;

    std::function<void(QObject *)> OnAfterOpen, OnAfterClose, OnBeforeOpen, OnBeforeClose;
    std::function<void(QObject *, int)> OnRxChar;
    std::function<void(QObject *, const char *, int)> OnRxBuf; // never fired: nothing reads for it
    std::function<void(QObject *)> OnTxEmpty, OnBreak, OnRing, OnRxFlag, OnRx80Full;
    std::function<void(QObject *, bool)> OnCTSChange, OnDSRChange, OnRLSDChange;
    std::function<void(QObject *, TComErrors)> OnError;

private:
    friend class TComParity;
    friend class TComFlowControl;
    friend class TComTimeouts;
    friend class TComBuffer;
    friend class TComThread;
    enum class Group { Line, Timeouts, Buffers, Dtr, Rts, LineAndRts };

    void OpenPort();
    void ClosePort();
    void apply(Group group);
    // Sets the lines in `which` (ModemLine bits) as the settings have them.
    void applyModemLines(int which);
    // Stores `value`, re-applies `group`; a failure restores the old value.
    template <typename T>
    void change(T &field, T value, Group group);
    template <typename T>
    void assignWhole(T &object, const T &other, Group group);
    // Fires the handlers of `events` in their fixed order (UI thread).
    void eventStep(TComEvents events);
    int modemStatus();

    std::unique_ptr<ComDevice> device_;
    std::unique_ptr<TComThread> thread_;
    TBaudRate baudRate_ = br9600;
    int customBaudRate_ = 9600;
    QString port_ = QStringLiteral("COM1");
    TStopBits stopBits_ = sbOneStopBit;
    TDataBits dataBits_ = dbEight;
    bool discardNull_ = false;
    char eventChar_ = 0;
    TComEvents events_ = allComEvents;
    TSyncMethod syncMethod_ = smThreadSync;
    TComParity parity_{this};
    TComFlowControl flowControl_{this};
    TComTimeouts timeouts_{this};
    TComBuffer buffer_{this};
};

class TComPort : public TCustomComPort {
    Q_OBJECT
public:
    using TCustomComPort::TCustomComPort;
};

// Waits for input, hang-up and modem-line changes and hands them over by the
// port's sync method. Stopping never waits for the user-interface thread.
class TComThread {
public:
    TComThread(TCustomComPort *port, ComDevice *device, TComEvents events);
    ~TComThread(); // stops and joins
    void Stop();

private:
    struct Shared;
    void Execute();
    void handOver(TComEvents events);
    TCustomComPort *port_;
    ComDevice *device_;
    TComEvents events_;
    TSyncMethod sync_;
    int inputSize_;
    int stopFd_;
    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};
