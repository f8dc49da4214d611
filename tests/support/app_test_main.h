#pragma once
// A test main that sets the application up as the program does (font,
// Chinese Qt texts), so layout and dialog texts are what users see.

#include "app/app_environment.h"

#include <QApplication>
#include <QTest>

#define FW_APP_TEST_MAIN(TestClass)                                                                                    \
    int main(int argc, char *argv[])                                                                                   \
    {                                                                                                                  \
        QApplication app(argc, argv);                                                                                  \
        configureApplication(app);                                                                                     \
        TestClass test;                                                                                                \
        return QTest::qExec(&test, argc, argv);                                                                        \
    }
