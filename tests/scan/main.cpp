#include "tests/scan/LibraryLoadingTest.h"
#include "tests/scan/ScanRunTest.h"
#include "tests/support/TestBus.h"

#include <QCoreApplication>
#include <QTest>

// Two test objects share one private bus; each starts and stops its own photoapp processes.
int main(int argc, char** argv) {
    TestBus bus;
    if (!bus.start())
        return 2;
    QCoreApplication app(argc, argv);
    int failures = 0;
    {
        LibraryLoadingTest loading;
        failures += QTest::qExec(&loading, argc, argv);
    }
    {
        ScanRunTest runs;
        failures += QTest::qExec(&runs, argc, argv);
    }
    return failures;
}
