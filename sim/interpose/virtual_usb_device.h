#pragma once
// The simulator's USB device as every libusb interposer presents it. Each
// call is one request over the link; the simulator decides the answers.

#include <cstdint>

struct VirtualUsbDevice {
    int state = 0; // FW_LINK_NO_DEVICE, _DEVICE_PRESENT or _DEVICE_NOT_ACCESSIBLE
    uint8_t descriptor[18] = {};
};

constexpr int kVirtualUsbStall = -1;
// The device is gone: pulled out, or the simulator cannot be reached. The
// libraries say so as for a real device unplugged: libusb-0.1 ENODEV,
// libusb-1.0 LIBUSB_ERROR_NO_DEVICE.
constexpr int kVirtualUsbGone = -2;

// No device when the simulator cannot be reached.
VirtualUsbDevice queryVirtualUsbDevice();

// Returns the bytes moved (IN data lands in data), or one of the errors above.
int virtualControlTransfer(uint8_t requestType, uint8_t request, uint16_t value, uint16_t index, uint8_t *data,
                           uint16_t length);

// String descriptor `index` in the first language, as ASCII with '?' for
// other characters, NUL-terminated; the length, or an error above.
int virtualStringAscii(uint8_t index, char *out, int capacity);
