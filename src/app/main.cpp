#include "app/app_environment.h"
#include "app/frmMain.h"
#include "app/qt_dialogs.h"
#include "app/tools_folder_check.h"
#include "platform/instance_lock.h"
#include "platform/platform.h"
#include "platform/port_overrides.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    configureApplication(app);

    platform::InstanceLock instanceLock(platform::InstanceLock::defaultKey());
    QtDialogs dialogs;
    AppEnvironment environment;
    environment.programFolder = platform::programFolder();
    environment.rendering = platform::nativeRendering();
    environment.rendering.portOverrides = platform::userPortOverrides();
    environment.dialogs = &dialogs;
    environment.instanceLock = &instanceLock;

    frmMain window(environment);
    window.Form_Load();
    if (window.startRefused())
        return 0;
    window.show();
    reportUnwritableToolsFolder(environment, &window);
    return app.exec();
}
