#include "station/SmallPort.h"

#include <cerrno>
#include <fcntl.h>
#include <linux/parport.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

class PpdevDevice : public ParallelDevice {
public:
    explicit PpdevDevice(int fd) : fd_(fd) {}
    ~PpdevDevice() override
    {
        ::ioctl(fd_, PPRELEASE);
        ::close(fd_);
    }
    int readStatus(unsigned char &value) override { return call(PPRSTATUS, &value); }
    int readData(unsigned char &value) override { return call(PPRDATA, &value); }
    int writeData(unsigned char value) override { return call(PPWDATA, &value); }

private:
    int call(unsigned long request, unsigned char *value)
    {
        return ::ioctl(fd_, request, value) == 0 ? 0 : errno;
    }
    int fd_;
};

std::unique_ptr<ParallelDevice> openPpdev(const QString &path, int &error)
{
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return nullptr;
    }
    if (::ioctl(fd, PPCLAIM) != 0) {
        error = errno;
        ::close(fd);
        return nullptr;
    }
    error = 0;
    return std::make_unique<PpdevDevice>(fd);
}

ParallelOpener &opener()
{
    static ParallelOpener current = openPpdev;
    return current;
}

} // namespace

ParallelOpener setParallelOpener(ParallelOpener replacement)
{
    ParallelOpener previous = opener();
    opener() = replacement ? std::move(replacement) : ParallelOpener(openPpdev);
    return previous;
}

QString parallelDevicePath(int number)
{
    const QByteArray set = qgetenv("TARNEL_LPT" + QByteArray::number(number));
    if (!set.isEmpty())
        return QString::fromLocal8Bit(set);
    return QStringLiteral("/dev/parport%1").arg(number - 1);
}

TSmallPort::TSmallPort(QObject *owner) : QObject(owner) {}

TSmallPort::~TSmallPort() = default;

void TSmallPort::setOpened(bool opened)
{
    // There is no driver to load: opening only allows the accesses, which
    // claim their device on first use.
    if (!opened) {
        Release(1);
        Release(2);
    }
    opened_ = opened;
}

ParallelDevice *TSmallPort::device(unsigned short port, bool &status)
{
    int index = -1;
    if (port == 0x378 || port == 0x379)
        index = 0;
    else if (port == 0x278 || port == 0x279)
        index = 1;
    status = port & 1;
    if (index < 0) {
        lastError_ = EINVAL;
        return nullptr;
    }
    if (!devices_[index]) {
        int error = 0;
        devices_[index] = opener()(parallelDevicePath(index + 1), error);
        if (!devices_[index]) {
            lastError_ = error;
            return nullptr;
        }
    }
    return devices_[index].get();
}

unsigned char TSmallPort::ReadPort(unsigned short port)
{
    lastOk_ = false;
    if (!opened_) {
        lastError_ = closedError;
        return 0;
    }
    bool status = false;
    ParallelDevice *d = device(port, status);
    if (!d)
        return 0;
    unsigned char value = 0;
    const int error = status ? d->readStatus(value) : d->readData(value);
    if (error != 0) {
        lastError_ = error;
        return 0;
    }
    lastOk_ = true;
    return value;
}

void TSmallPort::WritePort(unsigned short port, unsigned char value)
{
    lastOk_ = false;
    if (!opened_) {
        lastError_ = closedError;
        return;
    }
    bool status = false;
    ParallelDevice *d = device(port, status);
    if (!d)
        return;
    if (status) {
        lastError_ = EINVAL; // the status register is read-only
        return;
    }
    const int error = d->writeData(value);
    if (error != 0) {
        lastError_ = error;
        return;
    }
    lastOk_ = true;
}

void TSmallPort::Release(int number)
{
    if (number >= 1 && number <= 2)
        devices_[number - 1].reset();
}
