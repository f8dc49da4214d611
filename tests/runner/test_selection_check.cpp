#include "app/user_messages.h"
#include "runner/selection_check.h"
#include "test_suite.h"

#include <QtTest>

class TestSelectionCheck : public QObject {
    Q_OBJECT
private slots:
    void firstMissingSelectionIsNamed_data()
    {
        QTest::addColumn<QString>("part");
        QTest::addColumn<QString>("programmer");
        QTest::addColumn<QString>("port");
        QTest::addColumn<int>("wording");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        const int n = int(SelectionWording::Notice), e = int(SelectionWording::Error);
        QTest::newRow("nothing, notice") << ""
                                         << ""
                                         << "" << n << "请选择器件"
                                         << "提示";
        QTest::newRow("nothing, error") << ""
                                        << ""
                                        << "" << e << "请选择器件类型"
                                        << "错误";
        QTest::newRow("device only, notice") << "m8"
                                             << ""
                                             << "" << n << "请选择编程设备"
                                             << "提示";
        QTest::newRow("device only, error") << "m8"
                                            << ""
                                            << "" << e << "请选择编程器类型"
                                            << "错误";
        QTest::newRow("no port, notice") << "m16"
                                         << "usbasp"
                                         << "" << n << "请选择端口"
                                         << "提示";
        QTest::newRow("no port, error") << "m16"
                                        << "usbasp"
                                        << "" << e << "请选择编程器所在端口"
                                        << "错误";
        QTest::newRow("programmer and port but no device") << ""
                                                           << "usbasp"
                                                           << "usb" << n << "请选择器件"
                                                           << "提示";
        QTest::newRow("port only, error") << ""
                                          << ""
                                          << "com1" << e << "请选择器件类型"
                                          << "错误";
        QTest::newRow("device and port, notice") << "m8"
                                                 << ""
                                                 << "usb" << n << "请选择编程设备"
                                                 << "提示";
    }
    void firstMissingSelectionIsNamed()
    {
        QFETCH(QString, part);
        QFETCH(QString, programmer);
        QFETCH(QString, port);
        QFETCH(int, wording);
        QFETCH(QString, text);
        QFETCH(QString, title);
        const auto missing = checkSelections({part, programmer, port});
        QVERIFY(missing.has_value());
        const UserMessage message = selectionMessage(*missing, SelectionWording(wording));
        QCOMPARE(message.text, text);
        QCOMPARE(message.title, title);
        QCOMPARE(message.icon, MessageIcon::Critical);
    }

    void completeSelectionsPass()
    {
        QVERIFY(!checkSelections({"m8", "avr910", "com1"}));
        QVERIFY(!checkSelections({"m16", "usbasp", "usb"}));
    }

    void aBlankIsAChoice()
    {
        // Only the empty text means "not chosen".
        QVERIFY(!checkSelections({"m8", " ", " "}));
    }
};

FW_TEST_CLASS(TestSelectionCheck)
#include "test_selection_check.moc"
