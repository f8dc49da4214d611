#include "test_suite.h"

#include <QCoreApplication>

#include <cstring>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const bool oneClass = argc > 1 && argv[1][0] != '-';
    std::vector<char *> args{argv[0]};
    args.insert(args.end(), argv + (oneClass ? 2 : 1), argv + argc);
    int failures = 0;
    bool found = false;
    for (const fw_test::SuiteClass &suiteClass : fw_test::suiteClasses()) {
        if (oneClass && std::strcmp(argv[1], suiteClass.name) != 0)
            continue;
        found = true;
        failures += suiteClass.run(int(args.size()), args.data());
    }
    if (!found) {
        qWarning("No test class named %s", argv[1]);
        return 1;
    }
    return failures;
}
