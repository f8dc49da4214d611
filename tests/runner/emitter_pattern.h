#pragma once
// The bytes fw_test_emitter writes for "pattern:N". Neighbouring 256-byte and
// 4 KiB blocks differ, so a lost, repeated or swapped chunk shows.

namespace fw_test {

inline unsigned char patternByte(long i)
{
    return static_cast<unsigned char>(i * 31 + (i >> 8) * 7 + (i >> 16) * 3);
}

} // namespace fw_test
