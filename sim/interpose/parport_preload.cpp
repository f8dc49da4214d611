// The ppdev calls of avrdude's ppi.c, for an avrdude started with LD_PRELOAD:
// opening /dev/parport0 or /dev/parport1 asks the simulator whether the port
// exists and may be opened; an opened port is a descriptor on /dev/null whose
// ppdev ioctls drive a virtual pony-stk200 dongle (stk200_dongle.h). Every
// other path and descriptor goes to the C library. Without a simulator the
// ports are the machine's own.

#include "link_frame.h"
#include "sim_link_client.h"
#include "stk200_dongle.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <linux/ioctl.h>
#include <linux/parport.h>
#include <linux/ppdev.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <memory>

namespace {

template <typename F> F real(const char *name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

class LinkTarget : public DongleTarget {
public:
    bool sessionStarts() override
    {
        LinkAnswer a;
        return linkRequest(FW_LINK_ISP_RESET, nullptr, 0, a) && a.status == 1;
    }
    uint8_t instructions(const uint8_t *finished, const uint8_t *begun) override
    {
        uint8_t payload[7];
        std::size_t n = 0;
        if (finished) {
            std::memcpy(payload, finished, 4);
            n = 4;
        }
        if (begun) {
            std::memcpy(payload + n, begun, 3);
            n += 3;
        }
        LinkAnswer a;
        return linkRequest(FW_LINK_ISP_BITBANG, payload, n, a) && a.status == 0 && a.size == 1 ? a.payload[0] : 0;
    }
};

struct VirtualPort {
    int fd = -1;
    bool claimed = false;
    int mode = IEEE1284_MODE_COMPAT;
    int direction = 0;
    LinkTarget target;
    Stk200Dongle dongle{target};
};

std::unique_ptr<VirtualPort> ports[2];

VirtualPort *portOf(int fd)
{
    for (auto &p : ports)
        if (p && p->fd == fd)
            return p.get();
    return nullptr;
}

// -1: not a port of ours; else 0 or 1.
int portNumber(const char *path)
{
    if (!path)
        return -1;
    if (std::strcmp(path, "/dev/parport0") == 0)
        return 0;
    if (std::strcmp(path, "/dev/parport1") == 0)
        return 1;
    return -1;
}

// Returns -2 when the simulator does not decide (the call goes on to the
// C library), else the descriptor or -1 with errno set.
int openVirtual(const char *path, int flags)
{
    const int number = portNumber(path);
    if (number < 0)
        return -2;
    const uint8_t payload = uint8_t(number);
    LinkAnswer a;
    if (!linkRequest(FW_LINK_PARPORT_OPEN, &payload, 1, a))
        return -2;
    if (a.status != 0) {
        errno = a.status > 0 ? a.status : EIO;
        return -1;
    }
    if (ports[number]) {
        errno = EBUSY;
        return -1;
    }
    auto open = real<int (*)(const char *, int, ...)>("open");
    const int fd = open("/dev/null", O_RDWR | (flags & O_CLOEXEC));
    if (fd < 0)
        return -1;
    ports[number] = std::make_unique<VirtualPort>();
    ports[number]->fd = fd;
    return fd;
}

int fail(int error)
{
    errno = error;
    return -1;
}

int portIoctl(VirtualPort &port, unsigned long request, void *arg)
{
    auto *byte = static_cast<unsigned char *>(arg);
    auto *number = static_cast<int *>(arg);
    switch (request) {
    case PPCLAIM:
    case PPEXCL:
        port.claimed = true;
        return 0;
    case PPRELEASE:
        port.claimed = false;
        return 0;
    case PPSETMODE:
        port.mode = *number;
        return 0;
    case PPGETMODE:
        *number = port.mode;
        return 0;
    case PPYIELD:
        return 0;
    }
    if (!port.claimed)
        return fail(EINVAL);
    switch (request) {
    case PPRDATA:
        *byte = port.dongle.data();
        return 0;
    case PPWDATA:
        if (!port.direction)
            port.dongle.writeData(*byte);
        return 0;
    case PPRSTATUS:
        *byte = port.dongle.status();
        return 0;
    case PPRCONTROL:
        *byte = port.dongle.control();
        return 0;
    case PPWCONTROL:
        port.dongle.writeControl(*byte);
        return 0;
    case PPFCONTROL: {
        const auto *frob = static_cast<const ppdev_frob_struct *>(arg);
        port.dongle.writeControl(uint8_t((port.dongle.control() & ~frob->mask) | (frob->val & frob->mask)));
        return 0;
    }
    case PPDATADIR:
        port.direction = *number;
        return 0;
    case PPNEGOT:
        port.mode = *number;
        return 0;
    default:
        return fail(ENOTTY);
    }
}

mode_t modeArgument(int flags, va_list args)
{
    return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? mode_t(va_arg(args, int)) : 0;
}

} // namespace

extern "C" {

int open(const char *path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeArgument(flags, args);
    va_end(args);
    const int fd = openVirtual(path, flags);
    return fd != -2 ? fd : real<int (*)(const char *, int, ...)>("open")(path, flags, mode);
}

int open64(const char *path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeArgument(flags, args);
    va_end(args);
    const int fd = openVirtual(path, flags);
    return fd != -2 ? fd : real<int (*)(const char *, int, ...)>("open64")(path, flags, mode);
}

int __open_2(const char *path, int flags)
{
    const int fd = openVirtual(path, flags);
    return fd != -2 ? fd : real<int (*)(const char *, int)>("__open_2")(path, flags);
}

int openat(int dir, const char *path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeArgument(flags, args);
    va_end(args);
    const int fd = openVirtual(path, flags);
    return fd != -2 ? fd : real<int (*)(int, const char *, int, ...)>("openat")(dir, path, flags, mode);
}

int openat64(int dir, const char *path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeArgument(flags, args);
    va_end(args);
    const int fd = openVirtual(path, flags);
    return fd != -2 ? fd : real<int (*)(int, const char *, int, ...)>("openat64")(dir, path, flags, mode);
}

int close(int fd)
{
    for (auto &p : ports) {
        if (p && p->fd == fd) {
            p->dongle.finish();
            p.reset();
        }
    }
    return real<int (*)(int)>("close")(fd);
}

int ioctl(int fd, unsigned long request, ...)
{
    va_list args;
    va_start(args, request);
    void *arg = va_arg(args, void *);
    va_end(args);
    if (VirtualPort *port = portOf(fd))
        return portIoctl(*port, request, arg);
    return real<int (*)(int, unsigned long, void *)>("ioctl")(fd, request, arg);
}

} // extern "C"
