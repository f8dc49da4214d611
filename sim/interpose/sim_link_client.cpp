#include "sim_link_client.h"

#include "link_frame.h"

#include <cstdlib>
#include <cstring>
#include <mutex>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
using Socket = SOCKET;
static const Socket kNoSocket = INVALID_SOCKET;
static void closeSocket(Socket s)
{
    closesocket(s);
}
#else
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
using Socket = int;
static const Socket kNoSocket = -1;
static void closeSocket(Socket s)
{
    ::close(s);
}
#endif

namespace {

std::mutex linkMutex;
Socket linkSocket = kNoSocket;

Socket connectTcp(const char *address)
{
#ifdef _WIN32
    static bool started = false;
    if (!started) {
        WSADATA data;
        started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
#endif
    const char *colon = std::strrchr(address, ':');
    if (!colon)
        return kNoSocket;
    char host[256];
    const std::size_t hostLength = std::size_t(colon - address);
    if (hostLength >= sizeof host)
        return kNoSocket;
    std::memcpy(host, address, hostLength);
    host[hostLength] = '\0';
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (getaddrinfo(host, colon + 1, &hints, &found) != 0)
        return kNoSocket;
    Socket s = socket(found->ai_family, found->ai_socktype, found->ai_protocol);
    // A request goes out as header and payload; without this the payload
    // waits for the acknowledgement of the header.
    const int noDelay = 1;
    if (s != kNoSocket)
        setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char *>(&noDelay), sizeof noDelay);
    if (s != kNoSocket && connect(s, found->ai_addr, int(found->ai_addrlen)) != 0) {
        closeSocket(s);
        s = kNoSocket;
    }
    freeaddrinfo(found);
    return s;
}

Socket connectToSimulator()
{
    const char *address = std::getenv(FW_LINK_ENV);
    if (!address || !*address)
        return kNoSocket;
#ifndef _WIN32
    if (address[0] == '/') {
        sockaddr_un un{};
        if (std::strlen(address) >= sizeof un.sun_path)
            return kNoSocket;
        un.sun_family = AF_UNIX;
        std::strcpy(un.sun_path, address);
        Socket s = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (s != kNoSocket && connect(s, reinterpret_cast<sockaddr *>(&un), sizeof un) != 0) {
            closeSocket(s);
            s = kNoSocket;
        }
        return s;
    }
#endif
    return connectTcp(address);
}

bool sendAll(Socket s, const uint8_t *p, std::size_t n)
{
    while (n) {
#ifdef _WIN32
        const int sent = send(s, reinterpret_cast<const char *>(p), int(n), 0);
#else
        const ssize_t sent = send(s, p, n, MSG_NOSIGNAL);
#endif
        if (sent <= 0)
            return false;
        p += sent;
        n -= std::size_t(sent);
    }
    return true;
}

bool receiveAll(Socket s, uint8_t *p, std::size_t n)
{
    while (n) {
        const auto got = recv(s, reinterpret_cast<char *>(p), int(n), 0);
        if (got <= 0)
            return false;
        p += got;
        n -= std::size_t(got);
    }
    return true;
}

bool exchange(Socket s, uint8_t kind, const uint8_t *payload, std::size_t size, LinkAnswer &answer)
{
    const uint8_t header[FW_LINK_REQUEST_HEADER] = {kind, 0, uint8_t(size), uint8_t(size >> 8)};
    uint8_t answerHeader[FW_LINK_ANSWER_HEADER];
    if (!sendAll(s, header, sizeof header) || !sendAll(s, payload, size)
        || !receiveAll(s, answerHeader, sizeof answerHeader))
        return false;
    answer.status = int32_t(uint32_t(answerHeader[0]) | uint32_t(answerHeader[1]) << 8 | uint32_t(answerHeader[2]) << 16
                            | uint32_t(answerHeader[3]) << 24);
    answer.size = answerHeader[4] | answerHeader[5] << 8;
    return receiveAll(s, answer.payload, answer.size);
}

} // namespace

bool linkRequest(uint8_t kind, const uint8_t *payload, std::size_t size, LinkAnswer &answer)
{
    if (size > FW_LINK_MAX_PAYLOAD)
        return false;
    std::lock_guard<std::mutex> lock(linkMutex);
    // A connection left from an earlier simulator is tried once, then replaced.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (linkSocket == kNoSocket)
            linkSocket = connectToSimulator();
        if (linkSocket == kNoSocket)
            return false;
        if (exchange(linkSocket, kind, payload, size, answer))
            return true;
        closeSocket(linkSocket);
        linkSocket = kNoSocket;
    }
    return false;
}
