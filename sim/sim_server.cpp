#include "sim_server.h"

#include "chip.h"
#include "chip_state_files.h"
#include "isp_instruction.h"
#include "link_frame.h"
#include "protocol_log.h"
#include "pseudo_terminal.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <unistd.h>
#include <vector>

namespace {

// avrdude writes each command with a single write(), so a command that stays
// incomplete this long is the rest of an interrupted run and would otherwise
// swallow the first bytes of the next one. Shorter than avrdude's 250 ms drain
// at port open.
constexpr int kPartialCommandTimeoutMs = 200;

// How long an answer may wait for the other side to read.
constexpr int kAnswerTimeoutMs = 2000;

} // namespace

SimServer::SimServer(Chip &chip, ChipStateFiles *stateFiles, ProtocolLog *log, PseudoTerminal &port, unsigned blockSize,
                     UsbaspMode usbasp, ParportMode parport)
    : chip_(chip), stateFiles_(stateFiles), log_(log), port_(port), programmer_(chip, blockSize, this),
      usbasp_(chip, usbasp, this), parport_(chip, parport, this)
{}

int32_t SimServer::serveRequest(uint8_t kind, const std::string &payload, std::string &answer)
{
    const auto *p = reinterpret_cast<const uint8_t *>(payload.data());
    switch (kind) {
    case FW_LINK_USB_DEVICE: {
        usbasp_.busScanned();
        const auto d = usbasp_.deviceDescriptor();
        answer.assign(d.begin(), d.end());
        return usbasp_.deviceState();
    }
    case FW_LINK_USB_CONTROL:
        if (payload.size() < 8)
            return FW_LINK_STATUS_STALL;
        return usbasp_.controlTransfer(UsbSetup::parse(p), p + 8, payload.size() - 8, answer);
    case FW_LINK_ISP_INSTRUCTION: {
        if (payload.size() != 4)
            return FW_LINK_STATUS_STALL;
        if (p[0] == 0xAC && p[1] == 0x53)
            sessionStarting();
        const IspOutcome r = executeIspInstruction(chip_, {p[0], p[1], p[2], p[3]});
        if (r.changed)
            chipChanged(r.changed);
        note("isp " + r.description);
        answer =
            chip_.present() ? std::string{char(0xFF), char(p[0]), char(p[1]), char(r.output)} : std::string(4, '\0');
        return 4;
    }
    case FW_LINK_PARPORT_OPEN:
        return payload.size() == 1 ? parport_.openPort(p[0]) : FW_LINK_STATUS_STALL;
    case FW_LINK_ISP_RESET:
        return parport_.sessionStarts() ? 1 : 0;
    case FW_LINK_ISP_BITBANG: {
        uint8_t output = 0;
        if (!parport_.instructions(p, payload.size(), output))
            return FW_LINK_STATUS_STALL;
        answer.assign(1, char(output));
        return 0;
    }
    default:
        return FW_LINK_STATUS_STALL;
    }
}

void SimServer::note(const std::string &line)
{
    if (log_)
        log_->write(line);
}

void SimServer::sessionStarting()
{
    if (stateFiles_)
        stateFiles_->load(chip_);
}

void SimServer::chipChanged(unsigned parts)
{
    if (stateFiles_)
        stateFiles_->save(chip_, parts);
}

void SimServer::commandServed(const std::string &line)
{
    note(line);
}

int SimServer::run(int stopFd)
{
    for (;;) {
        std::vector<pollfd> fds{{port_.masterFd(), POLLIN, 0}, {stopFd, POLLIN, 0}};
        if (link_)
            link_->addPollFds(fds);
        const int timeout = programmer_.hasPartialCommand() ? kPartialCommandTimeoutMs : -1;
        const int n = ::poll(fds.data(), fds.size(), timeout);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            std::fprintf(stderr, "fusewright-sim: poll: %s\n", std::strerror(errno));
            return 1;
        }
        if (fds[1].revents)
            return 0;
        if (link_)
            link_->serve(fds.data() + 2, fds.size() - 2, *this);
        if (n == 0) {
            note("dropping an incomplete command");
            programmer_.discardPartialCommand();
            continue;
        }
        if (fds[0].revents & POLLIN) {
            if (!readAndServe())
                ::usleep(20 * 1000);
        } else if (fds[0].revents & (POLLHUP | POLLERR)) {
            // Only while nobody holds the slave side; ours normally does.
            ::usleep(20 * 1000);
        }
    }
}

bool SimServer::readAndServe()
{
    uint8_t buf[4096];
    while (port_.masterFd() >= 0) {
        const ssize_t n = ::read(port_.masterFd(), buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN)
            return true;
        if (n <= 0)
            return false;
        if (silent_) {
            note("silent: ignoring " + std::to_string(n) + " bytes");
            continue;
        }
        std::string answer;
        programmer_.receive(buf, std::size_t(n), answer);
        if (hangUpAfter_ && programmer_.commandsServed() >= hangUpAfter_) {
            note("hanging up the serial line before answering");
            port_.hangUp();
            return true;
        }
        sendAnswer(answer);
    }
    return true;
}

void SimServer::sendAnswer(const std::string &answer)
{
    std::size_t sent = 0;
    while (sent < answer.size()) {
        const ssize_t n = ::write(port_.masterFd(), answer.data() + sent, answer.size() - sent);
        if (n > 0) {
            sent += std::size_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            pollfd out{port_.masterFd(), POLLOUT, 0};
            if (::poll(&out, 1, kAnswerTimeoutMs) > 0)
                continue;
        }
        note("nobody reads the answers; dropping " + std::to_string(answer.size() - sent) + " bytes");
        port_.discardUnreadAnswers();
        return;
    }
}
