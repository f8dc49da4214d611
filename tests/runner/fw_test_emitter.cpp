// A stand-in for the tool in the runner tests. Each argument is one step,
// carried out in order; every write is a separate unbuffered write(2).
//
//   out:TEXT  err:TEXT        TEXT to standard output / standard error
//   hexout:HEX  hexerr:HEX    raw bytes given in hex
//   sleep:MS                  pause
//   pattern:N                 N bytes of patternByte(i) to standard output
//   alternate:N               "o<i>\n" to out and "e<i>\n" to err, N times each
//   args                      every remaining argument, each followed by a NUL
//   env:NAME                  the variable's value, or "<unset>"
//   cwd                       the working folder
//   stdin                     "tty=<0|1> read=<result of one read>"
//   stdio                     "in=<target of fd 0> fifo=<0|1> same=<0|1>"
//   fds                       the open descriptor numbers, blank-separated
//   trap-term                 on SIGTERM write "got-term\n" and carry on
//   signals                   "pipe=<dfl|other> blocked=<number of blocked signals>"
//   touch:PATH                create the file PATH (tells a test "got this far")
//   await:PATH                wait until the file PATH exists (gives up after 20 s, status 92)
//   holder:MS                 fork a grandchild that keeps the output open for
//                             MS, then writes "grandchild-done"; prints "holder:<pid>\n"
//   hang                      sleep until killed (gives up after 60 s, status 93)
//   exit:N                    exit with status N

#include "emitter_pattern.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

void writeAll(int fd, const char *data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            std::exit(90);
        }
        data += n;
        size -= size_t(n);
    }
}

void writeText(int fd, const std::string &s)
{
    writeAll(fd, s.data(), s.size());
}

std::string fromHex(const std::string &hex)
{
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(char(std::strtol(hex.substr(i, 2).c_str(), nullptr, 16)));
    return bytes;
}

void sleepMs(long ms)
{
    timespec t{ms / 1000, (ms % 1000) * 1000000L};
    while (::nanosleep(&t, &t) != 0 && errno == EINTR) {
    }
}

std::string openDescriptors()
{
    std::vector<int> fds;
    DIR *dir = ::opendir("/proc/self/fd");
    if (!dir)
        return "?";
    const int own = ::dirfd(dir);
    while (dirent *e = ::readdir(dir)) {
        if (e->d_name[0] == '.')
            continue;
        const int fd = std::atoi(e->d_name);
        if (fd != own)
            fds.push_back(fd);
    }
    ::closedir(dir);
    std::string s;
    for (size_t i = 0; i < fds.size(); ++i) {
        // readdir gives them in ascending order on Linux, but make sure.
        for (size_t j = i + 1; j < fds.size(); ++j)
            if (fds[j] < fds[i])
                std::swap(fds[i], fds[j]);
        s += (i ? " " : "") + std::to_string(fds[i]);
    }
    return s;
}

std::string describeStdio()
{
    char target[256] = {};
    const ssize_t n = ::readlink("/proc/self/fd/0", target, sizeof target - 1);
    struct stat out = {}, err = {};
    const bool ok = ::fstat(1, &out) == 0 && ::fstat(2, &err) == 0;
    const bool fifo = ok && S_ISFIFO(out.st_mode);
    const bool same = ok && out.st_dev == err.st_dev && out.st_ino == err.st_ino;
    return std::string("in=") + (n > 0 ? target : "?") + " fifo=" + (fifo ? "1" : "0") + " same=" + (same ? "1" : "0");
}

void onTerm(int)
{
    static const char note[] = "got-term\n";
    ssize_t ignored = ::write(1, note, sizeof note - 1);
    (void)ignored;
}

std::string describeSignals()
{
    struct sigaction pipe = {};
    ::sigaction(SIGPIPE, nullptr, &pipe);
    sigset_t mask;
    ::sigprocmask(SIG_BLOCK, nullptr, &mask);
    int blocked = 0;
    for (int s = 1; s < NSIG; ++s)
        blocked += ::sigismember(&mask, s) == 1;
    return std::string("pipe=") + (pipe.sa_handler == SIG_DFL ? "dfl" : "other")
           + " blocked=" + std::to_string(blocked);
}

} // namespace

int main(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string step = argv[i];
        const size_t colon = step.find(':');
        const std::string op = step.substr(0, colon);
        const std::string value = colon == std::string::npos ? std::string() : step.substr(colon + 1);

        if (op == "out") {
            writeText(1, value);
        } else if (op == "err") {
            writeText(2, value);
        } else if (op == "hexout") {
            writeText(1, fromHex(value));
        } else if (op == "hexerr") {
            writeText(2, fromHex(value));
        } else if (op == "sleep") {
            sleepMs(std::atol(value.c_str()));
        } else if (op == "pattern") {
            const long total = std::atol(value.c_str());
            char chunk[4096];
            long done = 0;
            while (done < total) {
                const long n = std::min<long>(total - done, sizeof chunk);
                for (long k = 0; k < n; ++k)
                    chunk[k] = char(fw_test::patternByte(done + k));
                writeAll(1, chunk, size_t(n));
                done += n;
            }
        } else if (op == "alternate") {
            const long count = std::atol(value.c_str());
            for (long k = 0; k < count; ++k) {
                writeText(1, "o" + std::to_string(k) + "\n");
                writeText(2, "e" + std::to_string(k) + "\n");
            }
        } else if (op == "args") {
            for (int k = i + 1; k < argc; ++k)
                writeAll(1, argv[k], std::strlen(argv[k]) + 1);
            return 0;
        } else if (op == "env") {
            const char *v = std::getenv(value.c_str());
            writeText(1, v ? v : "<unset>");
        } else if (op == "cwd") {
            char buf[4096];
            writeText(1, ::getcwd(buf, sizeof buf) ? buf : "?");
        } else if (op == "stdin") {
            char c;
            const ssize_t n = ::read(0, &c, 1);
            writeText(1, "tty=" + std::to_string(::isatty(0)) + " read=" + std::to_string(n));
        } else if (op == "stdio") {
            writeText(1, describeStdio());
        } else if (op == "fds") {
            writeText(1, openDescriptors());
        } else if (op == "trap-term") {
            struct sigaction sa = {};
            sa.sa_handler = onTerm;
            sa.sa_flags = SA_RESTART;
            ::sigaction(SIGTERM, &sa, nullptr);
        } else if (op == "signals") {
            writeText(1, describeSignals());
        } else if (op == "touch") {
            const int fd = ::open(value.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
            if (fd < 0)
                return 91;
            ::close(fd);
        } else if (op == "holder") {
            const pid_t pid = ::fork();
            if (pid == 0) {
                sleepMs(std::atol(value.c_str()));
                writeText(1, "grandchild-done\n");
                ::_exit(0);
            }
            writeText(1, "holder:" + std::to_string(pid) + "\n");
        } else if (op == "await") {
            int waited = 0;
            while (::access(value.c_str(), F_OK) != 0) {
                if (waited >= 20000)
                    return 92;
                sleepMs(5);
                waited += 5;
            }
        } else if (op == "hang") {
            // Bounded, so a runner that fails to end it leaves no everlasting orphan.
            sleepMs(60000);
            return 93;
        } else if (op == "exit") {
            return std::atoi(value.c_str());
        } else {
            writeText(2, "fw_test_emitter: unknown step " + step + "\n");
            return 99;
        }
    }
    return 0;
}
