#include "protocol_log.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <sys/time.h>

ProtocolLog::~ProtocolLog()
{
    if (file_)
        std::fclose(file_);
}

bool ProtocolLog::open(const std::string &path, std::string *error)
{
    file_ = std::fopen(path.c_str(), "ae");
    if (!file_ && error)
        *error = path + ": " + std::strerror(errno);
    return file_ != nullptr;
}

void ProtocolLog::write(const std::string &line)
{
    if (!file_)
        return;
    timeval tv{};
    ::gettimeofday(&tv, nullptr);
    tm local{};
    ::localtime_r(&tv.tv_sec, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%H:%M:%S", &local);
    std::fprintf(file_, "%s.%03ld %s\n", stamp, long(tv.tv_usec / 1000), line.c_str());
    // Flushed line by line so a test can read the log while we keep running.
    std::fflush(file_);
}
