#include "tests/scan/LibraryLoadingTest.h"
#include "tests/scan/ScanRunTest.h"
#include "tests/support/TestMain.h"

// Two test objects share one private bus; each starts and stops its own photoapp processes.
int main(int argc, char** argv) {
    return vupRunTests<QCoreApplication, LibraryLoadingTest, ScanRunTest>(argc, argv);
}
