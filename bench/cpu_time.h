#pragma once
// The CPU time (user and system) this process has spent so far, its children
// not counted, as getrusage reports it.

#include <sys/resource.h>

inline long long ownCpuMicroseconds(const rusage &usage)
{
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000000LL + usage.ru_utime.tv_usec
           + usage.ru_stime.tv_usec;
}
