#pragma once

#include "programmer_events.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

class Chip;

// The eight bytes every USB control transfer starts with.
struct UsbSetup {
    uint8_t requestType = 0;
    uint8_t request = 0;
    uint16_t value = 0;
    uint16_t index = 0;
    uint16_t length = 0;

    bool deviceToHost() const { return requestType & 0x80; }
    static UsbSetup parse(const uint8_t *eightBytes);
};

// How the virtual USBasp shows itself on the bus.
enum class UsbaspMode {
    Normal,
    Absent,      // not plugged in
    NoAccess,    // plugged in, but the user may not open it
    OldFirmware, // firmware from before SETISPSCK, SETLONGADDRESS and GETCAPABILITIES
    OldIds,      // the USBasp's first VID/PID, 03eb:c7b4
};

// A USBasp (Thomas Fischl's firmware) as avrdude's usbasp.c drives it: the
// standard descriptor requests and the firmware's vendor requests, each
// carried out with the ISP instructions the firmware itself would send.
// No I/O happens here.
class UsbaspProgrammer {
public:
    enum Function : uint8_t {
        Connect = 1,
        Disconnect = 2,
        Transmit = 3,
        ReadFlash = 4,
        EnableProg = 5,
        WriteFlash = 6,
        ReadEeprom = 7,
        WriteEeprom = 8,
        SetLongAddress = 9,
        SetIspSck = 10,
        GetCapabilities = 127,
    };
    static constexpr uint16_t kVendorId = 0x16c0;
    static constexpr uint16_t kProductId = 0x05dc;
    static constexpr uint16_t kOldVendorId = 0x03eb;
    static constexpr uint16_t kOldProductId = 0xc7b4;
    static constexpr const char *kManufacturer = "www.fischl.de";
    static constexpr const char *kProduct = "USBasp";

    UsbaspProgrammer(Chip &chip, UsbaspMode mode, ProgrammerEvents *events = nullptr);

    // FW_LINK_NO_DEVICE, FW_LINK_DEVICE_PRESENT or FW_LINK_DEVICE_NOT_ACCESSIBLE.
    int deviceState() const;
    // The USBasp is pulled out once it has served this many control
    // transfers (0: never); a bus scan afterwards finds it plugged in again.
    void vanishAfter(unsigned transfers) { vanishAfter_ = transfers; }
    // avrdude looks for its programmer on the bus.
    void busScanned();
    std::array<uint8_t, 18> deviceDescriptor() const;

    // One control transfer. Returns the bytes moved (IN data goes to `in`),
    // FW_LINK_STATUS_STALL for a stalled request, FW_LINK_STATUS_NO_DEVICE
    // once the device has been pulled out.
    int controlTransfer(const UsbSetup &setup, const uint8_t *out, std::size_t outSize, std::string &in);

private:
    int standardRequest(const UsbSetup &setup, std::string &in);
    int vendorRequest(const UsbSetup &setup, const uint8_t *out, std::size_t outSize, std::string &in,
                      std::string &what);
    std::array<uint8_t, 4> isp(uint8_t a, uint8_t b, uint8_t c, uint8_t d, std::string *what = nullptr);
    bool knows(uint8_t function) const;

    Chip &chip_;
    UsbaspMode mode_;
    ProgrammerEvents *events_;
    unsigned changed_ = 0; // ChipPart bits of the request being served
    unsigned vanishAfter_ = 0;
    unsigned transfers_ = 0;
    bool pulledOut_ = false;

    uint32_t address_ = 0;     // byte address of the next block byte
    bool longAddress_ = false; // SETLONGADDRESS gave it, not the block request
    unsigned pageSize_ = 0;
    unsigned pageCounter_ = 0;
    uint8_t blockFlags_ = 0;
};

bool parseUsbaspMode(const std::string &text, UsbaspMode &mode);
