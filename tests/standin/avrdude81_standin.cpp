// Speaks avrdude 8.1's dialect while the real avrdude 7.1 moves the bytes:
// runs 7.1 with the same arguments (without -v) and rewrites what it prints
// the way 8.1 prints the same run. It refuses the options 8.x removed with
// the usage text and exit code 0, as 8.1 does, and answers -? with 8.1's
// usage text. The rewriting follows recordings of both versions.

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

#include <cstdio>

namespace {

QByteArray usageText()
{
    QFile f(QStringLiteral(FW_STANDIN_USAGE));
    return f.open(QIODevice::ReadOnly) ? f.readAll()
                                       : QByteArray("avrdude version 8.1, https://github.com/avrdudes/avrdude\n");
}

QString expectedSignature(const QStringList &args)
{
    const qsizetype p = args.indexOf(QStringLiteral("-p"));
    const QString part = p >= 0 && p + 1 < args.size() ? args.at(p + 1) : QString();
    if (part == QLatin1String("m8"))
        return QStringLiteral("1e9307");
    if (part == QLatin1String("m16"))
        return QStringLiteral("1e9403");
    return QString();
}

// "0x1e9307" -> "1E 93 07 (ATmega8, ATmega8A)"
QString signatureText(const QString &hex)
{
    const QString h = hex.toUpper();
    QString text = h.mid(0, 2) + QLatin1Char(' ') + h.mid(2, 2) + QLatin1Char(' ') + h.mid(4, 2);
    if (hex == QLatin1String("1e9307"))
        text += QStringLiteral(" (ATmega8, ATmega8A)");
    else if (hex == QLatin1String("1e9403"))
        text += QStringLiteral(" (ATmega16, ATmega16A)");
    return text;
}

QString capitalised(QString s)
{
    if (!s.isEmpty())
        s[0] = s.at(0).toUpper();
    return s;
}

QStringList rewritten(const QStringList &lines, bool verbose, const QString &expected)
{
    static const QRegularExpression signature(
        QStringLiteral("^avrdude: device signature = 0x([0-9a-f]{6})(.*?)( \\(retrying\\))?$"));
    static const QRegularExpression prefixed(
        QStringLiteral("^avrdude(?: main\\(\\))? ?(OS error|error|warning)?: (.*)$"));
    static const QRegularExpression openFailed(QStringLiteral("unable to open programmer (\\S+) on port (\\S+)"));
    static const QRegularExpression outputFile(QStringLiteral("^avrdude: writing output file (.*)$"));
    static const QRegularExpression initFailed(QStringLiteral("initialization failed, rc=(-?\\d+)"));
    // 7.1 goes through libusb-0.1, which opens a device it may not use and
    // fails at the first request; 8.1's libusb-1.0 already fails to open it.
    static const QString refusedQuery =
        QStringLiteral("for device: error sending control message: Operation not permitted");
    bool usbAccessError = false;
    QStringList out;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        const QString next = i + 1 < lines.size() ? lines.at(i + 1) : QString();
        // 7.1 prints a blank line before initialising, 8.1 after it.
        if (line.isEmpty() && next.startsWith(QLatin1String("avrdude error: program enable")))
            continue;
        if (line.isEmpty() && next.startsWith(QLatin1String("avrdude error: cannot set sck period"))) {
            out << QStringLiteral("Error: ") + next.mid(15) << QString();
            ++i;
            continue;
        }
        if (line.endsWith(refusedQuery)) {
            if (!usbAccessError)
                out << QStringLiteral("Warning: cannot open USB device: Permission denied");
            usbAccessError = true;
            continue;
        }
        if (line.startsWith(QLatin1String("        - "))) {
            out << QLatin1Char(' ')
                       + QString(line.mid(8))
                             .replace(QLatin1String("set lower ISP clock"), QLatin1String("set lower the bit clock"));
            continue;
        }
        if (line.isEmpty() && next.startsWith(QLatin1String("avrdude: AVR device initialized")) && !verbose)
            continue;
        if (line.isEmpty() && (next.isEmpty() || next == QLatin1String("avrdude done.  Thank you.")) && !out.isEmpty()
            && out.last().isEmpty())
            continue;
        if (line.startsWith(QLatin1String("avrdude: AVR device initialized")) && !verbose)
            continue;
        if (line == QLatin1String("avrdude done.  Thank you.")) {
            if (usbAccessError)
                out << QStringLiteral("USB access errors detected; this could have many reasons; if it is")
                    << QStringLiteral("USB permission problems, avrdude is likely to work when run as root")
                    << QStringLiteral("but this is not good practice; instead you might want to")
                    << QStringLiteral("check out USB port permissions on your OS and set them correctly") << QString();
            out << QStringLiteral("Avrdude done.  Thank you.");
            break; // 7.1's empty last line is not 8.1's
        }
        if (const auto m = signature.match(line); m.hasMatch()) {
            const QString hex = m.captured(1);
            const bool retrying = !m.captured(3).isEmpty();
            if (hex == expected && !retrying && !verbose)
                continue; // 8.x is silent about a matching chip
            out << QStringLiteral("Device signature = ") + signatureText(hex) + (retrying ? m.captured(3) : QString());
            continue;
        }
        if (line == QLatin1String("avrdude error: Yikes!  Invalid device signature.")) {
            out << QStringLiteral("Error: invalid device signature");
            continue;
        }
        if (line.startsWith(QLatin1String("        double check chip or use -F to override this check"))) {
            out << QStringLiteral("  - double check chip or use -F to carry on regardless");
            continue;
        }
        if (line.startsWith(QLatin1String("        Double check connections and try again, or use -F to override"))) {
            out << QStringLiteral("  - double check connections and try again, or use -F to carry on regardless");
            if (next.trimmed() == QLatin1String("this check."))
                ++i;
            continue;
        }
        if (const auto m = outputFile.match(line); m.hasMatch()) {
            const QFileInfo file(m.captured(1));
            const qint64 n = file.size();
            out << QStringLiteral("Writing %1 byte%2 to output file %3").arg(n).arg(n == 1 ? "" : "s", file.fileName());
            continue;
        }
        if (const auto m = prefixed.match(line); m.hasMatch()) {
            const QString kind = m.captured(1);
            QString rest = m.captured(2);
            rest.replace(openFailed, QStringLiteral("unable to open port \\2 for programmer \\1"));
            rest.replace(initFailed, QStringLiteral("initialization failed  (rc = \\1)"));
            if (kind == QLatin1String("OS error"))
                out << QStringLiteral("OS error: ") + rest;
            else if (kind == QLatin1String("error"))
                out << QStringLiteral("Error: ") + rest;
            else if (kind == QLatin1String("warning"))
                out << QStringLiteral("Warning: ") + rest;
            else
                out << capitalised(rest);
            continue;
        }
        out << line;
    }
    return out;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);

    if (args.contains(QStringLiteral("-?"))) {
        const QByteArray usage = usageText();
        fwrite(usage.constData(), 1, size_t(usage.size()), stdout);
        return 0;
    }
    for (const char *removed : {"-u", "-s", "-y", "-Y"}) {
        if (args.contains(QLatin1String(removed))) {
            const QByteArray usage =
                QByteArray(argv[0]) + ": invalid option -- '" + (removed + 1) + "'\n" + usageText();
            fwrite(usage.constData(), 1, size_t(usage.size()), stdout);
            return 0;
        }
    }
    const bool verbose = args.removeAll(QStringLiteral("-v")) > 0;

    QProcess real;
    real.setProcessChannelMode(QProcess::MergedChannels);
    real.start(QStringLiteral(FW_SIM_TEST_AVRDUDE), args);
    if (!real.waitForFinished(-1) && real.error() == QProcess::FailedToStart) {
        fprintf(stdout, "OS error: cannot run %s\n", FW_SIM_TEST_AVRDUDE);
        return 1;
    }
    const QString text = QString::fromLocal8Bit(real.readAll());
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    const QByteArray out =
        (rewritten(lines, verbose, expectedSignature(args)).join(QLatin1Char('\n')) + QLatin1Char('\n')).toLocal8Bit();
    fwrite(out.constData(), 1, size_t(out.size()), stdout);
    return real.exitStatus() == QProcess::NormalExit ? real.exitCode() : 1;
}
