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

#include <tuple>

class TestAboutWindow : public QObject {
    Q_OBJECT
public slots:
    void openedWithDesktop(const QUrl &url) { m_opened << url.toString(); }

private:
    QStringList m_opened;

    // Clicks the main window's link; the one visible About window, or null.
    static frmSplash *openAbout(WindowFixture &f)
    {
        f.window().labURL_Click();
        QList<frmSplash *> found;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *about = qobject_cast<frmSplash *>(w); about && about->isVisible())
                found << about;
        return found.size() == 1 ? found.first() : nullptr;
    }
    static QLabel *label(frmSplash *about, const char *name)
    {
        return about->findChild<QLabel *>(QString::fromLatin1(name));
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

    void filledAtEveryLoadOneAtATimeOnItsOwn()
    {
        WindowFixture f;
        f.open().show();
        QPointer<frmSplash> about = openAbout(f);
        QVERIFY(about);
        QCOMPARE(label(about, "lblVersion")->text(), QStringLiteral("版本 1.0.0"));
        QCOMPARE(label(about, "lblProductName")->text(), QStringLiteral("Fusewright"));
        QCOMPARE(label(about, "lblPlatform")->text(), QStringLiteral("for linux"));
        QCOMPARE(label(about, "lblWarning")->text(), QStringLiteral("警告:本软件并不保证100％可靠，如有问题请联系"));
        QCOMPARE(label(about, "lblCompanyProduct")->text(), QStringLiteral("fusewright.org"));
        QVERIFY(!label(about, "lblCompany")->text().isEmpty());
        QCOMPARE(openAbout(f), about.data()); // shown again, not a second one

        // No owner: it stays, and keeps the program running, when the main window closes.
        f.closeWindow();
        QCoreApplication::processEvents();
        QVERIFY(about && about->isVisible() && !about->parentWidget());
        QVERIFY(about->testAttribute(Qt::WA_QuitOnClose) && !about->windowHandle()->transientParent());

        about->close();
        QTRY_VERIFY(!about);
        QCoreApplication::setApplicationVersion(QStringLiteral("2.13.5"));
        f.open();
        about = openAbout(f);
        QCoreApplication::setApplicationVersion(QStringLiteral("1.0.0"));
        QVERIFY(about);
        QCOMPARE(label(about, "lblVersion")->text(), QStringLiteral("版本 2.13.5"));
        about->close();
    }

    void shapeFontsAndPlace()
    {
        WindowFixture f;
        f.open();
        frmSplash *about = openAbout(f);
        QVERIFY(about);
        QCOMPARE(about->size(), QSize(382, 271));
        QVERIFY(about->minimumSize() == about->maximumSize() && (about->windowFlags() & Qt::FramelessWindowHint));
        auto *frame = about->findChild<QGroupBox *>(QStringLiteral("Frame1"));
        QCOMPARE(frame->geometry(), QRect(8, 8, 368, 253));
        QLabel *logo = label(about, "imgLogo");
        QCOMPARE(logo->geometry(), QRect(24, 13, 97, 215));
        QVERIFY(logo->pixmap().size() == QSize(123, 274) && logo->hasScaledContents()); // the built-in logo, stretched
        // Every label stays inside the frame once sized to its text.
        for (const QLabel *l : frame->findChildren<QLabel *>())
            QVERIFY2(QRect(0, 0, 368, 253).contains(l->geometry()), qPrintable(l->objectName()));
        const QRect screen = about->screen()->geometry();
        QCOMPARE(about->pos(), QPoint((screen.width() - 382) / 2, (screen.height() - 271) / 2));
        // The Chinese labels get a face that has their characters, in the named size and weight.
        const struct {
            const char *label;
            const char *face;
            int points;
            bool bold;
        } fonts[] = {{"lblCompanyProduct", "AR PL UMing CN", 18, true},
                     {"lblVersion", "AR PL UMing CN", 12, true},
                     {"lblCompany", "AR PL UMing CN", 14, false},
                     {"lblWarning", "AR PL UKai CN", 9, false}};
        for (const auto &font : fonts) {
            const QFontInfo info(label(about, font.label)->font());
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
        for (auto [name, key, closes] : {std::tuple{"letter", Qt::Key_A, true},
                                         {"Enter", Qt::Key_Return, true},
                                         {"Escape", Qt::Key_Escape, true},
                                         {"space", Qt::Key_Space, true},
                                         {"arrow", Qt::Key_Left, false},
                                         {"F1", Qt::Key_F1, false},
                                         {"Shift", Qt::Key_Shift, false}})
            QTest::newRow(name) << int(key) << closes;
    }
    void keysThatTypeACharacterClose()
    {
        QFETCH(int, key);
        QFETCH(bool, closes);
        WindowFixture f;
        f.open();
        QPointer<frmSplash> about = openAbout(f);
        QVERIFY(about && about->isVisible());
        // Keyboard preview: a key aimed at a control reaches the window first.
        QTest::keyClick(label(about, "lblVersion"), Qt::Key(key));
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
        QVERIFY(about);
        for (const char *quiet : {"lblVersion", "lblCompany", "lblProductName", "lblPlatform"})
            QTest::mouseClick(label(about, quiet), Qt::LeftButton);
        QVERIFY(about && about->isVisible());
        QVERIFY(f.dialogs.messages.isEmpty());

        QTest::mouseClick(label(about, "imgLogo"), Qt::LeftButton);
        QCOMPARE(f.dialogs.messages.size(), 1);
        const ShownMessage &shown = f.dialogs.messages[0];
        QVERIFY(shown.title == QStringLiteral("Fusewright") && shown.icon == MessageIcon::None);
        QCOMPARE(shown.text, QStringLiteral("添加Quorvex的图片"));

        QTest::mouseClick(label(about, "lblCompanyProduct"), Qt::LeftButton);
        QTest::mouseClick(label(about, "lblWarning"), Qt::LeftButton);
        QCOMPARE(m_opened, QStringList({QStringLiteral("https://fusewright.org/"),
                                        QStringLiteral("mailto:author@fusewright.org")}));
        QVERIFY(about->isVisible());

        QTest::mouseClick(about->findChild<QGroupBox *>(QStringLiteral("Frame1")), Qt::LeftButton, {}, {300, 20});
        QVERIFY(!about || !about->isVisible());
    }
};

FW_APP_TEST_MAIN(TestAboutWindow)
#include "test_about_window.moc"
