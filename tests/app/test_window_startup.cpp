// Start-up state, the selection lists, and what choosing does.

#include "app_test_main.h"
#include "window_fixture.h"

#include "app/output_pane_edit.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>

namespace {
QStringList items(QComboBox *c)
{
    QStringList out;
    for (int i = 0; i < c->count(); ++i)
        out << c->itemText(i);
    return out;
}
} // namespace

class TestWindowStartup : public QObject {
    Q_OBJECT
private slots:
    void listsHoldTheirItemsInOrderWithNothingChosen()
    {
        WindowFixture f;
        frmMain &w = f.open();
        QCOMPARE(items(f.find<QComboBox>("cmbDevice")), (QStringList{"ATmega8", "ATmega16"}));
        QCOMPARE(items(f.find<QComboBox>("cmbPgr")), (QStringList{"avr910", "pony-stk200", "usbasp"}));
        QCOMPARE(items(f.find<QComboBox>("cmbPort")),
                 (QStringList{"lpt1", "lpt2", "com1", "com2", "com3", "com4", "usb"}));
        QCOMPARE(
            items(f.find<QComboBox>("cmbOsc")),
            (QStringList{"内部RC 1MHz", "内部RC 2MHz", "内部RC 4MHz", "内部RC 8MHz", "外部晶体振荡器(0.4---0.9MHz)",
                         "外部晶体振荡器(0.9---3.0MHz)", "外部晶体振荡器(3.0---8.0MHz)", "32768Hz低频晶振",
                         "外部频率源", "外部RC振荡器(=<0.9MHz)", "外部RC振荡器(0.9---3.0MHz)",
                         "外部RC振荡器(3.0---8.0MHz)", "外部RC振荡器(8.0---12.0MHz)"}));
        for (const char *name : {"cmbDevice", "cmbPgr", "cmbPort", "cmbOsc"}) {
            QCOMPARE(f.find<QComboBox>(name)->currentIndex(), -1);
            QCOMPARE(f.find<QComboBox>(name)->currentText(), QString());
        }
        for (const QString *s :
             {&w.strSignature, &w.strPart, &w.strProgrammer, &w.strPort, &w.strFlashFile, &w.strEepromFile})
            QVERIFY(s->isEmpty());
        QVERIFY(w.strCommand.isEmpty() && w.strCommand.text.isEmpty());
        QVERIFY(w.strFlashOp.isEmpty() && w.strFlashVerify.isEmpty() && w.strEepromOp.isEmpty()
                && w.strEepromVerify.isEmpty() && w.strCalOp.isEmpty());
        QVERIFY(f.dialogs.messages.isEmpty());
        QVERIFY(!w.startRefused());
    }

    void panelsStartInTheirDefaultState()
    {
        WindowFixture f;
        frmMain &w = f.open();
        for (int i = 0; i < 32; ++i) {
            QCOMPARE(w.chkFuse(i)->text(), QStringLiteral(" "));
            QVERIFY(!w.chkFuse(i)->isEnabled());
            QVERIFY(!w.chkFuse(i)->isChecked());
        }
        QVERIFY(f.find<QRadioButton>("optFwr")->isChecked());
        QVERIFY(!f.find<QRadioButton>("optFrd")->isChecked());
        QVERIFY(f.find<QRadioButton>("optEEwr")->isChecked());
        QVERIFY(!f.find<QRadioButton>("optEErd")->isChecked());
        for (const char *name : {"chkFvf", "chkEEvf"}) {
            QVERIFY(f.find<QCheckBox>(name)->isChecked());
            QVERIFY(!f.find<QCheckBox>(name)->isEnabled());
        }
        QCOMPARE(f.paneText(), QStringLiteral(" "));
        QCOMPARE(f.find<QGroupBox>("fraFuse")->title(), QStringLiteral("熔丝位设置"));
        for (const char *name : {"cmdRst", "cmdFuseRD", "cmdFuseWR", "cmdCalRD", "cmdFrun", "cmdErun"})
            QVERIFY(f.find<QWidget>(name)->isEnabled());
    }

