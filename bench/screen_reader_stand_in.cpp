// Stands in for a screen reader on the accessibility bus: it registers for
// the events a reader listens to, so that a Qt program sends them as it would
// to Orca. It prints "ready" once registered and runs until it is ended.
//
//   bench_screen_reader_stand_in

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QDBusInterface launcher(QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                            QStringLiteral("org.a11y.Bus"), QDBusConnection::sessionBus());
    const QDBusReply<QString> address = launcher.call(QStringLiteral("GetAddress"));
    if (!address.isValid()) {
        std::fprintf(stderr, "no accessibility bus: %s\n", qPrintable(address.error().message()));
        return 1;
    }
    const QDBusConnection bus = QDBusConnection::connectToBus(address.value(), QStringLiteral("a11y"));
    QDBusInterface registry(QStringLiteral("org.a11y.atspi.Registry"), QStringLiteral("/org/a11y/atspi/registry"),
                            QStringLiteral("org.a11y.atspi.Registry"), bus);
    // What a reader asks for: every object, window and focus event.
    for (const char *event : {"object:", "window:", "focus:"}) {
        const QDBusReply<void> registered =
            registry.call(QStringLiteral("RegisterEvent"), QString::fromLatin1(event), QStringList(), QString());
        if (!registered.isValid()) {
            std::fprintf(stderr, "the registry refused %s: %s\n", event, qPrintable(registered.error().message()));
            return 1;
        }
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}
