#pragma once

#include <QByteArray>
#include <QString>

// Talks raw bytes to a serial port the way avrdude does: open, raw mode,
// write a command, read exactly the bytes expected, with a deadline.
class SerialClient {
public:
    SerialClient() = default;
    ~SerialClient();
    SerialClient(const SerialClient &) = delete;
    SerialClient &operator=(const SerialClient &) = delete;

    bool open(const QString &port);
    void close();
    bool isOpen() const { return fd_ >= 0; }

    bool send(const QByteArray &bytes);
    // Returns what arrived within timeoutMs, at most count bytes.
    QByteArray receive(int count, int timeoutMs = 2000);
    // Sends and receives; the usual one-command exchange.
    QByteArray ask(const QByteArray &command, int answerLength, int timeoutMs = 2000);
    // Reads whatever arrives within quietMs; for checking that nothing does.
    QByteArray drain(int quietMs = 100);

private:
    int fd_ = -1;
};
