#include "stk200_dongle.h"

void Stk200Dongle::writeData(uint8_t value)
{
    const uint8_t old = data_;
    data_ = value;
    const bool wasInReset = targetInReset(old), inReset = targetInReset(value);
    if (wasInReset && !inReset) {
        finish();
        return;
    }
    if (!wasInReset && inReset) {
        chipPresent_ = target_.sessionStarts();
        in_ = out_ = 0;
        bits_ = count_ = 0;
        return;
    }
    if (!inReset)
        return;
    const bool sckWas = old & kSck, sck = value & kSck;
    if (!sckWas && sck) {
        in_ = uint8_t(in_ << 1 | ((value & kMosi) ? 1 : 0));
        ++bits_;
    } else if (sckWas && !sck) {
        if (bits_ == 8)
            byteShiftedIn();
        else
            out_ = uint8_t(out_ << 1);
    }
}

// The shift register returns byte k as output byte k + 1, except that after
// the third byte it holds the chip's answer.
void Stk200Dongle::byteShiftedIn()
{
    bytes_[count_++] = in_;
    out_ = in_;
    bits_ = 0;
    if (count_ == 3) {
        out_ = target_.instructions(held_ ? heldBytes_.data() : nullptr, bytes_.data());
        held_ = false;
    } else if (count_ == 4) {
        heldBytes_ = bytes_;
        held_ = true;
        count_ = 0;
    }
}

void Stk200Dongle::finish()
{
    if (held_)
        target_.instructions(heldBytes_.data(), nullptr);
    held_ = false;
    bits_ = count_ = 0;
}

uint8_t Stk200Dongle::status() const
{
    const bool driven = chipPresent_ && targetInReset(data_) && !(data_ & kBufferFromTarget);
    const bool miso = driven ? (out_ & 0x80) != 0 : true;
    // Pins 15, 13 and 12 float high; BUSY (pin 11) is inverted in the register.
    return uint8_t(0x3F | (miso ? kMisoStatus : 0));
}
