// The start-up baseline: the least a Qt Widgets program does to show a window.
// With --line the window shows one line of Chinese text, so that it too
// loads a font for the characters a user sees, as the program does.

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(640, 480);
    if (app.arguments().contains(QStringLiteral("--line"))) {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(new QLabel(QStringLiteral("请选择器件型号")));
    }
    window.show();
    return app.exec();
}
