#pragma once
// avrdude waits forever for a serial programmer that never answers (the AVR910
// driver repeats "programmer is not responding" every five seconds). Three of
// those in one run mean nobody is there, and the run is given up.
//
// The output grows read by read: each call looks only at what arrived since
// the last one, so a run that floods the pipe costs linear time. A call with
// newFrom == 0 starts a new run.

#include <QByteArray>

class UnresponsiveProgrammerWatch {
public:
    bool operator()(const QByteArray &output, qsizetype newFrom);

private:
    qsizetype m_searchFrom = 0;
    int m_complaints = 0;
};
