#include "sim_server.h"

#include "chip.h"
#include "chip_state_files.h"
#include "protocol_log.h"
#include "pseudo_terminal.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <unistd.h>

namespace {

// avrdude writes each command with a single write(), so a command that stays
// incomplete this long is the rest of an interrupted run and would otherwise
// swallow the first bytes of the next one. Shorter than avrdude's 250 ms drain
// at port open.
constexpr int kPartialCommandTimeoutMs = 200;

// How long an answer may wait for the other side to read.
constexpr int kAnswerTimeoutMs = 2000;

} // namespace

SimServer::SimServer(Chip &chip, ChipStateFiles *stateFiles, ProtocolLog *log, PseudoTerminal &port,
                     unsigned blockSize)
    : chip_(chip), stateFiles_(stateFiles), log_(log), port_(port), programmer_(chip, blockSize, this)
{
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
        pollfd fds[2] = {{port_.masterFd(), POLLIN, 0}, {stopFd, POLLIN, 0}};
        const int timeout = programmer_.hasPartialCommand() ? kPartialCommandTimeoutMs : -1;
        const int n = ::poll(fds, 2, timeout);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            std::fprintf(stderr, "fusewright-sim: poll: %s\n", std::strerror(errno));
            return 1;
        }
        if (fds[1].revents)
            return 0;
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
    for (;;) {
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
        sendAnswer(answer);
    }
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
