#include "station/CPortSpeed.h"
#include "station/CPortTermios.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

speed_t standardSpeed(unsigned speed)
{
    switch (speed) {
    case 110: return B110;
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    default: return B0;
    }
}

int toTiocm(int lines)
{
    return ((lines & mlDTR) ? TIOCM_DTR : 0) | ((lines & mlRTS) ? TIOCM_RTS : 0);
}

class TermiosDevice : public ComDevice {
public:
    explicit TermiosDevice(int fd) : fd_(fd) {}
    ~TermiosDevice() override { ::close(fd_); }
    int fd() const override { return fd_; }

    int configure(const ComLineSettings &settings) override
    {
        termios t {};
        if (::tcgetattr(fd_, &t) != 0)
            return errno;
        const bool custom = toTermios(settings, t);
        if (::tcsetattr(fd_, TCSANOW, &t) != 0)
            return errno;
        return custom ? setCustomSpeed(fd_, settings.speed) : 0;
    }
    int setModemLines(int raise, int lower) override
    {
        const int down = toTiocm(lower);
        const int up = toTiocm(raise);
        if (down && ::ioctl(fd_, TIOCMBIC, &down) != 0)
            return errno;
        if (up && ::ioctl(fd_, TIOCMBIS, &up) != 0)
            return errno;
        return 0;
    }
    int modemLines(int &lines) override
    {
        int bits = 0;
        lines = 0;
        if (::ioctl(fd_, TIOCMGET, &bits) != 0)
            return errno == ENOTTY ? 0 : errno; // no modem lines: all off
        lines = ((bits & TIOCM_DTR) ? mlDTR : 0) | ((bits & TIOCM_RTS) ? mlRTS : 0) |
                ((bits & TIOCM_CTS) ? mlCTS : 0) | ((bits & TIOCM_DSR) ? mlDSR : 0) |
                ((bits & TIOCM_CAR) ? mlCD : 0) | ((bits & TIOCM_RNG) ? mlRI : 0);
        return 0;
    }
    int waiting(int &count) override
    {
        count = 0;
        return ::ioctl(fd_, FIONREAD, &count) == 0 ? 0 : errno;
    }
    int read(char *buffer, int count, int &got) override
    {
        got = 0;
        const ssize_t n = ::read(fd_, buffer, size_t(count));
        if (n < 0)
            return errno == EAGAIN ? 0 : errno;
        got = int(n);
        return 0;
    }
    int purge() override { return ::tcflush(fd_, TCIOFLUSH) == 0 ? 0 : errno; }

private:
    int fd_;
};

} // namespace

bool toTermios(const ComLineSettings &s, termios &t)
{
    t.c_iflag = 0;
    t.c_oflag = 0;
    t.c_lflag = 0;
    t.c_cflag = CLOCAL | CREAD | HUPCL;
    static const tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    t.c_cflag |= sizes[qBound(5, s.dataBits, 8) - 5];
    switch (s.parity) {
    case prNone: break;
    case prOdd: t.c_cflag |= PARENB | PARODD; break;
    case prEven: t.c_cflag |= PARENB; break;
    case prMark: t.c_cflag |= PARENB | PARODD | CMSPAR; break;
    case prSpace: t.c_cflag |= PARENB | CMSPAR; break;
    }
    if (s.parityCheck)
        t.c_iflag |= INPCK;
    if (s.twoStopBits)
        t.c_cflag |= CSTOPB;
    if (s.ctsFlow)
        t.c_cflag |= CRTSCTS;
    if (s.xonXoffOut)
        t.c_iflag |= IXON;
    if (s.xonXoffIn)
        t.c_iflag |= IXOFF;
    t.c_cc[VSTART] = cc_t(s.xonChar);
    t.c_cc[VSTOP] = cc_t(s.xoffChar);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    speed_t speed = standardSpeed(s.speed);
    const bool custom = speed == B0;
    if (custom)
        speed = B38400; // replaced through termios2
    ::cfsetispeed(&t, speed);
    ::cfsetospeed(&t, speed);
    return custom;
}

std::unique_ptr<ComDevice> openTermiosDevice(const QString &path, int &error)
{
    // Non-blocking with CLOCAL set at once: otherwise the open waits for carrier.
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return nullptr;
    }
    termios t {};
    if (!::isatty(fd) || ::tcgetattr(fd, &t) != 0) {
        error = ENOTTY;
        ::close(fd);
        return nullptr;
    }
    t.c_cflag |= CLOCAL | CREAD;
    if (::tcsetattr(fd, TCSANOW, &t) != 0 || ::ioctl(fd, TIOCEXCL) != 0) {
        error = errno;
        ::close(fd);
        return nullptr;
    }
    error = 0;
    return std::make_unique<TermiosDevice>(fd);
}
