#include "link_server.h"

#include "link_frame.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// How long an answer may wait for the other side to read.
constexpr int kAnswerTimeoutMs = 2000;

bool fail(std::string *error, const std::string &what)
{
    if (error)
        *error = what + ": " + std::strerror(errno);
    return false;
}

} // namespace

LinkServer::~LinkServer()
{
    for (const Connection &c : connections_)
        ::close(c.fd);
    for (int fd : listeners_)
        ::close(fd);
    if (!socketPath_.empty())
        ::unlink(socketPath_.c_str());
}

bool LinkServer::listenUnix(const std::string &path, std::string *error)
{
    sockaddr_un address{};
    if (path.size() >= sizeof address.sun_path) {
        if (error)
            *error = "socket path too long: " + path;
        return false;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return fail(error, "socket");
    ::unlink(path.c_str()); // left by a simulator that was killed
    if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 || ::listen(fd, 8) != 0) {
        fail(error, "cannot listen on " + path);
        ::close(fd);
        return false;
    }
    listeners_.push_back(fd);
    socketPath_ = path;
    return true;
}

bool LinkServer::listenTcp(uint16_t *port, std::string *error)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return fail(error, "socket");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 || ::listen(fd, 8) != 0
        || ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &size) != 0) {
        fail(error, "cannot listen on 127.0.0.1");
        ::close(fd);
        return false;
    }
    *port = ntohs(address.sin_port);
    listeners_.push_back(fd);
    return true;
}

void LinkServer::addPollFds(std::vector<pollfd> &fds) const
{
    for (int fd : listeners_)
        fds.push_back({fd, POLLIN, 0});
    for (const Connection &c : connections_)
        fds.push_back({c.fd, POLLIN, 0});
}

void LinkServer::serve(const pollfd *fds, std::size_t count, LinkRequests &requests)
{
    std::vector<int> closed;
    for (std::size_t i = 0; i < count; ++i) {
        if (!fds[i].revents)
            continue;
        const int fd = fds[i].fd;
        bool isListener = false;
        for (int l : listeners_)
            isListener = isListener || l == fd;
        if (isListener) {
            const int c = ::accept4(fd, nullptr, nullptr, SOCK_CLOEXEC);
            if (c >= 0) {
                const int one = 1;
                ::setsockopt(c, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one); // fails harmlessly on Unix sockets
                connections_.push_back({c, {}});
            }
            continue;
        }
        for (Connection &c : connections_) {
            if (c.fd == fd && !readFrom(c, requests))
                closed.push_back(fd);
        }
    }
    for (int fd : closed) {
        for (auto it = connections_.begin(); it != connections_.end(); ++it) {
            if (it->fd == fd) {
                ::close(fd);
                connections_.erase(it);
                break;
            }
        }
    }
}

bool LinkServer::readFrom(Connection &c, LinkRequests &requests)
{
    char buf[4096];
    const ssize_t n = ::recv(c.fd, buf, sizeof buf, 0);
    if (n < 0 && (errno == EINTR || errno == EAGAIN))
        return true;
    if (n <= 0)
        return false;
    c.received.append(buf, std::size_t(n));
    for (;;) {
        if (c.received.size() < FW_LINK_REQUEST_HEADER)
            return true;
        const auto *p = reinterpret_cast<const uint8_t *>(c.received.data());
        const std::size_t length = p[2] | p[3] << 8;
        if (c.received.size() < FW_LINK_REQUEST_HEADER + length)
            return true;
        const uint8_t kind = p[0];
        const std::string payload = c.received.substr(FW_LINK_REQUEST_HEADER, length);
        c.received.erase(0, FW_LINK_REQUEST_HEADER + length);

        std::string answer;
        const int32_t status = requests.serveRequest(kind, payload, answer);
        if (answer.size() > FW_LINK_MAX_PAYLOAD)
            answer.resize(FW_LINK_MAX_PAYLOAD);
        const uint32_t s = uint32_t(status);
        std::string frame{char(s),       char(s >> 8),        char(s >> 16),
                          char(s >> 24), char(answer.size()), char(answer.size() >> 8)};
        if (!sendAll(c.fd, frame + answer))
            return false;
    }
}

bool LinkServer::sendAll(int fd, const std::string &bytes)
{
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            sent += std::size_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        pollfd out{fd, POLLOUT, 0};
        if (n < 0 && errno == EAGAIN && ::poll(&out, 1, kAnswerTimeoutMs) > 0)
            continue;
        return false;
    }
    return true;
}
