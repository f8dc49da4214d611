#include "usbasp_programmer.h"

#include "chip.h"
#include "isp_instruction.h"
#include "link_frame.h"

#include <cstdio>

namespace {

constexpr uint8_t kGetDescriptor = 6;
constexpr uint8_t kDeviceDescriptor = 1;
constexpr uint8_t kStringDescriptor = 3;
constexpr uint8_t kBlockFirst = 1;
constexpr uint8_t kBlockLast = 2;
constexpr uint8_t kCapabilityTpi = 0x01;

std::string hex(unsigned v, int digits)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%0*X", digits, v);
    return buf;
}

const char *functionName(uint8_t f)
{
    switch (f) {
    case UsbaspProgrammer::Connect:
        return "CONNECT";
    case UsbaspProgrammer::Disconnect:
        return "DISCONNECT";
    case UsbaspProgrammer::Transmit:
        return "TRANSMIT";
    case UsbaspProgrammer::ReadFlash:
        return "READFLASH";
    case UsbaspProgrammer::EnableProg:
        return "ENABLEPROG";
    case UsbaspProgrammer::WriteFlash:
        return "WRITEFLASH";
    case UsbaspProgrammer::ReadEeprom:
        return "READEEPROM";
    case UsbaspProgrammer::WriteEeprom:
        return "WRITEEEPROM";
    case UsbaspProgrammer::SetLongAddress:
        return "SETLONGADDRESS";
    case UsbaspProgrammer::SetIspSck:
        return "SETISPSCK";
    case UsbaspProgrammer::GetCapabilities:
        return "GETCAPABILITIES";
    default:
        return "unknown function";
    }
}

// A string descriptor: length, type, then the text in UTF-16LE.
std::string stringDescriptor(const std::string &ascii)
{
    std::string d;
    d += char(2 + 2 * ascii.size());
    d += char(kStringDescriptor);
    for (char c : ascii) {
        d += c;
        d += '\0';
    }
    return d;
}

} // namespace

UsbSetup UsbSetup::parse(const uint8_t *p)
{
    UsbSetup s;
    s.requestType = p[0];
    s.request = p[1];
    s.value = uint16_t(p[2] | p[3] << 8);
    s.index = uint16_t(p[4] | p[5] << 8);
    s.length = uint16_t(p[6] | p[7] << 8);
    return s;
}

bool parseUsbaspMode(const std::string &text, UsbaspMode &mode)
{
    static const struct {
        const char *name;
        UsbaspMode mode;
    } names[] = {
        {"normal", UsbaspMode::Normal},      {"absent", UsbaspMode::Absent},
        {"no-access", UsbaspMode::NoAccess}, {"old-firmware", UsbaspMode::OldFirmware},
        {"old-ids", UsbaspMode::OldIds},
    };
    for (const auto &n : names) {
        if (text == n.name) {
            mode = n.mode;
            return true;
        }
    }
    return false;
}

UsbaspProgrammer::UsbaspProgrammer(Chip &chip, UsbaspMode mode, ProgrammerEvents *events)
    : chip_(chip), mode_(mode), events_(events)
{}

int UsbaspProgrammer::deviceState() const
{
    switch (mode_) {
    case UsbaspMode::Absent:
        return FW_LINK_NO_DEVICE;
    case UsbaspMode::NoAccess:
        return FW_LINK_DEVICE_NOT_ACCESSIBLE;
    default:
        return FW_LINK_DEVICE_PRESENT;
    }
}

std::array<uint8_t, 18> UsbaspProgrammer::deviceDescriptor() const
{
    const bool old = mode_ == UsbaspMode::OldIds;
    const uint16_t vid = old ? kOldVendorId : kVendorId;
    const uint16_t pid = old ? kOldProductId : kProductId;
    // USB 1.1, vendor class, 8-byte control endpoint, version 1.04,
    // manufacturer string 1, product string 2, no serial number, 1 configuration.
    return {18,           kDeviceDescriptor, 0x10, 0x01, 0xFF, 0x00, 0x00, 8, uint8_t(vid), uint8_t(vid >> 8),
            uint8_t(pid), uint8_t(pid >> 8), 0x04, 0x01, 1,    2,    0,    1};
}

bool UsbaspProgrammer::knows(uint8_t function) const
{
    if (mode_ == UsbaspMode::OldFirmware)
        return function >= Connect && function <= WriteEeprom;
    return (function >= Connect && function <= SetIspSck) || function == GetCapabilities;
}

void UsbaspProgrammer::busScanned()
{
    if (pulledOut_ && events_)
        events_->commandServed("usb plugged in again");
    pulledOut_ = false;
}

int UsbaspProgrammer::controlTransfer(const UsbSetup &setup, const uint8_t *out, std::size_t outSize, std::string &in)
{
    in.clear();
    if (pulledOut_)
        return FW_LINK_STATUS_NO_DEVICE;
    if (vanishAfter_ && transfers_ == vanishAfter_) {
        pulledOut_ = true;
        vanishAfter_ = 0; // once only
        if (events_)
            events_->commandServed("usb pulled out");
        return FW_LINK_STATUS_NO_DEVICE;
    }
    ++transfers_;
    if (deviceState() != FW_LINK_DEVICE_PRESENT)
        return FW_LINK_STATUS_STALL;
    if ((setup.requestType & 0x60) == 0x00)
        return standardRequest(setup, in);
    if ((setup.requestType & 0x60) != 0x40)
        return FW_LINK_STATUS_STALL;

    changed_ = 0;
    std::string what;
    const int moved = vendorRequest(setup, out, outSize, in, what);
    if (changed_ && events_)
        events_->chipChanged(changed_);
    if (events_)
        events_->commandServed(std::string("usb ") + functionName(setup.request) + what + " -> " + std::to_string(moved)
                               + " bytes");
    return moved;
}

