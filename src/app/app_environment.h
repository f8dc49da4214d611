#pragma once
// What the main window needs from outside: where it lives, how paths and
// ports are written, and who answers its dialogs.

#include "platform/platform.h"

#include <QString>

class Dialogs;
class QApplication;
namespace platform {
class InstanceLock;
}

struct AppEnvironment {
    QString programFolder;
    platform::PathRendering rendering;
    Dialogs *dialogs = nullptr;
    platform::InstanceLock *instanceLock = nullptr;
};

// Application title, default font, Qt's own texts in Simplified Chinese.
void configureApplication(QApplication &app);

QString applicationTitle();
