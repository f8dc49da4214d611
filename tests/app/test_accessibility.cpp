// What a screen reader finds in both windows, and the Tab order of the main
// window against the places of its controls on the screen.

#include "app/frmSplash.h"
#include "app_test_main.h"
#include "fuses/fuse_box_help.h"
#include "window_fixture.h"

#include <QAccessible>
#include <QCheckBox>

namespace {
bool isControl(const QObject *object)
{
    return object && object->isWidgetType() && !object->objectName().isEmpty()
           && !object->objectName().startsWith(QLatin1String("qt_")) && !object->inherits("QMenu")
           && QString::fromLatin1(object->metaObject()->className()) != "QFrame";
}

// Every named control below the interface, with the name it is announced by.
void collectNames(QAccessibleInterface *node, QMap<QString, QString> &names, int depth = 0)
{
    if (!node || depth > 8)
        return;
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface *child = node->child(i);
        if (!child)
            continue;
        QObject *object = child->object();
        if (isControl(object)) {
            QString key = object->objectName();
            if (object->property("index").isValid())
                key += QString::number(object->property("index").toInt());
            names.insert(key, child->text(QAccessible::Name).trimmed());
        }
        collectNames(child, names, depth + 1);
    }
}

QStringList unnamed(QWidget *window)
{
    QMap<QString, QString> names;
    collectNames(QAccessible::queryAccessibleInterface(window), names);
    QStringList missing;
    for (auto it = names.cbegin(); it != names.cend(); ++it)
        if (it.value().isEmpty())
            missing << it.key();
    return names.size() >= 8 ? missing : QStringList{QStringLiteral("(tree not found)")};
}
} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT
private slots:
    void everyControlHasAName()
    {
        WindowFixture f;
        frmMain &w = f.open();
        QCOMPARE(unnamed(&w), QStringList());
        QCOMPARE(w.chkFuse(3)->accessibleName(), QStringLiteral("熔丝位 3"));
        QCOMPARE(f.find<QWidget>("txtCal4")->accessibleName(), QStringLiteral("4MHz"));
        QCOMPARE(f.find<QWidget>("txtFlash")->accessibleName(), QStringLiteral("FLASH 文件"));
        // Labelled by the device, a box is announced by its caption, for each chip in turn.
        for (const char *device : {"ATmega8", "ATmega16"}) {
            f.choose("cmbDevice", QString::fromLatin1(device));
            QCOMPARE(unnamed(&w), QStringList());
            for (int i = 10; i < 32; ++i) {
                const QString caption = w.chkFuse(i)->text().trimmed();
                QCOMPARE(w.chkFuse(i)->accessibleName(),
                         caption.isEmpty() ? QStringLiteral("熔丝位 ") + QString::number(i) : caption);
            }
            // The box's explanation is its tooltip and what a screen reader reads.
            for (int i = 0; i < 32; ++i) {
                const QString help = fusepanel::boxHelp(*chipForListText(QString::fromLatin1(device)), i);
                QCOMPARE(w.chkFuse(i)->toolTip(), help);
                QCOMPARE(w.chkFuse(i)->accessibleDescription(), help);
                QCOMPARE(QAccessible::queryAccessibleInterface(w.chkFuse(i))->text(QAccessible::Description), help);
            }
        }

        w.labURL_Click();
        for (QWidget *top : QApplication::topLevelWidgets())
            if (auto *about = qobject_cast<frmSplash *>(top)) {
                QCOMPARE(unnamed(about), QStringList());
                about->close();
            }
    }

    void tabOrderFollowsTheScreen()
    {
        WindowFixture f;
        frmMain &w = f.open();
        f.choose("cmbDevice", QStringLiteral("ATmega8"));
        QList<QWidget *> chain;
        for (QWidget *next = f.find<QWidget>("labURL"); chain.size() < 200; next = next->nextInFocusChain()) {
            if (next == f.find<QWidget>("labURL") && !chain.isEmpty())
                break;
            if (isControl(next) && (next->focusPolicy() & Qt::TabFocus) && next->isEnabled())
                chain << next;
        }
        QCOMPARE(chain.size(), 41); // 21 enabled controls on the left; 17 ATmega8 fuse boxes and 3 on the right
        // The left column top down, then the right one; in one row, left to right.
        const int rightColumn = 5400 / 15;
        for (int i = 1; i < chain.size(); ++i) {
            const QRect a(chain[i - 1]->mapTo(&w, QPoint()), chain[i - 1]->size());
            const QRect b(chain[i]->mapTo(&w, QPoint()), chain[i]->size());
            const bool sameColumn = (a.left() < rightColumn) == (b.left() < rightColumn);
            const bool sameRow = a.top() <= b.bottom() && b.top() <= a.bottom();
            const bool follows =
                sameColumn ? (sameRow ? b.left() > a.left() : b.top() > a.top()) : a.left() < rightColumn;
            QVERIFY2(follows, qPrintable(chain[i - 1]->objectName() + " -> " + chain[i]->objectName()));
        }
    }
};

FW_APP_TEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
