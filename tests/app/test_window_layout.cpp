// The main window's controls: names, kinds, containers, captions, geometry
// (twips / 15), and captions that fit their boxes.

#include "app_test_main.h"
#include "window_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

namespace {
struct Control {
    const char *name;
    const char *cls;
    const char *parent;
    const char *caption;
    int l, t, w, h; // twips
};

// clang-format off
const Control inventory[] = {
    {"labURL", "QLabel", "frmMain", nullptr, 120, 120, 2415, 255},
    {"fraDevice", "QGroupBox", "frmMain", "器件选择", 120, 480, 1575, 615},
    {"cmbDevice", "QComboBox", "fraDevice", nullptr, 120, 240, 1335, 300},
    {"fraPrg", "QGroupBox", "frmMain", "编程器类型", 1800, 480, 1935, 615},
    {"cmbPgr", "QComboBox", "fraPrg", nullptr, 120, 240, 1695, 300},
    {"fraPort", "QGroupBox", "frmMain", "端口选择", 3840, 480, 1455, 615},
    {"cmbPort", "QComboBox", "fraPort", nullptr, 120, 240, 1215, 300},
    {"fraOsc", "QGroupBox", "frmMain", "时钟选择", 120, 1200, 3375, 615},
    {"cmbOsc", "QComboBox", "fraOsc", nullptr, 120, 240, 3135, 300},
    {"cmdRst", "QPushButton", "frmMain", "复位器件", 3600, 1320, 1695, 495},
    {"fraFlash", "QGroupBox", "frmMain", "FLASH", 120, 1920, 5175, 1095},
    {"optFwr", "QRadioButton", "fraFlash", "编程", 120, 240, 1215, 255},
    {"optFrd", "QRadioButton", "fraFlash", "读取", 1800, 240, 1335, 255},
    {"chkFvf", "QCheckBox", "fraFlash", "校验", 3360, 240, 1335, 255},
    {"cmdFrun", "QPushButton", "fraFlash", "运行", 4440, 240, 615, 375},
    {"txtFlash", "QLineEdit", "fraFlash", nullptr, 120, 705, 4335, 270},
    {"cmdFlash", "QPushButton", "fraFlash", "...", 4560, 720, 495, 255},
    {"fraEEP", "QGroupBox", "frmMain", "EEPROM", 120, 3120, 5175, 1095},
    {"optEEwr", "QRadioButton", "fraEEP", "编程", 120, 240, 1335, 255},
    {"optEErd", "QRadioButton", "fraEEP", "读取", 1800, 240, 1095, 255},
    // 180 twips (12 px) cannot hold a check mark; it gets chkFvf's height.
    {"chkEEvf", "QCheckBox", "fraEEP", "校验", 3360, 240, 1095, 255},
    {"cmdErun", "QPushButton", "fraEEP", "运行", 4440, 240, 615, 375},
    {"txtEEPROM", "QLineEdit", "fraEEP", nullptr, 120, 690, 4335, 285},
    {"cmdEEPROM", "QPushButton", "fraEEP", "...", 4560, 720, 495, 255},
    {"fraCal", "QGroupBox", "frmMain", "频率校准字节", 120, 4320, 5175, 975},
    {"Label1", "QLabel", "fraCal", "1MHz", 120, 240, 735, 255},
    {"txtCal1", "QLineEdit", "fraCal", nullptr, 960, 240, 855, 270},
    {"Label3", "QLabel", "fraCal", "4MHz", 2160, 240, 735, 255},
    {"txtCal4", "QLineEdit", "fraCal", nullptr, 2880, 240, 855, 270},
    {"Label2", "QLabel", "fraCal", "2MHz", 120, 600, 615, 255},
    {"txtCal2", "QLineEdit", "fraCal", nullptr, 960, 600, 855, 270},
    {"Label4", "QLabel", "fraCal", "8MHz", 2160, 600, 735, 255},
    {"txtCal8", "QLineEdit", "fraCal", nullptr, 2880, 600, 855, 270},
    {"cmdCalRD", "QPushButton", "fraCal", "读取", 4320, 240, 735, 615},
    {"fraFuse", "QGroupBox", "frmMain", "熔丝位设置", 5400, 120, 7935, 2775},
    {"fraFuseOp", "QGroupBox", "fraFuse", "", 120, 2040, 7695, 615},
    {"cmdFuseRD", "QPushButton", "fraFuseOp", "读取", 360, 240, 3135, 255},
    {"cmdFuseWR", "QPushButton", "fraFuseOp", "写入", 4200, 240, 3135, 255},
    {"fraOutput", "QGroupBox", "frmMain", "OutPut", 5400, 3000, 7935, 2295},
    {"txtOutput", "OutputPaneEdit", "fraOutput", nullptr, 120, 240, 7695, 1935},
};
// clang-format on

QRect px(int l, int t, int w, int h)
{
    return QRect(l / 15, t / 15, w / 15, h / 15);
}

QString captionOf(QWidget *w)
{
    if (auto *g = qobject_cast<QGroupBox *>(w))
        return g->title();
    if (auto *b = qobject_cast<QAbstractButton *>(w))
        return b->text();
    if (auto *l = qobject_cast<QLabel *>(w))
        return l->text();
    return QString();
}

// Room a check box or option button needs for its mark and caption.
int neededWidth(QAbstractButton *b)
{
    const bool radio = qobject_cast<QRadioButton *>(b) != nullptr;
    QStyle *s = b->style();
    const int mark = s->pixelMetric(radio ? QStyle::PM_ExclusiveIndicatorWidth : QStyle::PM_IndicatorWidth, nullptr, b);
    const int gap =
        s->pixelMetric(radio ? QStyle::PM_RadioButtonLabelSpacing : QStyle::PM_CheckBoxLabelSpacing, nullptr, b);
    return mark + gap + b->fontMetrics().horizontalAdvance(b->text());
}
} // namespace

