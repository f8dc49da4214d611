#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct pollfd;

// Answers one request of the request link (see link_frame.h).
class LinkRequests {
public:
    virtual ~LinkRequests() = default;
    // Returns the answer's status; its payload goes to `answer`.
    virtual int32_t serveRequest(uint8_t kind, const std::string &payload, std::string &answer) = 0;
};

// The simulator's side of the request link: a Unix socket and/or a loopback
// TCP port, any number of connections, one whole request at a time.
class LinkServer {
public:
    LinkServer() = default;
    ~LinkServer();
    LinkServer(const LinkServer &) = delete;
    LinkServer &operator=(const LinkServer &) = delete;

    bool listenUnix(const std::string &path, std::string *error);
    // Listens on 127.0.0.1 at a port the system picks; returns it in *port.
    bool listenTcp(uint16_t *port, std::string *error);

    // The descriptors to poll for input, appended to fds.
    void addPollFds(std::vector<pollfd> &fds) const;
    // Accepts, reads and answers what the polled descriptors report.
    void serve(const pollfd *fds, std::size_t count, LinkRequests &requests);

    bool listening() const { return !listeners_.empty(); }

private:
    struct Connection {
        int fd;
        std::string received;
    };
    bool readFrom(Connection &c, LinkRequests &requests);
    static bool sendAll(int fd, const std::string &bytes);

    std::vector<int> listeners_;
    std::vector<Connection> connections_;
    std::string socketPath_;
};
