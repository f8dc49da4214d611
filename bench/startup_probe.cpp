// Preloaded into a Qt program by bench_startup: when the program's first
// top-level window is about to paint, prints "shown <peak RSS in KiB> <CPU
// time so far in microseconds> <window title>" on stdout and ends the
// process. The program itself is not changed in any way.

#include "cpu_time.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

namespace {

class FirstPaintWatch : public QObject {
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            auto *widget = qobject_cast<QWidget *>(watched);
            if (widget && widget->isWindow()) {
                rusage usage{};
                getrusage(RUSAGE_SELF, &usage);
                const long long cpuUs = ownCpuMicroseconds(usage);
                std::printf("shown %ld %lld %s\n", usage.ru_maxrss, cpuUs, qPrintable(widget->windowTitle()));
                std::fflush(stdout);
                _exit(0);
            }
        }
        return false;
    }
};

void installWatch()
{
    QCoreApplication::instance()->installEventFilter(new FirstPaintWatch);
}

struct Registration {
    Registration() { qAddPreRoutine(installWatch); }
} registration;

} // namespace