    void choosingStoresTheItemText()
    {
        WindowFixture f;
        frmMain &w = f.open();
        f.choose("cmbPgr", QStringLiteral("pony-stk200"));
        QCOMPARE(w.strProgrammer, QStringLiteral("pony-stk200"));
        f.choose("cmbPort", QStringLiteral("usb"));
        QCOMPARE(w.strPort, QStringLiteral("usb"));
        // The same item again stores the same text again.
        w.strPort = QStringLiteral("stale");
        f.choose("cmbPort", QStringLiteral("usb"));
        QCOMPARE(w.strPort, QStringLiteral("usb"));
    }

    void arrowKeysAreAChoice()
    {
        WindowFixture f;
        frmMain &w = f.open();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QComboBox *pgr = f.find<QComboBox>("cmbPgr");
        pgr->setFocus();
        QTest::keyClick(pgr, Qt::Key_Down);
        QCOMPARE(w.strProgrammer, pgr->currentText());
        QVERIFY(!w.strProgrammer.isEmpty());
        QTest::keyClick(pgr, Qt::Key_Down);
        QCOMPARE(w.strProgrammer, pgr->currentText());
    }

    void mouseChoiceFromThePopupIsAChoice()
    {
        WindowFixture f;
        frmMain &w = f.open();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QComboBox *port = f.find<QComboBox>("cmbPort");
        for (int round = 0; round < 2; ++round) { // the same item twice
            w.strPort.clear();
            port->showPopup();
            QAbstractItemView *view = port->view();
            QTRY_VERIFY(view->isVisible());
            const QRect item = view->visualRect(view->model()->index(6, 0));
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
            QTRY_COMPARE(w.strPort, QStringLiteral("usb"));
        }
    }

    void typedTextIsNeitherAnItemNorAChoice()
    {
        WindowFixture f;
        frmMain &w = f.open();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        for (const char *name : {"cmbPgr", "cmbPort", "cmbDevice"}) {
            QComboBox *combo = f.find<QComboBox>(name);
            const int count = combo->count();
            QSignalSpy activated(combo, &QComboBox::activated);
            combo->setFocus();
            combo->lineEdit()->selectAll();
            // Text that equals an item, and text that equals none.
            const QString same = combo->itemText(count - 1);
            QTest::keyClicks(combo->lineEdit(), same);
            QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
            QTest::keyClick(combo->lineEdit(), Qt::Key_Enter);
            combo->lineEdit()->selectAll();
            QTest::keyClicks(combo->lineEdit(), QStringLiteral("lpt9"));
            QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
            // Leaving the field must not count either.
            f.find<QWidget>("cmdRst")->setFocus();
            QCoreApplication::processEvents();
            QCOMPARE(combo->count(), count);
            QCOMPARE(activated.count(), 0);
        }
        QVERIFY(w.strProgrammer.isEmpty());
        QVERIFY(w.strPort.isEmpty());
        QVERIFY(w.strPart.isEmpty());
        QCOMPARE(w.chkFuse(10)->text(), QStringLiteral(" "));
    }

    void typedTextThenAChoiceTakesTheItem()
    {
        WindowFixture f;
        frmMain &w = f.open();
        QComboBox *port = f.find<QComboBox>("cmbPort");
        port->lineEdit()->setText(QStringLiteral("whatever"));
        f.choose("cmbPort", QStringLiteral("com2"));
        QCOMPARE(w.strPort, QStringLiteral("com2"));
    }

    void choosingAtmega8LabelsAndEnablesThePanel()
    {
        WindowFixture f;
        frmMain &w = f.open();
        w.chkFuse(3)->setChecked(true); // even boxes the user cannot reach are cleared
        f.choose("cmbDevice", QStringLiteral("ATmega8"));
        QCOMPARE(w.strPart, QStringLiteral("m8"));
        QCOMPARE(w.strSignature, QStringLiteral("0x1e9307"));
        QCOMPARE(f.find<QGroupBox>("fraFuse")->title(), QStringLiteral(" 熔丝位设置 for ATmega8"));
        const QStringList labels = {"BtLk12", "BtLk11", "BtLk02", "BtLk01", "Lock2",  "lock1", "RSTDIS", "WDTON",
                                    "SPIEN",  "CHKOPT", "EESAVE", "BTSIZ1", "BTSIZ0", "BTRST", "BODLVL", "BODEN",
                                    "SUT1",   "SUT0",   "CKSEL3", "CKSEL2", "CKSEL1", "CKSEL0"};
        for (int i = 0; i < 32; ++i) {
            QVERIFY(!w.chkFuse(i)->isChecked());
            if (i < 10) {
                QCOMPARE(w.chkFuse(i)->text(), QStringLiteral(" "));
                QVERIFY(!w.chkFuse(i)->isEnabled());
            } else {
                QCOMPARE(w.chkFuse(i)->text(), labels.at(i - 10));
                QCOMPARE(w.chkFuse(i)->isEnabled(), i != 18 && i < 28);
            }
        }
    }

