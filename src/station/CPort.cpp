#include "station/CPort.h"

#include "platform/ui/Guard.h"
#include "station/CPortTermios.h"

#include <QMetaObject>
#include <QPointer>
#include <array>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

// ------------------------------------------------------------------ errors

namespace {

const std::array<const char *, 23> errorTexts = {
    "Unable to open com port",
    "WriteFile function failed",
    "ReadFile function failed",
    "Invalid Async parameter",
    "PurgeComm function failed",
    "Unable to get async status",
    "SetCommState function failed",
    "SetCommTimeouts failed",
    "SetupComm function failed",
    "ClearCommError function failed",
    "GetCommModemStatus function failed",
    "EscapeCommFunction function failed",
    "TransmitCommChar function failed",
    "Cannot set property while connected",
    "EnumPorts function failed",
    "Failed to store settings",
    "Failed to load settings",
    "Link (un)registration failed",
    "Cannot change led state if ComPort is selected",
    "Cannot wait for event if event thread is created",
    "WaitForEvent method failed",
    "A component is linked to OnRxBuf event",
    "Registry error",
};

enum ErrorCode {
    ErrOpen = 1, ErrRead = 3, ErrAsync = 4, ErrPurge = 5, ErrLine = 7, ErrTimeouts = 8, ErrBuffers = 9,
    ErrClearError = 10, ErrModem = 11, ErrConnected = 14
};

ComOpener &opener()
{
    static ComOpener current = openTermiosDevice;
    return current;
}

unsigned speedOf(TBaudRate rate, int custom)
{
    static const unsigned speeds[] = {0,     110,   300,   600,   1200,  2400,   4800,   9600,
                                      14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000};
    return rate == brCustom ? unsigned(custom) : speeds[rate];
}

} // namespace

EComPort::EComPort(int code, int systemError)
    : std::runtime_error(messageFor(code, systemError).toStdString()), PortErrorCode(code),
      SystemErrorCode(systemError)
{
}

QString EComPort::messageFor(int code, int systemError)
{
    QString text = code >= 1 && code <= int(errorTexts.size()) ? QString::fromLatin1(errorTexts[size_t(code - 1)])
                                                               : QString();
    if (systemError != -1)
        text += QStringLiteral(" (win error code: %1)").arg(systemError);
    return text;
}

ComOpener setComOpener(ComOpener replacement)
{
    ComOpener previous = opener();
    opener() = replacement ? std::move(replacement) : ComOpener(openTermiosDevice);
    return previous;
}

QString comDevicePath(const QString &port)
{
    if (port.startsWith(u'/'))
        return port;
    if (port.startsWith(QLatin1String("COM"), Qt::CaseInsensitive)) {
        bool ok = false;
        const int n = port.mid(3).toInt(&ok);
        if (ok && n >= 1) {
            const QByteArray set = n <= 4 ? qgetenv("TARNEL_COM" + QByteArray::number(n)) : QByteArray();
            if (!set.isEmpty())
                return QString::fromLocal8Bit(set);
            return QStringLiteral("/dev/ttyS%1").arg(n - 1);
        }
    }
    return QStringLiteral("/dev/") + port;
}

// ------------------------------------------------------------------ settings objects

TComParity &TComParity::operator=(const TComParity &other)
{
    port_->assignWhole(*this, other, TCustomComPort::Group::Line);
    return *this;
}
void TComParity::setBits(TParityBits v) { port_->change(d_.bits, v, TCustomComPort::Group::Line); }
void TComParity::setCheck(bool v) { port_->change(d_.check, v, TCustomComPort::Group::Line); }
void TComParity::setReplace(bool v) { port_->change(d_.replace, v, TCustomComPort::Group::Line); }
void TComParity::setReplaceChar(char v) { port_->change(d_.replaceChar, v, TCustomComPort::Group::Line); }

TComFlowControl &TComFlowControl::operator=(const TComFlowControl &other)
{
    port_->assignWhole(*this, other, TCustomComPort::Group::Line);
    return *this;
}

