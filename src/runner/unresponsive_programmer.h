#pragma once
// avrdude waits forever for a serial programmer that never answers (the AVR910
// driver repeats "programmer is not responding" every five seconds). Three of
// those in one run mean nobody is there, and the run is given up.

#include <QByteArray>

bool programmerIsUnresponsive(const QByteArray &output);
