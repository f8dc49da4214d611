#include "serial_client.h"

#include <QElapsedTimer>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

SerialClient::~SerialClient()
{
    close();
}

bool SerialClient::open(const QString &port)
{
    close();
    fd_ = ::open(port.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0)
        return false;
    termios tio{};
    if (::tcgetattr(fd_, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(fd_, TCSANOW, &tio);
    }
    ::tcflush(fd_, TCIFLUSH);
    return true;
}

void SerialClient::close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

bool SerialClient::send(const QByteArray &bytes)
{
    int sent = 0;
    QElapsedTimer timer;
    timer.start();
    while (sent < bytes.size() && timer.elapsed() < 5000) {
        const ssize_t n = ::write(fd_, bytes.constData() + sent, size_t(bytes.size() - sent));
        if (n > 0) {
            sent += int(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd p{fd_, POLLOUT, 0};
            ::poll(&p, 1, 100);
        } else {
            return false;
        }
    }
    return sent == bytes.size();
}

QByteArray SerialClient::receive(int count, int timeoutMs)
{
    QByteArray data;
    QElapsedTimer timer;
    timer.start();
    while (data.size() < count) {
        const qint64 left = timeoutMs - timer.elapsed();
        if (left <= 0)
            break;
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, int(left)) <= 0)
            continue;
        char buf[4096];
        const ssize_t n = ::read(fd_, buf, size_t(qMin<int>(count - data.size(), int(sizeof buf))));
        if (n > 0)
            data.append(buf, int(n));
        else if (n == 0 || (errno != EAGAIN && errno != EINTR))
            break;
    }
    return data;
}

QByteArray SerialClient::ask(const QByteArray &command, int answerLength, int timeoutMs)
{
    if (!send(command))
        return QByteArray();
    return receive(answerLength, timeoutMs);
}

QByteArray SerialClient::drain(int quietMs)
{
    return receive(1 << 20, quietMs);
}
