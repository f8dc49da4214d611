#pragma once

#include <cstdio>
#include <string>

// Appends time-stamped lines to a file; does nothing when not opened.
class ProtocolLog {
public:
    ProtocolLog() = default;
    ~ProtocolLog();
    ProtocolLog(const ProtocolLog &) = delete;
    ProtocolLog &operator=(const ProtocolLog &) = delete;

    bool open(const std::string &path, std::string *error);
    bool isOpen() const { return file_ != nullptr; }
    void write(const std::string &line);

private:
    std::FILE *file_ = nullptr;
};
