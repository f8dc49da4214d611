#include "runner/selection_check.h"

#include <QtTest>

class TestSelectionCheck : public QObject {
    Q_OBJECT
private slots:
    void firstMissingSelectionIsNamed_data()
    {
        QTest::addColumn<QString>("part");
        QTest::addColumn<QString>("programmer");
        QTest::addColumn<QString>("port");
        QTest::addColumn<int>("missing"); // -1: none
        const int device = int(MissingSelection::Device), programmer = int(MissingSelection::Programmer);
        QTest::newRow("nothing") << ""
                                 << ""
                                 << "" << device;
        QTest::newRow("device only") << "m8"
                                     << ""
                                     << "" << programmer;
        QTest::newRow("no port") << "m16"
                                 << "usbasp"
                                 << "" << int(MissingSelection::Port);
        QTest::newRow("programmer and port but no device") << ""
                                                           << "usbasp"
                                                           << "usb" << device;
        QTest::newRow("port only") << ""
                                   << ""
                                   << "com1" << device;
        QTest::newRow("device and port") << "m8"
                                         << ""
                                         << "usb" << programmer;
        QTest::newRow("complete, avr910") << "m8"
                                          << "avr910"
                                          << "com1" << -1;
        QTest::newRow("complete, usbasp") << "m16"
                                          << "usbasp"
                                          << "usb" << -1;
        // Only the empty text means "not chosen".
        QTest::newRow("a blank is a choice") << "m8"
                                             << " "
                                             << " " << -1;
    }
    void firstMissingSelectionIsNamed()
    {
        QFETCH(QString, part);
        QFETCH(QString, programmer);
        QFETCH(QString, port);
        QFETCH(int, missing);
        const auto found = checkSelections({part, programmer, port});
        QCOMPARE(found ? int(*found) : -1, missing);
    }
};

QTEST_GUILESS_MAIN(TestSelectionCheck)
#include "test_selection_check.moc"
