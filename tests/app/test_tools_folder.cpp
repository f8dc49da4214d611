// Where the exchange files go (the tools folder while it is the user's own,
// else a private folder in the runtime folder, else in the cache folder), and
// the start-up notice, only when none of them can be written.

#include "app/tools_folder_check.h"
#include "platform/exchange_folder.h"
#include "scripted_dialogs.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class TestToolsFolder : public QObject {
    Q_OBJECT
private slots:
    void exchangeFolderAndNotice_data()
    {
        QTest::addColumn<int>("tools"); // mode, 0: none
        QTest::addColumn<QString>(
            "runtime");                  // runtime folder: "", "ok", or what <runtime>/fusewright is: "link", "0755"
        QTest::addColumn<bool>("cache"); // a cache folder can be made
        QTest::addColumn<QString>("chosen"); // "tools", "run/fusewright", "cache/fusewright"; "" for the notice
        QTest::newRow("own tools folder") << 0755 << "ok" << true << "tools";
        QTest::newRow("user's group may write") << 0775 << "ok" << true << "run/fusewright";
        QTest::newRow("everyone may write") << 0777 << "ok" << true << "run/fusewright";
        QTest::newRow("no tools folder") << 0 << "ok" << true << "run/fusewright";
        QTest::newRow("earlier folder closed again") << 0 << "0755" << true << "run/fusewright";
        QTest::newRow("link in the runtime folder") << 0 << "link" << true << "cache/fusewright";
        QTest::newRow("nothing writable") << 0 << "" << false << "";
    }
    void exchangeFolderAndNotice()
    {
        QFETCH(int, tools);
        QFETCH(QString, runtime);
        QFETCH(bool, cache);
        QFETCH(QString, chosen);
        QTemporaryDir work;
        QDir dir(work.path());
        dir.mkpath("program");
        if (tools && dir.mkpath("program/tools"))
            ::chmod(QFile::encodeName(work.filePath("program/tools")), tools);
        dir.mkdir("run");
        ::chmod(QFile::encodeName(work.filePath("run")), 0700);
        if (runtime == "link")
            QFile::link(work.path(), work.filePath("run/fusewright"));
        if (runtime == "0755")
            dir.mkpath("run/fusewright");
        qputenv("XDG_RUNTIME_DIR", runtime.isEmpty() ? "" : QFile::encodeName(work.filePath("run")));
        qputenv("XDG_CACHE_HOME", cache ? QFile::encodeName(work.filePath("cache")) : "/proc/none");
        ScriptedDialogs dialogs;
        AppEnvironment environment{work.filePath("program"), platform::posixRendering(), &dialogs};

        const platform::ExchangeFolder folder =
            platform::exchangeFolder(environment.rendering, environment.programFolder);
        reportUnwritableToolsFolder(environment, nullptr);
        QCOMPARE(folder.path, work.filePath(chosen.isEmpty() || chosen == "tools" ? "program/tools" : chosen));
        QCOMPARE(folder.writable, !chosen.isEmpty());
        struct stat info = {};
        if (chosen.endsWith("/fusewright"))
            QVERIFY(::stat(QFile::encodeName(folder.path), &info) == 0 && (info.st_mode & 0777) == 0700);
        QCOMPARE(QFileInfo(work.filePath("run/fusewright")).isSymLink(), runtime == "link"); // never followed
        QCOMPARE(dialogs.messages.size(), chosen.isEmpty() ? 1 : 0);
        if (chosen.isEmpty())
            QCOMPARE(dialogs.messages[0].text, "无法在 tools 文件夹中建立交换文件：\n" + work.filePath("program/tools")
                                                   + "\n读取、写入熔丝位和读取校准字节需要这个文件夹可写。");
    }
};

QTEST_GUILESS_MAIN(TestToolsFolder)
#include "test_tools_folder.moc"
