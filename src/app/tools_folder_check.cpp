#include "tools_folder_check.h"

#include "dialogs.h"
#include "platform/exchange_folder.h"

std::optional<QString> toolsFolderProblem(const AppEnvironment &environment)
{
    if (platform::exchangeFolder(environment.rendering, environment.programFolder).writable)
        return std::nullopt;
    const QString folder = platform::toolsFolder(environment.rendering, environment.programFolder);
    return QStringLiteral("无法在 tools 文件夹中建立交换文件：\n") + folder
           + QStringLiteral("\n读取、写入熔丝位和读取校准字节需要这个文件夹可写。");
}

void reportUnwritableToolsFolder(const AppEnvironment &environment, QWidget *window)
{
    if (const auto problem = toolsFolderProblem(environment))
        environment.dialogs->message(window, *problem, QStringLiteral("提示"), MessageIcon::Warning,
                                     MessageButtons::Ok);
}
