// Where the exchange files go: the tools folder while it is the user's own,
// else a private folder in the runtime folder, else in the cache folder.

#include "platform/exchange_folder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {
QFile::Permissions ownerOnly() { return QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner; }
QFile::Permissions modeOf(const QString &path)
{
    return QFile::permissions(path) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
}
} // namespace

class TestExchangeFolder : public QObject {
    Q_OBJECT
private slots:
    void chosenFolder_data()
    {
        QTest::addColumn<QString>("tools");      // mode, or "none"
        QTest::addColumn<QString>("runtime");    // "dir", "relative" or "none"
        QTest::addColumn<QString>("existing");   // what <runtime>/fusewright is before: "", "0755", "link", "file"
        QTest::addColumn<QString>("cache");      // "absent" (made) or "blocked"
        QTest::addColumn<QString>("chosen");     // "tools", "runtime", "cache"; "-" when nothing can be written
        QTest::newRow("own tools folder") << "755" << "dir" << "" << "absent" << "tools";
        QTest::newRow("group may write (user's own group)") << "775" << "dir" << "" << "absent" << "tools";
        QTest::newRow("no tools folder") << "none" << "dir" << "" << "absent" << "runtime";
        QTest::newRow("everyone may write into tools") << "777" << "dir" << "" << "absent" << "runtime";
        QTest::newRow("earlier folder is closed again") << "none" << "dir" << "0755" << "absent" << "runtime";
        QTest::newRow("link in the runtime folder") << "none" << "dir" << "link" << "absent" << "cache";
        QTest::newRow("file in the runtime folder") << "none" << "dir" << "file" << "absent" << "cache";
        QTest::newRow("relative runtime folder") << "none" << "relative" << "" << "absent" << "cache";
        QTest::newRow("no runtime folder") << "none" << "none" << "" << "absent" << "cache";
        QTest::newRow("nothing writable") << "none" << "none" << "" << "blocked" << "-";
    }
    void chosenFolder()
    {
        QFETCH(QString, tools);
        QFETCH(QString, runtime);
        QFETCH(QString, existing);
        QFETCH(QString, cache);
        QFETCH(QString, chosen);
        QTemporaryDir work;
        const QString program = work.filePath("program");
        const QString toolsFolder = program + "/tools";
        QDir().mkpath(program);
        if (tools != "none") {
            QDir().mkpath(toolsFolder);
            ::chmod(QFile::encodeName(toolsFolder), tools.toUInt(nullptr, 8));
        }
        const QString runtimeFolder = work.filePath("run");
        QDir().mkpath(runtimeFolder);
        QFile::setPermissions(runtimeFolder, ownerOnly());
        const QString inRuntime = runtimeFolder + "/fusewright";
        if (existing == "0755") {
            QDir().mkpath(inRuntime);
            QFile::setPermissions(inRuntime, ownerOnly() | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther);
        } else if (existing == "link") {
            QFile::link(work.path(), inRuntime);
        } else if (existing == "file") {
            QFile f(inRuntime);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        qputenv("XDG_RUNTIME_DIR", runtime == "dir" ? QFile::encodeName(runtimeFolder)
                                   : runtime == "relative" ? QByteArray("run") : QByteArray());
        const QString cacheFolder = work.filePath(cache == "blocked" ? "file-not-folder/cache" : "cache");
        QFile(work.filePath("file-not-folder")).open(QIODevice::WriteOnly);
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cacheFolder));

        const platform::ExchangeFolder answer = platform::exchangeFolder(platform::posixRendering(), program);
        const QString expected = chosen == "runtime" ? inRuntime
                                 : chosen == "cache"   ? cacheFolder + "/fusewright"
                                                       : toolsFolder;
        QCOMPARE(answer.path, expected);
        QCOMPARE(answer.writable, chosen != "-");
        if (chosen == "runtime" || chosen == "cache")
            QCOMPARE(modeOf(answer.path), ownerOnly());
        if (chosen == "cache")
            QCOMPARE(modeOf(cacheFolder), ownerOnly());
        if (chosen == "tools")
            QVERIFY(!QFileInfo::exists(inRuntime) && !QFileInfo::exists(cacheFolder));
        if (existing == "link")
            QVERIFY(QFileInfo(inRuntime).isSymLink());   // left as it was, never followed
    }
};

QTEST_GUILESS_MAIN(TestExchangeFolder)
#include "test_exchange_folder.moc"
