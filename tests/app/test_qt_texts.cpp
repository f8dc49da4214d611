// Qt's own texts read in Simplified Chinese whatever the system locale.

#include "app_test_main.h"

#include <QDialogButtonBox>
#include <QPushButton>

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

    void fileDialogIsChinese()
    {
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Open"), QStringLiteral("打开"));
    }
};

FW_APP_TEST_MAIN(TestQtTexts)
#include "test_qt_texts.moc"
