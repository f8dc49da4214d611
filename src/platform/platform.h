#pragma once
// Everything that differs between operating systems in how the program names
// its tool, its files and its ports.

#include <QHash>
#include <QString>

namespace platform {

// Port list text -> the device name the user wants the tool to get instead.
using PortOverrides = QHash<QString, QString>;

// How tool paths and port names are written on one operating system.
struct PathRendering {
    QChar separator;                  // '/' or '\\'
    QString exeSuffix;                // "" or ".exe"
    bool nativePortNames;             // true: "lpt1"/"com1" become /dev/parport0 and /dev/ttyS0
    PortOverrides portOverrides = {}; // the user's own names; they win over the above
};

PathRendering posixRendering();
PathRendering windowsRendering();
PathRendering nativeRendering();

// The folder of the running executable, without a trailing separator.
QString programFolder();

// <folder><sep>tools
QString toolsFolder(const PathRendering &r, const QString &folder);
// <folder><sep>tools<sep><name>
QString toolsPath(const PathRendering &r, const QString &folder, const QString &name);
// The avrdude executable below the tools folder.
QString avrdudePath(const PathRendering &r, const QString &folder);
// The device name the tool is given for a port list text
// ("com1" -> "/dev/ttyS0", "lpt2" -> "/dev/parport1", "usb" -> "usb" on Linux),
// or the user's override of that text.
QString nativePortName(const PathRendering &r, const QString &listText);

} // namespace platform
