#include "tests/app/FindingsTest.h"
#include "tests/app/ScanCommandTest.h"
#include "tests/app/TerminalDelegateTest.h"
#include "tests/app/WindowTest.h"
#include "tests/support/TestMain.h"

// The window and the terminal runner share one private bus.
int main(int argc, char** argv) {
    return vupRunTests<QApplication, WindowTest, TerminalDelegateTest, ScanCommandTest, FindingsTest>(argc,
                                                                                                      argv);
}
