#include "tools_folder_check.h"

#include "dialogs.h"

#include <QFileInfo>

std::optional<QString> toolsFolderProblem(const AppEnvironment &environment)
{
    const QString folder = platform::toolsFolder(environment.rendering, environment.programFolder);
    const QFileInfo info(folder);
    if (info.isDir() && info.isWritable())
        return std::nullopt;
    return QStringLiteral("无法在 tools 文件夹中建立交换文件：\n") + folder
           + QStringLiteral("\n读取、写入熔丝位和读取校准字节需要这个文件夹可写。");
}

void reportUnwritableToolsFolder(const AppEnvironment &environment, QWidget *window)
{
    if (const auto problem = toolsFolderProblem(environment))
        environment.dialogs->message(window, *problem, QStringLiteral("提示"), MessageIcon::Warning,
                                     MessageButtons::Ok);
}
