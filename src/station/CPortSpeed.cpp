#include "station/CPortSpeed.h"

#include <asm/termbits.h>
#include <cerrno>
#include <sys/ioctl.h>

int setCustomSpeed(int fd, unsigned speed)
{
    struct termios2 t {};
    if (::ioctl(fd, TCGETS2, &t) != 0)
        return errno;
    t.c_cflag &= ~CBAUD;
    t.c_cflag |= BOTHER;
    t.c_cflag &= ~(CBAUD << IBSHIFT);
    t.c_cflag |= BOTHER << IBSHIFT;
    t.c_ispeed = speed;
    t.c_ospeed = speed;
    return ::ioctl(fd, TCSETS2, &t) == 0 ? 0 : errno;
}