TFlowControl TComFlowControl::FlowControl() const
{
    if (d_.rts == rtsHandshake && d_.outCts && !d_.xonOut && !d_.xonIn)
        return fcHardware;
    if (d_.rts == rtsDisable && !d_.outCts && d_.xonOut && d_.xonIn)
        return fcSoftware;
    if (d_.rts != rtsDisable || d_.outCts || d_.xonIn || d_.xonOut)
        return fcCustom;
    return fcNone;
}

void TComFlowControl::setFlowControl(TFlowControl v)
{
    TComFlowControl next(port_);
    next.d_ = d_;
    if (v != fcCustom) {
        next.d_.rts = v == fcHardware ? rtsHandshake : rtsDisable;
        next.d_.outCts = v == fcHardware;
        next.d_.xonOut = next.d_.xonIn = v == fcSoftware;
    }
    port_->assignWhole(*this, next, TCustomComPort::Group::Line);
}

void TComFlowControl::setOutCTSFlow(bool v) { port_->change(d_.outCts, v, TCustomComPort::Group::Line); }
void TComFlowControl::setOutDSRFlow(bool v) { port_->change(d_.outDsr, v, TCustomComPort::Group::Line); }
void TComFlowControl::setControlDTR(TDTRFlowControl v) { port_->change(d_.dtr, v, TCustomComPort::Group::Dtr); }
void TComFlowControl::setControlRTS(TRTSFlowControl v)
{
    // Only the handshake changes the termios flags; the rest is the line itself.
    const bool handshake = (v == rtsHandshake) != (d_.rts == rtsHandshake);
    port_->change(d_.rts, v, handshake ? TCustomComPort::Group::LineAndRts : TCustomComPort::Group::Rts);
}
void TComFlowControl::setXonXoffOut(bool v) { port_->change(d_.xonOut, v, TCustomComPort::Group::Line); }
void TComFlowControl::setXonXoffIn(bool v) { port_->change(d_.xonIn, v, TCustomComPort::Group::Line); }
void TComFlowControl::setDSRSensitivity(bool v) { port_->change(d_.dsrSens, v, TCustomComPort::Group::Line); }
void TComFlowControl::setTxContinueOnXoff(bool v) { port_->change(d_.txContinue, v, TCustomComPort::Group::Line); }
void TComFlowControl::setXonChar(char v) { port_->change(d_.xonChar, v, TCustomComPort::Group::Line); }
void TComFlowControl::setXoffChar(char v) { port_->change(d_.xoffChar, v, TCustomComPort::Group::Line); }

TComTimeouts &TComTimeouts::operator=(const TComTimeouts &other)
{
    port_->assignWhole(*this, other, TCustomComPort::Group::Timeouts);
    return *this;
}
void TComTimeouts::set(int index, int v) { port_->change(d_.values[index], v, TCustomComPort::Group::Timeouts); }

TComBuffer &TComBuffer::operator=(const TComBuffer &other)
{
    port_->assignWhole(*this, other, TCustomComPort::Group::Buffers);
    return *this;
}
void TComBuffer::setInputSize(int v) { port_->change(d_.input, v & ~1, TCustomComPort::Group::Buffers); }
void TComBuffer::setOutputSize(int v) { port_->change(d_.output, v & ~1, TCustomComPort::Group::Buffers); }

// ------------------------------------------------------------------ port

TCustomComPort::TCustomComPort(QObject *owner) : QObject(owner) {}

TCustomComPort::~TCustomComPort()
{
    try {
        ClosePort();
    } catch (...) {
        // Closing completed before it reported; nothing is left open.
    }
}

template <typename T>
void TCustomComPort::change(T &field, T value, Group group)
{
    if (field == value)
        return;
    const T old = field;
    field = value;
    try {
        apply(group);
    } catch (...) {
        field = old;
        throw;
    }
}

template <typename T>
void TCustomComPort::assignWhole(T &object, const T &other, Group group)
{
    const auto old = object.d_;
    object.d_ = other.d_;
    try {
        apply(group);
    } catch (...) {
        object.d_ = old;
        throw;
    }
}

