// The About window opened from the main window's link: its texts at every
// load, the keys and clicks that close it, its links, one window at a time,
// and a life of its own beside the main window.

#include "app/frmSplash.h"
#include "app_test_main.h"
#include "window_fixture.h"

#include <QDesktopServices>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QUrl>
#include <QWindow>

class TestAboutWindow : public QObject {
    Q_OBJECT
public slots:
    void openedWithDesktop(const QUrl &url) { m_opened << url.toString(); }

private:
    QStringList m_opened;

    static QList<frmSplash *> visibleAboutWindows()
    {
        QList<frmSplash *> found;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *about = qobject_cast<frmSplash *>(w); about && about->isVisible())
                found << about;
        return found;
    }
    static frmSplash *openAbout(WindowFixture &f)
    {
        f.window().labURL_Click();
        const auto found = visibleAboutWindows();
        return found.size() == 1 ? found.first() : nullptr;
    }
    static QString text(frmSplash *about, const char *label)
    {
        return about->findChild<QLabel *>(QString::fromLatin1(label))->text();
    }

private slots:
    void initTestCase()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "openedWithDesktop");
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), this, "openedWithDesktop");
    }
    void cleanupTestCase()
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
    }

    void filledAtEveryLoadAndNeverTwice()
    {
        WindowFixture f;
        f.open();
        QPointer<frmSplash> about = openAbout(f);
        QVERIFY(about);
        QCOMPARE(text(about, "lblVersion"), QStringLiteral("版本 1.0.0"));
        QCOMPARE(text(about, "lblProductName"), QStringLiteral("Fusewright"));
        QCOMPARE(text(about, "lblPlatform"), QStringLiteral("for linux"));
        QCOMPARE(text(about, "lblWarning"), QStringLiteral("警告:本软件并不保证100％可靠，如有问题请联系"));
        QVERIFY(!text(about, "lblCompanyProduct").isEmpty());
        QVERIFY(!text(about, "lblCompany").isEmpty());
        QCOMPARE(openAbout(f), about.data());   // shown again, not a second one

        about->close();
        QTRY_VERIFY(!about);
        QCoreApplication::setApplicationVersion(QStringLiteral("2.13.5"));
        about = openAbout(f);
        QCoreApplication::setApplicationVersion(QStringLiteral("1.0.0"));
        QCOMPARE(text(about, "lblVersion"), QStringLiteral("版本 2.13.5"));
        about->close();
    }

    void shapeFontsAndPlace()
    {
        WindowFixture f;
        f.open();
        frmSplash *about = openAbout(f);
        QCOMPARE(about->size(), QSize(382, 271));
        QCOMPARE(about->minimumSize(), about->maximumSize());
        QVERIFY(about->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(!about->parentWidget());
        QCOMPARE(about->findChild<QGroupBox *>(QStringLiteral("Frame1"))->geometry(), QRect(8, 8, 368, 253));
        const auto *logo = about->findChild<QLabel *>(QStringLiteral("imgLogo"));
        QCOMPARE(logo->geometry(), QRect(24, 13, 97, 215));
        QCOMPARE(logo->pixmap().size(), QSize(123, 274));   // stretched by the label
        QVERIFY(logo->hasScaledContents());
        // Every label stays inside the frame once sized to its text.
        for (const QLabel *label : about->findChild<QGroupBox *>(QStringLiteral("Frame1"))->findChildren<QLabel *>())
            QVERIFY2(QRect(0, 0, 368, 253).contains(label->geometry()), qPrintable(label->objectName()));
        const QRect screen = about->screen()->geometry();
        QCOMPARE(about->pos(), QPoint((screen.width() - 382) / 2, (screen.height() - 271) / 2));
        // The Chinese labels get a face that has their characters, in the named size and weight.
        const struct { const char *label; const char *face; int points; bool bold; } fonts[] = {
            {"lblCompanyProduct", "AR PL UMing CN", 18, true}, {"lblVersion", "AR PL UMing CN", 12, true},
            {"lblCompany", "AR PL UMing CN", 14, false}, {"lblWarning", "AR PL UKai CN", 9, false}};
        for (const auto &font : fonts) {
            const QFontInfo info(about->findChild<QLabel *>(QString::fromLatin1(font.label))->font());
            QCOMPARE(info.family(), QString::fromLatin1(font.face));
            QCOMPARE(info.pointSize(), font.points);
            QCOMPARE(info.bold(), font.bold);
        }
        about->close();
    }

    void keysThatTypeACharacterClose_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("closes");
        QTest::newRow("letter") << int(Qt::Key_A) << true;
        QTest::newRow("Enter") << int(Qt::Key_Return) << true;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << true;
        QTest::newRow("space") << int(Qt::Key_Space) << true;
        QTest::newRow("arrow") << int(Qt::Key_Left) << false;
        QTest::newRow("F1") << int(Qt::Key_F1) << false;
        QTest::newRow("Shift") << int(Qt::Key_Shift) << false;
    }
    void keysThatTypeACharacterClose()
    {
        QFETCH(int, key);
        QFETCH(bool, closes);
        WindowFixture f;
        f.open();
        QPointer<frmSplash> about = openAbout(f);
        // Keyboard preview: a key aimed at a control reaches the window first.
        QTest::keyClick(about->findChild<QLabel *>(QStringLiteral("lblVersion")), Qt::Key(key));
        QCOMPARE(!about || !about->isVisible(), closes);
        if (about)
            about->close();
    }

    void clicksCloseOpenOrDoNothing()
    {
        m_opened.clear();
        WindowFixture f;
        f.open();
        QPointer<frmSplash> about = openAbout(f);
        for (const char *quiet : {"lblVersion", "lblCompany", "lblProductName", "lblPlatform"})
            QTest::mouseClick(about->findChild<QLabel *>(QString::fromLatin1(quiet)), Qt::LeftButton);
        QVERIFY(about && about->isVisible());
        QVERIFY(f.dialogs.messages.isEmpty());

        QTest::mouseClick(about->findChild<QLabel *>(QStringLiteral("imgLogo")), Qt::LeftButton);
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0].text, QStringLiteral("添加Quorvex的图片"));
        QCOMPARE(f.dialogs.messages[0].title, QStringLiteral("Fusewright"));
        QCOMPARE(f.dialogs.messages[0].icon, MessageIcon::None);

        QTest::mouseClick(about->findChild<QLabel *>(QStringLiteral("lblCompanyProduct")), Qt::LeftButton);
        QTest::mouseClick(about->findChild<QLabel *>(QStringLiteral("lblWarning")), Qt::LeftButton);
        QCOMPARE(m_opened, QStringList({QStringLiteral("https://fusewright.org/"),
                                        QStringLiteral("mailto:author@fusewright.org")}));
        QVERIFY(about->isVisible());

        QTest::mouseClick(about->findChild<QGroupBox *>(QStringLiteral("Frame1")), Qt::LeftButton, {},
                          QPoint(300, 20));
        QVERIFY(!about || !about->isVisible());
    }

    void outlivesTheMainWindow()
    {
        WindowFixture f;
        f.open().show();
        QPointer<frmSplash> about = openAbout(f);
        f.closeWindow();
        QCoreApplication::processEvents();
        QVERIFY(about && about->isVisible());
        // A window of its own that keeps the program running until it closes.
        QVERIFY(about->testAttribute(Qt::WA_QuitOnClose));
        QVERIFY(!about->windowHandle()->transientParent());
        about->close();
    }
};

FW_APP_TEST_MAIN(TestAboutWindow)
#include "test_about_window.moc"
