#pragma once
// Several test classes in one program, one subject: each source file adds
// its class with FW_TEST_CLASS, and test_suite_main.cpp runs them in turn.
// A first argument that names a class runs that class alone; the arguments
// after it go to Qt Test ("test_command_runner RunnerOutputTest longLines").

#include <QTest>

#include <functional>
#include <vector>

namespace fw_test {
struct SuiteClass {
    const char *name;
    std::function<int(int argc, char **argv)> run;
};
inline std::vector<SuiteClass> &suiteClasses()
{
    static std::vector<SuiteClass> classes;
    return classes;
}
inline bool addToSuite(const char *name, std::function<int(int, char **)> run)
{
    suiteClasses().push_back({name, std::move(run)});
    return true;
}
} // namespace fw_test

#define FW_TEST_CLASS(TestClass)                                                                                       \
    static const bool fwInSuite##TestClass = fw_test::addToSuite(#TestClass, [](int argc, char **argv) {               \
        TestClass test;                                                                                                \
        return QTest::qExec(&test, argc, argv);                                                                        \
    });
