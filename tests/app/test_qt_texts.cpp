// Qt's own texts read in Simplified Chinese whatever the system locale.

#include "app_test_main.h"

#include "app/qt_dialogs.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

class TestQtTexts : public QObject {
    Q_OBJECT
private slots:
    void standardButtonsAreChinese()
    {
        QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Yes
                             | QDialogButtonBox::No);
        QCOMPARE(box.button(QDialogButtonBox::Ok)->text().remove(QLatin1Char('&')), QStringLiteral("确定"));
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')), QStringLiteral("取消"));
        QCOMPARE(box.button(QDialogButtonBox::Yes)->text().remove(QLatin1Char('&')).left(1), QStringLiteral("是"));
        QCOMPARE(box.button(QDialogButtonBox::No)->text().remove(QLatin1Char('&')).left(1), QStringLiteral("否"));
    }

    void messageBoxShowsWhatItIsAsked_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("press");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("ok") << int(MessageButtons::Ok) << int(QMessageBox::Ok) << int(MessageAnswer::Ok)
                            << QStringList{"确定"};
        QTest::newRow("cancel") << int(MessageButtons::OkCancel) << int(QMessageBox::Cancel)
                                << int(MessageAnswer::Cancel) << QStringList{"确定", "取消"};
        QTest::newRow("yes") << int(MessageButtons::YesNo) << int(QMessageBox::Yes) << int(MessageAnswer::Yes)
                             << QStringList{"是", "否"};
        QTest::newRow("closed") << int(MessageButtons::YesNo) << -1 << int(MessageAnswer::No)
                                << QStringList{"是", "否"};
    }
    void messageBoxShowsWhatItIsAsked()
    {
        QFETCH(int, buttons);
        QFETCH(int, press);
        QFETCH(int, answer);
        QFETCH(QStringList, captions);
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QStringList shown;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            for (QAbstractButton *b : box->buttons())
                shown << b->text().remove(QLatin1Char('&')).left(2).remove(QLatin1Char('('));
            if (press < 0)
                box->reject();
            else
                box->button(QMessageBox::StandardButton(press))->click();
        });
        QtDialogs dialogs;
        const MessageAnswer got =
            dialogs.message(nullptr, QStringLiteral("确定进行熔丝位的写入？"), QStringLiteral("提示"),
                            MessageIcon::Question, MessageButtons(buttons));
        QCOMPARE(int(got), answer);
        QCOMPARE(title, QStringLiteral("提示"));
        QCOMPARE(text, QStringLiteral("确定进行熔丝位的写入？"));
        QCOMPARE(icon, QMessageBox::Question);
        shown.sort();
        captions.sort();
        QCOMPARE(shown, captions);
    }

    void fileFilterBecomesQtForm()
    {
        QCOMPARE(qtFileFilter(QStringLiteral("Intel HEX File(*.hex)|*.hex|Binary(*.bin)|*.bin")),
                 QStringLiteral("Intel HEX File(*.hex) (*.hex);;Binary(*.bin) (*.bin)"));
    }

    void saveDialogLeavesTheOverwriteQuestionToTheProgram()
    {
        bool asExpected = false;
        QTimer::singleShot(0, [&] {
            auto *shown = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            asExpected = shown && shown->testOption(QFileDialog::DontConfirmOverwrite)
                         && shown->acceptMode() == QFileDialog::AcceptSave && shown->directory() == QDir::temp();
            if (shown)
                shown->reject();
        });
        QVERIFY(QtDialogs()
                    .chooseFile(nullptr, {FileDialogMode::Save, "Binary(*.bin)|*.bin", QDir::tempPath(), {}})
                    .isEmpty());
        QVERIFY(asExpected);
    }

    void fileDialogIsChinese() { QCOMPARE(QCoreApplication::translate("QFileDialog", "Open"), QStringLiteral("打开")); }
};

FW_APP_TEST_MAIN(TestQtTexts)
#include "test_qt_texts.moc"
