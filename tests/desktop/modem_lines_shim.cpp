// Preloaded into the program by the desktop test. A pseudo-terminal has no
// modem lines (TIOCMGET gives ENOTTY), so where the device refuses them this
// keeps DTR and RTS here and writes every change to the file named by
// MODEM_LINES_LOG: one line "<milliseconds> <DTR 0|1> <RTS 0|1>".

#include <sys/ioctl.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dlfcn.h>

namespace {

int lines = 0;

long long nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

void record(int previous)
{
    if (previous == lines)
        return;
    if (const char *path = std::getenv("MODEM_LINES_LOG")) {
        if (FILE *f = std::fopen(path, "a")) {
            std::fprintf(f, "%lld %d %d\n", nowMs(), (lines & TIOCM_DTR) ? 1 : 0, (lines & TIOCM_RTS) ? 1 : 0);
            std::fclose(f);
        }
    }
}

} // namespace

extern "C" int ioctl(int fd, unsigned long request, ...)
{
    using Real = int (*)(int, unsigned long, ...);
    static Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "ioctl"));
    va_list args;
    va_start(args, request);
    void *argument = va_arg(args, void *);
    va_end(args);
    const int result = real(fd, request, argument);
    if (result == 0 || (errno != ENOTTY && errno != EINVAL))
        return result;
    int *bits = static_cast<int *>(argument);
    const int previous = lines;
    switch (request) {
    case TIOCMGET:
        *bits = lines;
        return 0;
    case TIOCMSET:
        lines = *bits;
        break;
    case TIOCMBIS:
        lines |= *bits;
        break;
    case TIOCMBIC:
        lines &= ~*bits;
        break;
    default:
        return result;
    }
    record(previous);
    return 0;
}
