// The libusb-1.0 calls of avrdude's usbasp.c: the simulator's device comes
// first in every device list, and requests to it go over the link. With
// LD_PRELOAD every other device and call goes to the real libusb-1.0; in the
// Windows stand-in DLL there is no other device.

#include "link_frame.h"
#include "virtual_usb_device.h"

#include <libusb-1.0/libusb.h>

#include <cstdlib>
#include <cstring>

#ifdef _WIN32
template <typename F> static F next(const char *)
{
    return nullptr;
}
#define FW_EXPORT extern "C" __declspec(dllexport)
#else
#include <dlfcn.h>
template <typename F> static F next(const char *name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}
#define FW_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

// Callers only pass these pointers back to the calls below.
char deviceObject;
char handleObject;
libusb_device *const kVirtualDevice = reinterpret_cast<libusb_device *>(&deviceObject);
libusb_device_handle *const kVirtualHandle = reinterpret_cast<libusb_device_handle *>(&handleObject);
VirtualUsbDevice device;

int libusbError(int n)
{
    if (n == kVirtualUsbGone)
        return LIBUSB_ERROR_NO_DEVICE;
    return n < 0 ? LIBUSB_ERROR_PIPE : n;
}

} // namespace

FW_EXPORT int LIBUSB_CALL libusb_init(libusb_context **ctx)
{
    auto real = next<int(LIBUSB_CALL *)(libusb_context **)>("libusb_init");
    if (real)
        return real(ctx);
    if (ctx)
        *ctx = nullptr;
    return LIBUSB_SUCCESS;
}

FW_EXPORT void LIBUSB_CALL libusb_exit(libusb_context *ctx)
{
    if (auto real = next<void(LIBUSB_CALL *)(libusb_context *)>("libusb_exit"))
        real(ctx);
}

// Our list is the virtual device, the real list's devices, a null, then the
// real list itself, so that freeing ours frees it as well.
FW_EXPORT ssize_t LIBUSB_CALL libusb_get_device_list(libusb_context *ctx, libusb_device ***list)
{
    libusb_device **realList = nullptr;
    ssize_t realCount = 0;
    if (auto real = next<ssize_t(LIBUSB_CALL *)(libusb_context *, libusb_device ***)>("libusb_get_device_list")) {
        realCount = real(ctx, &realList);
        if (realCount < 0)
            realCount = 0, realList = nullptr;
    }
    device = queryVirtualUsbDevice();
    const ssize_t ours = device.state != FW_LINK_NO_DEVICE ? 1 : 0;
    auto **all = static_cast<libusb_device **>(std::calloc(std::size_t(ours + realCount + 2), sizeof(libusb_device *)));
    if (!all)
        return LIBUSB_ERROR_NO_MEM;
    if (ours)
        all[0] = kVirtualDevice;
    for (ssize_t i = 0; i < realCount; ++i)
        all[ours + i] = realList[i];
    all[ours + realCount + 1] = reinterpret_cast<libusb_device *>(realList);
    *list = all;
    return ours + realCount;
}

FW_EXPORT void LIBUSB_CALL libusb_free_device_list(libusb_device **list, int unref_devices)
{
    if (!list)
        return;
    ssize_t n = 0;
    while (list[n])
        ++n;
    auto **realList = reinterpret_cast<libusb_device **>(list[n + 1]);
    if (realList)
        next<void(LIBUSB_CALL *)(libusb_device **, int)>("libusb_free_device_list")(realList, unref_devices);
    std::free(list);
}

FW_EXPORT int LIBUSB_CALL libusb_get_device_descriptor(libusb_device *dev, struct libusb_device_descriptor *desc)
{
    if (dev != kVirtualDevice)
        return next<int(LIBUSB_CALL *)(libusb_device *, libusb_device_descriptor *)>("libusb_get_device_descriptor")(
            dev, desc);
    const uint8_t *d = device.descriptor;
    desc->bLength = d[0];
    desc->bDescriptorType = d[1];
    desc->bcdUSB = uint16_t(d[2] | d[3] << 8);
    desc->bDeviceClass = d[4];
    desc->bDeviceSubClass = d[5];
    desc->bDeviceProtocol = d[6];
    desc->bMaxPacketSize0 = d[7];
    desc->idVendor = uint16_t(d[8] | d[9] << 8);
    desc->idProduct = uint16_t(d[10] | d[11] << 8);
    desc->bcdDevice = uint16_t(d[12] | d[13] << 8);
    desc->iManufacturer = d[14];
    desc->iProduct = d[15];
    desc->iSerialNumber = d[16];
    desc->bNumConfigurations = d[17];
    return LIBUSB_SUCCESS;
}

FW_EXPORT uint8_t LIBUSB_CALL libusb_get_bus_number(libusb_device *dev)
{
    if (dev == kVirtualDevice)
        return 1;
    return next<uint8_t(LIBUSB_CALL *)(libusb_device *)>("libusb_get_bus_number")(dev);
}

FW_EXPORT uint8_t LIBUSB_CALL libusb_get_device_address(libusb_device *dev)
{
    if (dev == kVirtualDevice)
        return 1;
    return next<uint8_t(LIBUSB_CALL *)(libusb_device *)>("libusb_get_device_address")(dev);
}

FW_EXPORT int LIBUSB_CALL libusb_open(libusb_device *dev, libusb_device_handle **handle)
{
    if (dev != kVirtualDevice)
        return next<int(LIBUSB_CALL *)(libusb_device *, libusb_device_handle **)>("libusb_open")(dev, handle);
    if (device.state == FW_LINK_DEVICE_NOT_ACCESSIBLE)
        return LIBUSB_ERROR_ACCESS;
    *handle = kVirtualHandle;
    return LIBUSB_SUCCESS;
}

FW_EXPORT void LIBUSB_CALL libusb_close(libusb_device_handle *handle)
{
    if (handle != kVirtualHandle)
        next<void(LIBUSB_CALL *)(libusb_device_handle *)>("libusb_close")(handle);
}

FW_EXPORT int LIBUSB_CALL libusb_control_transfer(libusb_device_handle *handle, uint8_t request_type, uint8_t bRequest,
                                                  uint16_t wValue, uint16_t wIndex, unsigned char *data,
                                                  uint16_t wLength, unsigned int timeout)
{
    if (handle != kVirtualHandle)
        return next<int(LIBUSB_CALL *)(libusb_device_handle *, uint8_t, uint8_t, uint16_t, uint16_t, unsigned char *,
                                       uint16_t, unsigned int)>("libusb_control_transfer")(
            handle, request_type, bRequest, wValue, wIndex, data, wLength, timeout);
    return libusbError(virtualControlTransfer(request_type, bRequest, wValue, wIndex, data, wLength));
}

FW_EXPORT int LIBUSB_CALL libusb_get_string_descriptor_ascii(libusb_device_handle *handle, uint8_t desc_index,
                                                             unsigned char *data, int length)
{
    if (handle != kVirtualHandle)
        return next<int(LIBUSB_CALL *)(libusb_device_handle *, uint8_t, unsigned char *, int)>(
            "libusb_get_string_descriptor_ascii")(handle, desc_index, data, length);
    return libusbError(virtualStringAscii(desc_index, reinterpret_cast<char *>(data), length));
}
