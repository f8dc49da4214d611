#pragma once

#include "avr910_programmer.h"
#include "link_server.h"
#include "parport_programmer.h"
#include "usbasp_programmer.h"

#include <string>

class Chip;
class ChipStateFiles;
class ProtocolLog;
class PseudoTerminal;

// The single-threaded poll loop: bytes from the pseudo-terminal go to the
// AVR910 programmer, requests from the link to the USBasp or straight to the
// chip; answers go back, chip changes are saved before answering.
class SimServer : public ProgrammerEvents, public LinkRequests {
public:
    // stateFiles and log may be null.
    SimServer(Chip &chip, ChipStateFiles *stateFiles, ProtocolLog *log, PseudoTerminal &port, unsigned blockSize,
              UsbaspMode usbasp = UsbaspMode::Normal, ParportMode parport = ParportMode::Dongle);

    // Serves the request link too; link may be null.
    void setLink(LinkServer *link) { link_ = link; }

    // Serves until a byte arrives on stopFd. Returns the process exit code.
    int run(int stopFd);

    // Reads and drops every byte, as a programmer that is not there.
    void setSilent(bool silent) { silent_ = silent; }
    // The AVR910 hangs up its serial line once it has carried out this many
    // commands (0: never), without answering the last: the pseudo-terminal
    // closes, as a USB-serial adapter's tty does when pulled out.
    void hangUpAfter(unsigned commands) { hangUpAfter_ = commands; }
    void vanishUsbaspAfter(unsigned transfers) { usbasp_.vanishAfter(transfers); }

    void sessionStarting() override;
    void chipChanged(unsigned parts) override;
    void commandServed(const std::string &line) override;

    int32_t serveRequest(uint8_t kind, const std::string &payload, std::string &answer) override;

private:
    bool readAndServe();
    void sendAnswer(const std::string &answer);
    void note(const std::string &line);

    Chip &chip_;
    ChipStateFiles *stateFiles_;
    ProtocolLog *log_;
    PseudoTerminal &port_;
    Avr910Programmer programmer_;
    UsbaspProgrammer usbasp_;
    ParportProgrammer parport_;
    LinkServer *link_ = nullptr;
    bool silent_ = false;
    unsigned hangUpAfter_ = 0;
};
