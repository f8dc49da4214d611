#include "runner/selection_check.h"

#include <QtTest>

class TestSelectionCheck : public QObject {
    Q_OBJECT
private slots:
    void firstMissingSelectionIsNamed_data()
    {
        QTest::addColumn<QStringList>("selections"); // part, programmer, port
        QTest::addColumn<int>("missing");            // -1: none
        const int device = int(MissingSelection::Device), programmer = int(MissingSelection::Programmer);
        QTest::newRow("nothing") << QStringList{"", "", ""} << device;
        QTest::newRow("device only") << QStringList{"m8", "", ""} << programmer;
        QTest::newRow("no port") << QStringList{"m16", "usbasp", ""} << int(MissingSelection::Port);
        QTest::newRow("programmer and port but no device") << QStringList{"", "usbasp", "usb"} << device;
        QTest::newRow("port only") << QStringList{"", "", "com1"} << device;
        QTest::newRow("device and port") << QStringList{"m8", "", "usb"} << programmer;
        QTest::newRow("complete, avr910") << QStringList{"m8", "avr910", "com1"} << -1;
        QTest::newRow("complete, usbasp") << QStringList{"m16", "usbasp", "usb"} << -1;
        // Only the empty text means "not chosen".
        QTest::newRow("a blank is a choice") << QStringList{"m8", " ", " "} << -1;
    }
    void firstMissingSelectionIsNamed()
    {
        QFETCH(QStringList, selections);
        QFETCH(int, missing);
        const auto found = checkSelections({selections[0], selections[1], selections[2]});
        QCOMPARE(found ? int(*found) : -1, missing);
    }
};

QTEST_GUILESS_MAIN(TestSelectionCheck)
#include "test_selection_check.moc"
