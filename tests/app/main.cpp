#include "tests/app/ScanCommandTest.h"
#include "tests/app/TerminalDelegateTest.h"
#include "tests/app/WindowTest.h"
#include "tests/support/TestBus.h"

#include <QApplication>
#include <QTest>

// The window and the terminal runner share one private bus.
int main(int argc, char** argv) {
    TestBus bus;
    if (!bus.start())
        return 2;
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    int failures = 0;
    {
        WindowTest window;
        failures += QTest::qExec(&window, argc, argv);
    }
    {
        TerminalDelegateTest terminal;
        failures += QTest::qExec(&terminal, argc, argv);
    }
    {
        ScanCommandTest command;
        failures += QTest::qExec(&command, argc, argv);
    }
    return failures;
}
