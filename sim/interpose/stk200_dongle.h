#pragma once

#include <array>
#include <cstdint>

// The simulator as the dongle's target side sees it (see ParportProgrammer).
class DongleTarget {
public:
    virtual ~DongleTarget() = default;
    // RESET went low with the buffer on. True when a chip answers.
    virtual bool sessionStarts() = 0;
    // finished: a whole instruction or null; begun: its successor's first
    // three bytes or null. Returns the byte the chip shifts out with begun's
    // 4th byte.
    virtual uint8_t instructions(const uint8_t *finished, const uint8_t *begun) = 0;
};

// An stk200 / pony-stk200 dongle as built, on a parallel port's registers,
// with the target's SPI modelled bit by bit (mode 0). Data register: pin 4
// (D2) and pin 5 (D3) enable the two halves of the 74HC244 buffer, active
// low; the first carries SCK (pin 6, D4), MOSI (pin 7, D5) and RESET (pin 9,
// D7) to the target, the second brings MISO back to pin 10 (ACK, status bit
// 6). A line the buffer does not drive floats high.
class Stk200Dongle {
public:
    static constexpr uint8_t kBufferToTarget = 0x04;
    static constexpr uint8_t kBufferFromTarget = 0x08;
    static constexpr uint8_t kSck = 0x10;
    static constexpr uint8_t kMosi = 0x20;
    static constexpr uint8_t kReset = 0x80;
    static constexpr uint8_t kMisoStatus = 0x40;
    // Lines as an idle port leaves them: everything high, both buffers off.
    static constexpr uint8_t kIdleData = 0xFF;

    explicit Stk200Dongle(DongleTarget &target) : target_(target) {}

    void writeData(uint8_t value);
    uint8_t data() const { return data_; }
    uint8_t status() const;
    void writeControl(uint8_t value) { control_ = value; }
    uint8_t control() const { return control_; }

    // The port is closed: an instruction still held reaches the chip.
    void finish();

private:
    bool targetInReset(uint8_t data) const { return !(data & kBufferToTarget) && !(data & kReset); }
    void byteShiftedIn();

    DongleTarget &target_;
    uint8_t data_ = kIdleData;
    uint8_t control_ = 0x0C;

    bool chipPresent_ = false;
    uint8_t in_ = 0, out_ = 0; // the target's shift register, both directions
    unsigned bits_ = 0;        // bits of the current byte sampled so far
    unsigned count_ = 0;       // whole bytes of the current instruction
    std::array<uint8_t, 4> bytes_{};
    bool held_ = false; // bytes_ of the last instruction, not yet handed over
    std::array<uint8_t, 4> heldBytes_{};
};
