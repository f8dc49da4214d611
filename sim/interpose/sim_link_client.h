#pragma once
// An interposer's end of the request link (sim/README.md, "Request link"):
// one connection per process to the address in FUSEWRIGHT_SIM_SOCKET.

#include <cstddef>
#include <cstdint>

struct LinkAnswer {
    int32_t status = 0;
    std::size_t size = 0; // payload bytes received
    uint8_t payload[0xFFFF];
};

// Sends one request and waits for its answer. False when no simulator can be
// reached (no address, nobody listening, connection lost).
bool linkRequest(uint8_t kind, const uint8_t *payload, std::size_t size, LinkAnswer &answer);
