#include "unresponsive_programmer.h"

bool programmerIsUnresponsive(const QByteArray &output)
{
    static const QByteArray complaint("programmer is not responding");
    return output.count(complaint) >= 3;
}
