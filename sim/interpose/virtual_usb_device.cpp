#include "virtual_usb_device.h"

#include "link_frame.h"
#include "sim_link_client.h"

#include <cstring>
#include <vector>

VirtualUsbDevice queryVirtualUsbDevice()
{
    VirtualUsbDevice d;
    static LinkAnswer answer;
    if (linkRequest(FW_LINK_USB_DEVICE, nullptr, 0, answer) && answer.size == sizeof d.descriptor) {
        d.state = answer.status;
        std::memcpy(d.descriptor, answer.payload, sizeof d.descriptor);
    }
    return d;
}

int virtualControlTransfer(uint8_t requestType, uint8_t request, uint16_t value, uint16_t index, uint8_t *data,
                           uint16_t length)
{
    const bool in = requestType & 0x80;
    std::vector<uint8_t> frame{
        requestType,         request,         uint8_t(value),      uint8_t(value >> 8), uint8_t(index),
        uint8_t(index >> 8), uint8_t(length), uint8_t(length >> 8)};
    if (!in && length)
        frame.insert(frame.end(), data, data + length);
    static LinkAnswer answer;
    if (!linkRequest(FW_LINK_USB_CONTROL, frame.data(), frame.size(), answer)
        || answer.status == FW_LINK_STATUS_NO_DEVICE)
        return kVirtualUsbGone;
    if (answer.status < 0)
        return kVirtualUsbStall;
    if (in) {
        const std::size_t n = answer.size < length ? answer.size : length;
        std::memcpy(data, answer.payload, n);
        return int(n);
    }
    return answer.status;
}

int virtualStringAscii(uint8_t index, char *out, int capacity)
{
    if (capacity <= 0)
        return kVirtualUsbStall;
    uint8_t d[255];
    int n = virtualControlTransfer(0x80, 6, 0x0300, 0, d, sizeof d); // the language list
    if (n < 4)
        return n < 0 ? n : kVirtualUsbStall;
    const uint16_t language = uint16_t(d[2] | d[3] << 8);
    n = virtualControlTransfer(0x80, 6, uint16_t(0x0300 | index), language, d, sizeof d);
    if (n < 2 || d[1] != 3)
        return n < 0 ? n : kVirtualUsbStall;
    int length = 0;
    for (int i = 2; i + 1 < n && i + 1 < d[0] && length < capacity - 1; i += 2)
        out[length++] = d[i + 1] == 0 && d[i] < 0x80 ? char(d[i]) : '?';
    out[length] = '\0';
    return length;
}