void TCustomComPort::setBaudRate(TBaudRate v) { change(baudRate_, v, Group::Line); }
void TCustomComPort::setCustomBaudRate(int v) { change(customBaudRate_, v, Group::Line); }
void TCustomComPort::setStopBits(TStopBits v) { change(stopBits_, v, Group::Line); }
void TCustomComPort::setDataBits(TDataBits v) { change(dataBits_, v, Group::Line); }
void TCustomComPort::setDiscardNull(bool v) { change(discardNull_, v, Group::Line); }
void TCustomComPort::setEventChar(char v) { change(eventChar_, v, Group::Line); }

void TCustomComPort::setSyncMethod(TSyncMethod v)
{
    if (v == syncMethod_)
        return;
    if (Connected())
        throw EComPort(ErrConnected, -1);
    syncMethod_ = v;
}

void TCustomComPort::setPort(const QString &v)
{
    if (v == port_)
        return;
    port_ = v;
    if (Connected()) {
        ClosePort();
        OpenPort();
    }
}

void TCustomComPort::setConnected(bool connected)
{
    if (connected == Connected())
        return;
    if (connected)
        OpenPort();
    else
        ClosePort();
}

ComLineSettings TCustomComPort::lineSettings() const
{
    ComLineSettings s;
    s.speed = speedOf(baudRate_, customBaudRate_);
    s.dataBits = 5 + int(dataBits_);
    s.parity = parity_.d_.bits;
    s.parityCheck = parity_.d_.check;
    s.twoStopBits = stopBits_ != sbOneStopBit;
    s.ctsFlow = flowControl_.d_.outCts || flowControl_.d_.rts == rtsHandshake;
    s.xonXoffOut = flowControl_.d_.xonOut;
    s.xonXoffIn = flowControl_.d_.xonIn;
    s.xonChar = static_cast<unsigned char>(flowControl_.d_.xonChar);
    s.xoffChar = static_cast<unsigned char>(flowControl_.d_.xoffChar);
    return s;
}

void TCustomComPort::applyModemLines(int which)
{
    const int raise = which & ((flowControl_.d_.dtr == dtrEnable ? mlDTR : 0) | (flowControl_.d_.rts == rtsEnable ? mlRTS : 0));
    const int lower = which & ((flowControl_.d_.dtr == dtrDisable ? mlDTR : 0) | (flowControl_.d_.rts == rtsDisable ? mlRTS : 0));
    if (const int error = device_->setModemLines(raise, lower))
        throw EComPort(ErrLine, error);
}

void TCustomComPort::apply(Group group)
{
    if (!device_)
        return;
    switch (group) {
    case Group::Line:
    case Group::LineAndRts:
        if (const int error = device_->configure(lineSettings()))
            throw EComPort(ErrLine, error);
        if (group == Group::LineAndRts)
            applyModemLines(mlRTS);
        break;
    case Group::Dtr:
        applyModemLines(mlDTR);
        break;
    case Group::Rts:
        applyModemLines(mlRTS);
        break;
    case Group::Timeouts: // used by ReadBytes; nothing goes to the device
    case Group::Buffers:  // the kernel sizes its own buffers
        break;
    }
}

void TCustomComPort::OpenPort()
{
    if (device_)
        return;
    if (OnBeforeOpen)
        OnBeforeOpen(this);
    int error = 0;
    std::unique_ptr<ComDevice> device = opener()(comDevicePath(port_), error);
    if (!device)
        throw EComPort(ErrOpen, error);
    // Opening raises DTR and RTS on Linux: both go down at once, then the
    // lines the settings enable go up.
    int lowered = device->setModemLines(0, mlDTR | mlRTS);
    if (lowered == ENOTTY)
        lowered = 0; // a device without modem lines (a pseudo-terminal)
    if (lowered)
        throw EComPort(ErrLine, lowered);
    device_ = std::move(device);
    try {
        if (const int e = device_->configure(lineSettings()))
            throw EComPort(ErrLine, e);
        if (flowControl_.d_.dtr == dtrEnable || flowControl_.d_.rts == rtsEnable)
            applyModemLines(mlDTR | mlRTS);
    } catch (...) {
        device_.reset();
        throw;
    }
    if (events_ != 0)
        thread_ = std::make_unique<TComThread>(this, device_.get(), events_);
    if (OnAfterOpen)
        OnAfterOpen(this);
    const int lines = modemStatus();
    if (OnCTSChange)
        OnCTSChange(this, lines & mlCTS);
    if (OnDSRChange)
        OnDSRChange(this, lines & mlDSR);
    if (OnRLSDChange)
        OnRLSDChange(this, lines & mlCD);
}

