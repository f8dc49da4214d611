// The start-up notice: only when no folder for the exchange files can be
// written, neither the tools folder nor a private folder of the user's.

#include "app/tools_folder_check.h"
#include "scripted_dialogs.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestToolsFolder : public QObject {
    Q_OBJECT
private slots:
    void toldOnlyWhenNoExchangeFolderCanBeWritten()
    {
        QTemporaryDir program;
        QTemporaryDir runtime;
        ScriptedDialogs dialogs;
        AppEnvironment environment;
        environment.programFolder = program.path();
        environment.rendering = platform::posixRendering();
        environment.dialogs = &dialogs;
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        qputenv("XDG_CACHE_HOME", "/proc/no-cache-here");

        reportUnwritableToolsFolder(environment, nullptr);   // no tools folder: the runtime folder serves
        QCOMPARE(dialogs.messages.size(), 0);

        qunsetenv("XDG_RUNTIME_DIR");
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