class TestWindowLayout : public QObject {
    Q_OBJECT
private slots:
    void windowIsFixedAndTitled()
    {
        WindowFixture f;
        frmMain &w = f.open();
        QCOMPARE(w.objectName(), QStringLiteral("frmMain"));
        QCOMPARE(w.windowTitle(), QStringLiteral("Fusewright"));
        QCOMPARE(w.size(), QSize(898, 359));
        QCOMPARE(w.minimumSize(), QSize(898, 359));
        QCOMPARE(w.maximumSize(), QSize(898, 359));
        QVERIFY(!w.windowIcon().isNull());
    }

    void everyControlIsWhereItBelongs()
    {
        WindowFixture f;
        frmMain &w = f.open();
        for (const Control &c : inventory) {
            QWidget *widget = w.findChild<QWidget *>(QString::fromLatin1(c.name));
            QVERIFY2(widget, c.name);
            QVERIFY2(widget->inherits(c.cls), c.name);
            QCOMPARE(widget->parentWidget()->objectName(), QString::fromLatin1(c.parent));
            QCOMPARE(widget->geometry(), px(c.l, c.t, c.w, c.h));
            if (c.caption)
                QCOMPARE(captionOf(widget), QString::fromUtf8(c.caption));
        }
        QCOMPARE(f.find<QLabel>("labURL")->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    }

    void fuseGridFollowsItsFormula()
    {
        WindowFixture f;
        frmMain &w = f.open();
        QWidget *frame = f.find<QWidget>("fraFuse");
        for (int i = 0; i < 32; ++i) {
            QCheckBox *box = w.chkFuse(i);
            QCOMPARE(box->objectName(), QStringLiteral("chkFuse"));
            QCOMPARE(box->property("index").toInt(), i);
            const int col = i % 8, row = i / 8;
            const bool wide = QList<int>{0, 1, 6, 8, 9, 10, 15, 16, 17, 18, 23, 24, 25, 30, 31}.contains(i);
            QRect expected((5520 + 960 * col) / 15, (360 + 480 * row) / 15, (wide ? 975 : 855) / 15, 17);
            const bool inFrame = i >= 1 && i <= 8;
            QCOMPARE(box->parentWidget(), inFrame ? frame : static_cast<QWidget *>(&w));
            if (inFrame)
                expected.translate(-frame->pos());
            QCOMPARE(box->geometry(), expected);
        }
    }

    void editableCombosAndReadOnlyTexts()
    {
        WindowFixture f;
        f.open();
        for (const char *name : {"cmbDevice", "cmbPgr", "cmbPort", "cmbOsc"}) {
            QComboBox *c = f.find<QComboBox>(name);
            QVERIFY(c->isEditable());
            QCOMPARE(c->insertPolicy(), QComboBox::NoInsert);
        }
        for (const char *name : {"txtFlash", "txtEEPROM", "txtCal1", "txtCal2", "txtCal4", "txtCal8"})
            QVERIFY(f.find<QLineEdit>(name)->isReadOnly());
        for (const char *name : {"txtCal1", "txtCal2", "txtCal4", "txtCal8"})
            QCOMPARE(f.find<QLineEdit>(name)->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
        auto *pane = f.find<QPlainTextEdit>("txtOutput");
        QVERIFY(pane->isReadOnly());
        QCOMPARE(pane->lineWrapMode(), QPlainTextEdit::NoWrap);
        QCOMPARE(pane->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(pane->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    }

    void coloursFollowTheSystemRoles()
    {
        WindowFixture f;
        frmMain &w = f.open();
        const QPalette sys = w.palette();
        auto *pane = f.find<QPlainTextEdit>("txtOutput");
        QCOMPARE(pane->palette().color(QPalette::Base), sys.color(QPalette::WindowText));
        QCOMPARE(pane->palette().color(QPalette::Text), sys.color(QPalette::HighlightedText));
        for (const char *name : {"txtFlash", "txtEEPROM"}) // the highlight's hue, darkened to be read
            QVERIFY(qAbs(f.find<QLineEdit>(name)->palette().color(QPalette::Text).hsvHue()
                         - sys.color(QPalette::Highlight).hsvHue())
                    <= 2);
        auto *url = f.find<QLabel>("labURL");
        QCOMPARE(url->palette().color(QPalette::WindowText), sys.color(QPalette::Link));
        QCOMPARE(url->font().pointSize(), 12);
        QCOMPARE(url->font().families().value(0), QStringLiteral("Gungsuh"));
        QVERIFY(url->cursor().shape() == Qt::BitmapCursor || url->cursor().shape() == Qt::PointingHandCursor);
    }

    void captionsFitTheirBoxes()
    {
        WindowFixture f;
        frmMain &w = f.open();
        for (const char *device : {"ATmega8", "ATmega16"}) {
            f.choose("cmbDevice", QString::fromLatin1(device));
            for (QAbstractButton *b : w.findChildren<QAbstractButton *>()) {
                if (!qobject_cast<QCheckBox *>(b) && !qobject_cast<QRadioButton *>(b))
                    continue;
                QVERIFY2(neededWidth(b) <= b->width(), qPrintable(b->objectName() + QLatin1Char(' ') + b->text()));
                QVERIFY2(b->fontMetrics().height() <= b->height(), qPrintable(b->objectName()));
            }
        }
        for (QPushButton *b : w.findChildren<QPushButton *>())
            QVERIFY2(b->fontMetrics().horizontalAdvance(b->text()) + 4 <= b->width(), qPrintable(b->objectName()));
        for (QLabel *l : w.findChildren<QLabel *>())
            QVERIFY2(l->fontMetrics().horizontalAdvance(l->text()) <= l->width(), qPrintable(l->objectName()));
        for (QGroupBox *g : w.findChildren<QGroupBox *>())
            QVERIFY2(g->fontMetrics().horizontalAdvance(g->title()) + 8 <= g->width(), qPrintable(g->objectName()));
    }
};

FW_APP_TEST_MAIN(TestWindowLayout)
#include "test_window_layout.moc"