void TCustomComPort::ClosePort()
{
    if (!device_)
        return;
    if (OnCTSChange)
        OnCTSChange(this, false);
    if (OnDSRChange)
        OnDSRChange(this, false);
    if (OnRLSDChange)
        OnRLSDChange(this, false);
    if (OnBeforeClose)
        OnBeforeClose(this);
    // The close always completes; a failed purge is reported afterwards.
    const int purged = device_->purge();
    thread_.reset();
    device_.reset();
    if (OnAfterClose)
        OnAfterClose(this);
    if (purged)
        throw EComPort(ErrPurge, purged);
}

int TCustomComPort::modemStatus()
{
    int lines = 0;
    if (const int error = device_->modemLines(lines))
        throw EComPort(ErrModem, error);
    return lines;
}

void TCustomComPort::eventStep(TComEvents events)
{
    if (!device_)
        return;
    auto has = [events](TComEvent e) { return (events & comEvent(e)) != 0; };
    // evError and evRxFlag: the tty layer tells line errors and the event
    // character only to a reader, and this component reads nothing itself.
    if (has(evRxChar)) {
        int count = 0;
        if (const int error = device_->waiting(count))
            throw EComPort(ErrClearError, error);
        if (count > 0 && OnRxChar)
            OnRxChar(this, count);
    }
    if (has(evTxEmpty) && OnTxEmpty)
        OnTxEmpty(this);
    if (has(evBreak) && OnBreak)
        OnBreak(this);
    if (has(evRing) && OnRing)
        OnRing(this);
    if (!device_)
        return; // a handler closed the port
    const bool signal = has(evCTS) || has(evDSR) || has(evRLSD);
    const int lines = signal ? modemStatus() : 0;
    if (has(evCTS) && OnCTSChange)
        OnCTSChange(this, lines & mlCTS);
    if (has(evDSR) && OnDSRChange)
        OnDSRChange(this, lines & mlDSR);
    if (has(evRxFlag) && OnRxFlag)
        OnRxFlag(this);
    if (has(evRLSD) && OnRLSDChange)
        OnRLSDChange(this, lines & mlCD);
    if (has(evRx80Full) && OnRx80Full)
        OnRx80Full(this);
}

int TCustomComPort::ReadBytes(char *buffer, int count)
{
    if (!device_ || count < 0)
        throw EComPort(ErrAsync, -1);
    using namespace std::chrono;
    const int interval = timeouts_.ReadInterval();
    const int multiplier = timeouts_.ReadTotalMultiplier();
    const int constant = timeouts_.ReadTotalConstant();
    const bool totalLimit = multiplier > 0 || constant > 0;
    const bool immediate = interval == -1 && !totalLimit;
    const auto end = steady_clock::now() + milliseconds(qint64(multiplier) * count + constant);
    int total = 0;
    while (total < count) {
        int got = 0;
        if (const int error = device_->read(buffer + total, count - total, got))
            throw EComPort(ErrRead, error);
        total += got;
        if (total >= count || immediate)
            break;
        int wait = -1; // no limit
        if (totalLimit) {
            wait = int(duration_cast<milliseconds>(end - steady_clock::now()).count());
            if (wait <= 0)
                break;
        }
        if (total > 0 && interval > 0)
            wait = wait < 0 ? interval : std::min(wait, interval);
        pollfd p {device_->fd(), POLLIN, 0};
        const int ready = ::poll(&p, 1, wait);
        if (ready == 0)
            break;
        if (ready < 0 && errno != EINTR)
            throw EComPort(ErrRead, errno);
        if (p.revents & (POLLHUP | POLLERR | POLLNVAL))
            break;
    }
    return total;
}

// ------------------------------------------------------------------ event thread

struct TComThread::Shared {
    std::mutex mutex;
    std::condition_variable done;
    bool stop = false;
    bool abandoned = false; // a hand-over given up at stop: its event step never runs
    quint64 finished = 0;
};