int UsbaspProgrammer::standardRequest(const UsbSetup &setup, std::string &in)
{
    if (setup.request != kGetDescriptor || !setup.deviceToHost())
        return 0;
    const uint8_t type = uint8_t(setup.value >> 8);
    const uint8_t index = uint8_t(setup.value);
    if (type == kDeviceDescriptor) {
        const auto d = deviceDescriptor();
        in.assign(d.begin(), d.end());
    } else if (type == kStringDescriptor && index == 0) {
        in = std::string("\x04\x03\x09\x04", 4); // US English only
    } else if (type == kStringDescriptor && index == 1) {
        in = stringDescriptor(kManufacturer);
    } else if (type == kStringDescriptor && index == 2) {
        in = stringDescriptor(kProduct);
    } else {
        return FW_LINK_STATUS_STALL;
    }
    if (in.size() > setup.length)
        in.resize(setup.length);
    return int(in.size());
}

std::array<uint8_t, 4> UsbaspProgrammer::isp(uint8_t a, uint8_t b, uint8_t c, uint8_t d, std::string *what)
{
    const IspOutcome r = executeIspInstruction(chip_, {a, b, c, d});
    changed_ |= r.changed;
    if (what)
        *what += ": " + r.description;
    if (!chip_.present())
        return {0, 0, 0, 0}; // nothing drives MISO
    // While a byte goes out the chip returns the one before it.
    return {0xFF, a, b, r.output};
}

int UsbaspProgrammer::vendorRequest(const UsbSetup &setup, const uint8_t *out, std::size_t outSize, std::string &in,
                                    std::string &what)
{
    const uint8_t f = setup.request;
    if (!knows(f))
        return 0;
    // The firmware reads its four arguments as data[2] to data[5].
    const uint8_t arg[4] = {uint8_t(setup.value), uint8_t(setup.value >> 8), uint8_t(setup.index),
                            uint8_t(setup.index >> 8)};
    auto reply = [&](std::initializer_list<uint8_t> bytes) {
        for (uint8_t b : bytes)
            if (in.size() < setup.length)
                in += char(b);
        return int(in.size());
    };

    switch (f) {
    case Connect:
        longAddress_ = false;
        return 0;
    case Disconnect:
        return 0;
    case Transmit: {
        const auto r = isp(arg[0], arg[1], arg[2], arg[3], &what);
        return reply({r[0], r[1], r[2], r[3]});
    }
    case EnableProg: {
        if (events_)
            events_->sessionStarting();
        // The firmware tries 32 times for the echo of 0x53; one try tells here.
        const auto r = isp(0xAC, 0x53, 0x00, 0x00);
        const bool answered = r[2] == 0x53;
        what = answered ? ": target answers" : ": target does not answer";
        return reply({uint8_t(answered ? 0 : 1)});
    }
    case SetLongAddress:
        address_ = uint32_t(arg[0] | arg[1] << 8 | arg[2] << 16 | uint32_t(arg[3]) << 24);
        longAddress_ = true;
        what = " " + hex(address_, 4);
        return 0;
    case SetIspSck:
        what = " option " + std::to_string(arg[0]);
        return reply({0});
    case GetCapabilities:
        return reply({kCapabilityTpi, 0, 0, 0});
    case ReadFlash:
    case ReadEeprom: {
        if (!longAddress_)
            address_ = uint32_t(arg[0] | arg[1] << 8);
        what = " " + hex(address_, 4) + ", " + std::to_string(setup.length) + " bytes";
        for (unsigned i = 0; i < setup.length; ++i, ++address_) {
            const uint32_t a = address_;
            const auto r = f == ReadFlash ? isp(uint8_t(0x20 | (a & 1) << 3), uint8_t(a >> 9), uint8_t(a >> 1), 0)
                                          : isp(0xA0, uint8_t(a >> 8), uint8_t(a), 0);
            in += char(r[3]);
        }
        return int(in.size());
    }
    case WriteFlash:
    case WriteEeprom: {
        if (!longAddress_)
            address_ = uint32_t(arg[0] | arg[1] << 8);
        if (f == WriteFlash) {
            pageSize_ = arg[2] | (unsigned(arg[3]) & 0xF0) << 4;
            blockFlags_ = arg[3] & 0x0F;
            if (blockFlags_ & kBlockFirst)
                pageCounter_ = pageSize_;
        } else {
            pageSize_ = 0;
            blockFlags_ = 0;
        }
        what = " " + hex(address_, 4) + ", " + std::to_string(outSize) + " bytes";
        const std::size_t n = outSize < setup.length ? outSize : setup.length;
        for (std::size_t i = 0; i < n; ++i, ++address_) {
            const uint32_t a = address_;
            if (f == WriteEeprom) {
                isp(0xC0, uint8_t(a >> 8), uint8_t(a), out[i]);
                continue;
            }
            isp(uint8_t(0x40 | (a & 1) << 3), uint8_t(a >> 9), uint8_t(a >> 1), out[i]);
            if (pageSize_ && --pageCounter_ == 0) {
                isp(0x4C, uint8_t(a >> 9), uint8_t(a >> 1), 0);
                pageCounter_ = pageSize_;
            }
            if (i + 1 == n && (blockFlags_ & kBlockLast) && pageCounter_ != pageSize_)
                isp(0x4C, uint8_t(a >> 9), uint8_t(a >> 1), 0);
        }
        return int(n);
    }
    default:
        return 0;
    }
}
