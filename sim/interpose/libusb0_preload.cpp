// The libusb-0.1 calls of avrdude's usbasp.c, for an avrdude started with
// LD_PRELOAD: the simulator's device is put in front of the real bus list,
// and requests to it go over the link. Everything else goes to the real
// libusb-0.1, which is looked up on first use.

#include "link_frame.h"
#include "virtual_usb_device.h"

#include <dlfcn.h>
#include <usb.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

template <typename F> F real(const char *name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

struct usb_bus virtualBus;
struct usb_device virtualDevice;
int virtualState = FW_LINK_NO_DEVICE;
// avrdude reads a handle only through these calls, so any unique address does.
char virtualHandle;
usb_dev_handle *const kVirtualHandle = reinterpret_cast<usb_dev_handle *>(&virtualHandle);

char lastError[128];
bool lastErrorIsOurs = false;

// As libusb-0.1 says it when the kernel refuses a control request.
int failed(int error)
{
    std::snprintf(lastError, sizeof lastError, "error sending control message: %s", std::strerror(error));
    lastErrorIsOurs = true;
    return -error;
}

int transfer(int requestType, int request, int value, int index, char *bytes, int size)
{
    if (virtualState == FW_LINK_DEVICE_NOT_ACCESSIBLE)
        return failed(EPERM);
    const int n = virtualControlTransfer(uint8_t(requestType), uint8_t(request), uint16_t(value), uint16_t(index),
                                         reinterpret_cast<uint8_t *>(bytes), uint16_t(size));
    if (n == kVirtualUsbGone)
        return failed(ENODEV);
    return n < 0 ? failed(EPIPE) : n;
}

} // namespace

extern "C" {

int usb_find_devices(void)
{
    lastErrorIsOurs = false;
    auto next = real<int (*)()>("usb_find_devices");
    const int found = next ? next() : 0;
    const VirtualUsbDevice d = queryVirtualUsbDevice();
    virtualState = d.state;
    std::memcpy(&virtualDevice.descriptor, d.descriptor, sizeof d.descriptor);
    return found + (virtualState != FW_LINK_NO_DEVICE ? 1 : 0);
}

struct usb_bus *usb_get_busses(void)
{
    auto next = real<struct usb_bus *(*)()>("usb_get_busses");
    struct usb_bus *busses = next ? next() : nullptr;
    if (virtualState == FW_LINK_NO_DEVICE)
        return busses;
    std::strcpy(virtualBus.dirname, "fusewright");
    virtualBus.devices = &virtualDevice;
    virtualBus.next = busses;
    std::strcpy(virtualDevice.filename, "001");
    virtualDevice.bus = &virtualBus;
    virtualDevice.devnum = 1;
    return &virtualBus;
}

usb_dev_handle *usb_open(struct usb_device *dev)
{
    if (dev != &virtualDevice) {
        lastErrorIsOurs = false;
        return real<usb_dev_handle *(*)(struct usb_device *)>("usb_open")(dev);
    }
    // libusb-0.1 falls back to opening the device read-only; refusals come with the first request.
    return kVirtualHandle;
}

int usb_close(usb_dev_handle *dev)
{
    if (dev == kVirtualHandle)
        return 0;
    lastErrorIsOurs = false;
    return real<int (*)(usb_dev_handle *)>("usb_close")(dev);
}

int usb_control_msg(usb_dev_handle *dev, int requesttype, int request, int value, int index, char *bytes, int size,
                    int timeout)
{
    if (dev == kVirtualHandle)
        return transfer(requesttype, request, value, index, bytes, size);
    lastErrorIsOurs = false;
    return real<int (*)(usb_dev_handle *, int, int, int, int, char *, int, int)>("usb_control_msg")(
        dev, requesttype, request, value, index, bytes, size, timeout);
}

int usb_get_string_simple(usb_dev_handle *dev, int index, char *buf, size_t buflen)
{
    if (dev != kVirtualHandle) {
        lastErrorIsOurs = false;
        return real<int (*)(usb_dev_handle *, int, char *, size_t)>("usb_get_string_simple")(dev, index, buf, buflen);
    }
    if (virtualState == FW_LINK_DEVICE_NOT_ACCESSIBLE)
        return failed(EPERM);
    const int n = virtualStringAscii(uint8_t(index), buf, int(buflen));
    if (n == kVirtualUsbGone)
        return failed(ENODEV);
    return n < 0 ? failed(EPIPE) : n;
}

char *usb_strerror(void)
{
    if (lastErrorIsOurs)
        return lastError;
    return real<char *(*)()>("usb_strerror")();
}

} // extern "C"
