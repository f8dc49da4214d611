// The start-up notice about a tools folder the user cannot write into.

#include "app/tools_folder_check.h"
#include "scripted_dialogs.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestToolsFolder : public QObject {
    Q_OBJECT
private slots:
    void toldOnlyWhenTheFolderIsMissingOrReadOnly()
    {
        QTemporaryDir program;
        ScriptedDialogs dialogs;
        AppEnvironment environment;
        environment.programFolder = program.path();
        environment.rendering = platform::posixRendering();
        environment.dialogs = &dialogs;

        reportUnwritableToolsFolder(environment, nullptr);
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].text, QStringLiteral("无法在 tools 文件夹中建立交换文件：\n") + program.path()
                                               + QStringLiteral("/tools\n读取、写入熔丝位和读取校准字节需要这个文件夹可写。"));
        QCOMPARE(dialogs.messages[0].title, QStringLiteral("提示"));
        QCOMPARE(dialogs.messages[0].icon, MessageIcon::Warning);

        QVERIFY(QDir(program.path()).mkdir(QStringLiteral("tools")));
        reportUnwritableToolsFolder(environment, nullptr);
        QCOMPARE(dialogs.messages.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestToolsFolder)
#include "test_tools_folder.moc"
