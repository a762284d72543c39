#pragma once

#include "tests/support/TestBus.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTest>

// QTEST_MAIN variants that first start a private session bus for the whole executable.
#define VUP_TEST_MAIN_WITH_BUS(AppClass, TestObject)                                                         \
    int main(int argc, char** argv) {                                                                        \
        TestBus bus;                                                                                         \
        if (!bus.start())                                                                                    \
            return 2;                                                                                        \
        AppClass app(argc, argv);                                                                            \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                             \
        TestObject tc;                                                                                       \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        return QTest::qExec(&tc, argc, argv);                                                                \
    }

#define VUP_TEST_MAIN_CORE(TestObject) VUP_TEST_MAIN_WITH_BUS(QCoreApplication, TestObject)
#define VUP_TEST_MAIN_GUI(TestObject) VUP_TEST_MAIN_WITH_BUS(QApplication, TestObject)

// Runs several test objects one after another on one private bus, for an area whose cases are
// split over several classes; answers the failures of all of them added up.
template <typename AppClass, typename... TestObjects> int vupRunTests(int argc, char** argv) {
    TestBus bus;
    if (!bus.start())
        return 2;
    AppClass app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    int failures = 0;
    // Each object is gone before the next one starts, as if each ran in an executable of its own.
    const auto run = [&]<typename TestObject>() {
        TestObject test;
        failures += QTest::qExec(&test, argc, argv);
    };
    (run.template operator()<TestObjects>(), ...);
    return failures;
}