    void switchingChipsRelabelsAndClears()
    {
        WindowFixture f;
        frmMain &w = f.open();
        f.choose("cmbDevice", QStringLiteral("ATmega8"));
        w.chkFuse(20)->setChecked(true);
        w.chkFuse(31)->setChecked(true);
        f.choose("cmbDevice", QStringLiteral("ATmega16"));
        QCOMPARE(w.strPart, QStringLiteral("m16"));
        QCOMPARE(w.strSignature, QStringLiteral("0x1e9403"));
        QCOMPARE(f.find<QGroupBox>("fraFuse")->title(), QStringLiteral(" 熔丝位设置 for ATmega16"));
        QCOMPARE(w.chkFuse(16)->text(), QStringLiteral("OCDEN"));
        QCOMPARE(w.chkFuse(17)->text(), QStringLiteral("JTAGEN"));
        QCOMPARE(w.chkFuse(19)->text(), QStringLiteral("CHKOPT"));
        for (int i = 0; i < 32; ++i)
            QVERIFY(!w.chkFuse(i)->isChecked());

        // Choosing the same chip again clears the ticks and keeps the rest.
        w.chkFuse(25)->setChecked(true);
        f.choose("cmbDevice", QStringLiteral("ATmega16"));
        QVERIFY(!w.chkFuse(25)->isChecked());
        QCOMPARE(w.strPart, QStringLiteral("m16"));
        QCOMPARE(w.chkFuse(16)->text(), QStringLiteral("OCDEN"));
    }

    void unknownDeviceTextOnlyClears()
    {
        WindowFixture f;
        frmMain &w = f.open();
        f.choose("cmbDevice", QStringLiteral("ATmega8"));
        w.chkFuse(21)->setChecked(true);
        QComboBox *device = f.find<QComboBox>("cmbDevice");
        device->setEditText(QStringLiteral("atmega8"));
        w.cmbDevice_Click();
        QVERIFY(!w.chkFuse(21)->isChecked());
        QCOMPARE(w.strPart, QStringLiteral("m8"));
        QCOMPARE(w.strSignature, QStringLiteral("0x1e9307"));
        QCOMPARE(w.chkFuse(16)->text(), QStringLiteral("RSTDIS"));
        QCOMPARE(f.find<QGroupBox>("fraFuse")->title(), QStringLiteral(" 熔丝位设置 for ATmega8"));
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    void deviceChoiceLeavesOtherControlsAlone()
    {
        WindowFixture f;
        frmMain &w = f.open();
        f.choose("cmbOsc", QStringLiteral("外部频率源"));
        f.choose("cmbDevice", QStringLiteral("ATmega8"));
        QCOMPARE(f.find<QComboBox>("cmbOsc")->currentText(), QStringLiteral("外部频率源"));
        QCOMPARE(f.paneText(), QStringLiteral(" "));
        QVERIFY(w.strProgrammer.isEmpty());
    }

    void centredOnTheScreenWithItsOuterFrame()
    {
        WindowFixture f;
        frmMain &w = f.open();
        const QRect screen = w.screen()->geometry();
        const QRect outer = w.frameGeometry();
        QCOMPARE(outer.left(), qRound(screen.left() + (screen.width() - outer.width()) / 2.0));
        QCOMPARE(outer.top(), qRound(screen.top() + (screen.height() - outer.height()) / 2.0));
    }
};

FW_APP_TEST_MAIN(TestWindowStartup)
#include "test_window_startup.moc"
