#pragma once
/* The request link between an interposer and the simulator (sim/README.md,
 * "Request link"). Plain C so that every interposer can include it. */

#include <stdint.h>

#define FW_LINK_ENV "FUSEWRIGHT_SIM_SOCKET"

/* Request: kind, 0, payload length (little-endian), payload. */
#define FW_LINK_REQUEST_HEADER 4
/* Answer: status (int32, little-endian), payload length (little-endian), payload. */
#define FW_LINK_ANSWER_HEADER 6
#define FW_LINK_MAX_PAYLOAD 0xFFFF

enum {
    FW_LINK_USB_DEVICE = 'D',      /* -> 0 none, 1 present, 2 not accessible; device descriptor */
    FW_LINK_USB_CONTROL = 'U',     /* setup packet + OUT data -> bytes moved or -1; IN data */
    FW_LINK_ISP_INSTRUCTION = 'I', /* 4 bytes -> 4; the 4 bytes shifted out */
    FW_LINK_PARPORT_OPEN = 'O',    /* port number -> 0, or the errno open() fails with */
    FW_LINK_ISP_RESET = 'R',       /* none -> 1 chip present, 0 none; a programming session starts */
    FW_LINK_ISP_BITBANG = 'B',     /* [4 bytes to carry out][3 bytes begun] -> the 4th output byte of those */
};

enum {
    FW_LINK_NO_DEVICE = 0,
    FW_LINK_DEVICE_PRESENT = 1,
    FW_LINK_DEVICE_NOT_ACCESSIBLE = 2,
};

#define FW_LINK_STATUS_STALL (-1)
/* The USB device was pulled out: the request reached no device. */
#define FW_LINK_STATUS_NO_DEVICE (-2)