TComThread::TComThread(TCustomComPort *port, ComDevice *device, TComEvents events)
    : port_(port), device_(device), events_(events), sync_(port->SyncMethod()), inputSize_(port->Buffer().InputSize()),
      stopFd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)), shared_(std::make_shared<Shared>())
{
    thread_ = std::thread([this] { Execute(); });
}

TComThread::~TComThread()
{
    Stop();
    if (thread_.joinable())
        thread_.join();
    ::close(stopFd_);
}

void TComThread::Stop()
{
    {
        std::lock_guard lock(shared_->mutex);
        shared_->stop = true;
    }
    shared_->done.notify_all();
    const quint64 one = 1;
    [[maybe_unused]] const auto written = ::write(stopFd_, &one, sizeof one);
}

void TComThread::Execute()
{
    int lastCount = 0;
    int lastLines = 0;
    device_->modemLines(lastLines);
    for (;;) {
        // Poll is level-triggered: while bytes wait unread, only a growth of
        // their count is news, so the descriptor is not polled for input.
        pollfd fds[2] = {{device_->fd(), short(lastCount > 0 ? 0 : POLLIN), 0}, {stopFd_, POLLIN, 0}};
        const int ready = ::poll(fds, 2, 20);
        {
            std::lock_guard lock(shared_->mutex);
            if (shared_->stop)
                break;
        }
        if (ready < 0 && errno != EINTR)
            break;
        if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL))
            break; // hung up or gone: no further events
        TComEvents found = 0;
        int count = 0;
        if (device_->waiting(count) == 0) {
            if (count > lastCount)
                found |= comEvent(evRxChar);
            const int full = inputSize_ * 8 / 10;
            if (count >= full && lastCount < full)
                found |= comEvent(evRx80Full);
            lastCount = count;
        }
        int lines = 0;
        if (device_->modemLines(lines) == 0) {
            const int changed = lines ^ lastLines;
            if (changed & mlCTS)
                found |= comEvent(evCTS);
            if (changed & mlDSR)
                found |= comEvent(evDSR);
            if (changed & mlCD)
                found |= comEvent(evRLSD);
            if ((changed & mlRI) && (lines & mlRI))
                found |= comEvent(evRing);
            lastLines = lines;
        }
        found &= events_;
        if (found)
            handOver(found);
    }
    device_->purge();
}

void TComThread::handOver(TComEvents events)
{
    TCustomComPort *port = port_;
    if (sync_ == smNone) {
        // On this thread no window may open: a handler's error is dropped.
        try {
            port->eventStep(events);
        } catch (...) {
        }
        return;
    }
    QPointer<TCustomComPort> guard(port);
    if (sync_ == smWindowSync) {
        // One message per event, acted on only while the port is open.
        for (int e = evRxChar; e <= evRx80Full; ++e) {
            if (!(events & comEvent(TComEvent(e))))
                continue;
            const TComEvents one = comEvent(TComEvent(e));
            auto shared = shared_;
            QMetaObject::invokeMethod(
                port,
                [guard, shared, one] {
                    {
                        std::lock_guard lock(shared->mutex);
                        if (shared->abandoned || shared->stop)
                            return;
                    }
                    if (guard && guard->Connected())
                        Ui::runGuarded([&] { guard->eventStep(one); });
                },
                Qt::QueuedConnection);
        }
        return;
    }
    auto shared = shared_;
    quint64 ticket = 0;
    {
        std::lock_guard lock(shared->mutex);
        ticket = shared->finished + 1;
    }
    QMetaObject::invokeMethod(
        port,
        [guard, shared, events, ticket] {
            {
                std::lock_guard lock(shared->mutex);
                if (shared->abandoned)
                    return;
            }
            if (guard)
                Ui::runGuarded([&] { guard->eventStep(events); });
            {
                std::lock_guard lock(shared->mutex);
                shared->finished = ticket;
            }
            shared->done.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(shared->mutex);
    shared->done.wait(lock, [&] { return shared->finished >= ticket || shared->stop; });
    if (shared->finished < ticket)
        shared->abandoned = true; // closing: the user-interface thread is waiting for us
}
