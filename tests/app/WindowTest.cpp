#include "tests/app/WindowTest.h"

#include "app/ProgressIndicator.h"
#include "app/VupAppDelegate.h"
#include "platform/BundleInfo.h"
#include "platform/UserDefaults.h"
#include "scan/VupMode.h"
#include "tests/scan/TestLibrary.h"
#include "tests/support/DesktopServices.h"
#include "tests/support/LogCapture.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <thread>

namespace {

template <typename T> T* child(const VupAppDelegate& c, const char* name) {
    return c.window()->findChild<T*>(QString::fromLatin1(name));
}

QString label(const VupAppDelegate& c, const char* name) {
    return child<QLabel>(c, name)->text();
}

// Visible sheet alerts on the main window, oldest first.
QList<QMessageBox*> sheets(const VupAppDelegate& c) {
    QList<QMessageBox*> result;
    for (QMessageBox* box : c.window()->findChildren<QMessageBox*>()) {
        if (box->isVisible())
            result.append(box);
    }
    return result;
}

void closeSheets(const VupAppDelegate& c) {
    for (QMessageBox* box : sheets(c))
        box->buttons().constFirst()->click();
}

// Shows the window and takes the launch steps, as the application does once its loop runs; with
// `skipInfo` the info sheet is turned off first, otherwise the stored defaults decide.
void launch(VupAppDelegate& c, bool skipInfo = true) {
    if (skipInfo)
        UserDefaults::standard().setBool(QStringLiteral("skipInfoScreen"), true);
    c.window()->show();
    c.applicationDidFinishLaunching();
}

// Waits for the run to end and answers the title of the one sheet it leaves; empty otherwise.
QString sheetAtRunEnd(VupAppDelegate& c) {
    if (!QTest::qWaitFor([&] { return !c.nowProcessing(); }, 30000) || !c.waitForScanToEnd(10000) ||
        !QTest::qWaitFor([&] { return sheets(c).size() == 1; }, 5000))
        return {};
    return sheets(c).first()->text();
}

} // namespace

void WindowTest::initTestCase() {
    services = std::make_unique<DesktopServices>();
    QVERIFY(services->start(true, true));
    QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "openUrl");
    QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "openUrl");
}

void WindowTest::init() {
    // Each case starts with no stored defaults.
    config = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CONFIG_HOME", config->path().toUtf8());
    UserDefaults::standard().reload();
    openedUrls.clear();
}

void WindowTest::cleanupTestCase() {
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    services.reset();
}

void WindowTest::launchWithoutApplication() {
    VupAppDelegate c;
    launch(c);
    QCOMPARE(c.statusLabel(), QStringLiteral("Ready"));
    QCOMPARE(label(c, "statusLabel"), QStringLiteral("Ready"));
    QCOMPARE(label(c, "libraryImageCount"), QStringLiteral("0"));
    c.applicationDidBecomeActive();
    QCOMPARE(label(c, "selectedLabel"), QStringLiteral("0"));
    QVERIFY(!c.infoPanel()->isVisible());
    QVERIFY(child<QPushButton>(c, "processLibraryButton")->isEnabled());
    QVERIFY(!child<QPushButton>(c, "cancelButton")->isEnabled());
}

void WindowTest::launchShowsCountsAndInfoSheet() {
    TestLibrary lib;
    const qint64 a = lib.addPhoto(lib.writeFile(QStringLiteral("a.jpg")));
    const qint64 b = lib.addPhoto(lib.writeFile(QStringLiteral("b.jpg")));
    QVERIFY(lib.addPhoto(lib.writeFile(QStringLiteral("c.jpg"))));
    QVERIFY(lib.selectPhotos({a, b}));
    QVERIFY(lib.serve());
    VupAppDelegate c;
    launch(c, false);
    QCOMPARE(label(c, "libraryImageCount"), QStringLiteral("3"));
    // "skipInfoScreen" is absent: the info sheet comes up over the main window.
    QVERIFY(c.infoPanel()->isVisible());
    QCOMPARE(c.infoPanel()->parentWidget(), c.window());
    QCOMPARE(c.infoPanel()->windowModality(), Qt::WindowModal);
    c.applicationDidBecomeActive();
    QCOMPARE(label(c, "selectedLabel"), QStringLiteral("2"));

    // While a run is marked busy, becoming active leaves the selection count alone. Cancel is
    // offered only while the run can still act on it.
    c.setNowProcessing(true);
    QVERIFY(!child<QPushButton>(c, "processLibraryButton")->isEnabled());
    QVERIFY(!child<QPushButton>(c, "processSelectionButton")->isEnabled());
    c.setCancellable(true);
    QVERIFY(child<QPushButton>(c, "cancelButton")->isEnabled());
    c.setCancellable(false);
    QVERIFY(!child<QPushButton>(c, "cancelButton")->isEnabled());
    QVERIFY(lib.selectPhotos({a}));
    c.applicationDidBecomeActive();
    QCOMPARE(label(c, "selectedLabel"), QStringLiteral("2"));
    c.setNowProcessing(false);
    c.applicationDidBecomeActive();
    QCOMPARE(label(c, "selectedLabel"), QStringLiteral("1"));
    lib.stop();
}

void WindowTest::infoSheetButtons() {
    VupAppDelegate c;
    launch(c, false);
    QVERIFY(c.infoPanel()->isVisible());
    c.infoPanel()->findChild<QPushButton*>(QStringLiteral("moreInfoButton"))->click();
    QCOMPARE(openedUrls.size(), 1);
    QCOMPARE(openedUrls.first().toString(),
             BundleInfo::value(QString::fromLatin1(BundleInfo::kProductPage)).value());
    QVERIFY(c.infoPanel()->isVisible());

    c.infoPanel()->findChild<QCheckBox*>(QStringLiteral("skipInfoCheck"))->setChecked(true);
    QVERIFY(UserDefaults::standard().boolForKey(QStringLiteral("skipInfoScreen")));
    c.infoPanel()->findChild<QPushButton*>(QStringLiteral("dismissButton"))->click();
    QVERIFY(!c.infoPanel()->isVisible());

    // The choice holds for the next launch; the Info button still shows the sheet.
    VupAppDelegate next;
    next.window()->show();
    next.applicationDidFinishLaunching();
    QVERIFY(!next.infoPanel()->isVisible());
    child<QPushButton>(next, "infoButton")->click();
    QVERIFY(next.infoPanel()->isVisible());
}

void WindowTest::progressIndicator() {
    VupAppDelegate c;
    const ProgressIndicator& p = c.progressIndicator();
    auto* bar = child<QProgressBar>(c, "progressIndicator");
    c.prepareForRun();
    QVERIFY(p.isIndeterminate() && p.isAnimating() && p.showsBusy());
    // A determinate maximum of 0 is an empty bar, not Qt's busy bar.
    c.cfgProgressBarDeterminate();
    c.cfgProgressBarMaxValue(0);
    QVERIFY(!p.showsBusy());
    QCOMPARE(bar->value(), 0);
    c.cfgProgressBarMaxValue(200000);
    c.cfgProgressBarCurrentValue(100000);
    QCOMPARE(p.doubleValue(), 100000.0);
    QCOMPARE(bar->value(), ProgressIndicator::kSteps / 2);
    c.cfgProgressBarIndeterminate();
    c.stopAnimation();
    QVERIFY(!p.isIndeterminate() && !p.isAnimating() && !p.showsBusy());
    c.stopAnimation();
    QVERIFY(!p.isIndeterminate());
    c.processingComplete();
}

void WindowTest::sheetAlertForm() {
    VupAppDelegate c;
    c.window()->show();
    c.showInfo();
    QVERIFY(c.infoPanel()->isVisible());
    std::atomic<bool> returned{false};
    std::thread scan([&] {
        c.showAlert(QStringLiteral("the text"), QStringLiteral("The Title"));
        returned = true;
    });
    scan.join();
    // The caller did not wait for the window: the alert is not up before the main thread turns.
    QVERIFY(returned);
    QVERIFY(sheets(c).isEmpty());
    QTRY_COMPARE(sheets(c).size(), 1);
    QMessageBox* box = sheets(c).first();
    QVERIFY(!c.infoPanel()->isVisible());
    QCOMPARE(box->text(), QStringLiteral("The Title"));
    QCOMPARE(box->informativeText(), QStringLiteral("the text"));
    QCOMPARE(box->icon(), QMessageBox::Warning);
    QCOMPARE(box->windowModality(), Qt::WindowModal);
    QCOMPARE(box->buttons().size(), 1);
    QCOMPARE(box->buttons().first()->text(), QStringLiteral("OK"));
    box->buttons().first()->click();
    QTRY_VERIFY(sheets(c).isEmpty());
}

void WindowTest::modalAlertWaitsForOK() {
    VupAppDelegate c;
    c.window()->show();
    std::atomic<bool> returned{false};
    // The alert runs its own event loop on this thread: answer it from a timer inside that loop.
    QString text, informative;
    Qt::WindowModality modality = Qt::NonModal;
    bool returnedWhileUp = true;
    int polls = 0;
    QTimer answer;
    connect(&answer, &QTimer::timeout, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        // Give the caller time to run ahead if it were not waiting.
        if (++polls < 5)
            return;
        text = box->text();
        informative = box->informativeText();
        modality = box->windowModality();
        returnedWhileUp = returned;
        box->buttons().first()->click();
        answer.stop();
    });
    answer.start(20);
    std::thread scan([&] {
        c.showModalAlert(QStringLiteral("body text"), QStringLiteral("Missing Keywords"));
        returned = true;
    });
    QTRY_VERIFY_WITH_TIMEOUT(returned, 20000);
    scan.join();
    QVERIFY(!returnedWhileUp);
    QCOMPARE(text, QStringLiteral("Missing Keywords"));
    QCOMPARE(informative, QStringLiteral("body text"));
    QCOMPARE(modality, Qt::ApplicationModal);
}

// Cancel three times, then Open: three log lines, four panels, each titled and worded alike.
void WindowTest::accessPromptAsksUntilOpen() {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("Family.photolibrary"));
    QVERIFY(QDir().mkpath(target));
    VupAppDelegate c;
    c.window()->show();
    LogCapture log;
    int shown = 0;
    QStringList titles, messages, folders;
    QTimer answer;
    connect(&answer, &QTimer::timeout, this, [&] {
        auto* panel = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!panel)
            return;
        ++shown;
        titles.append(panel->windowTitle());
        if (auto* m = panel->findChild<QLabel*>(QStringLiteral("accessPromptMessage")))
            messages.append(m->text());
        folders.append(panel->directory().absolutePath());
        if (shown < 4)
            panel->reject();
        else
            QMetaObject::invokeMethod(panel, "accept", Qt::DirectConnection);
    });
    answer.start(20);
    c.userSelectedFiles(target);
    answer.stop();
    QCOMPARE(shown, 4);
    QCOMPARE(log.linesStartingWith(QStringLiteral("NSOpenPanel result = ")),
             QStringList(3, QStringLiteral("NSOpenPanel result = 0")));
    QCOMPARE(titles, QStringList(4, QStringLiteral("Read Access Required")));
    QCOMPARE(messages.size(), 4);
    QCOMPARE(messages.first(),
             QStringLiteral("Vup Requires read/write access to Family.photolibrary in order to detect "
                            "and recover zombies.\nPlease select it or it's parent folder and hit the "
                            "Open button."));
    QCOMPARE(folders.first(), QDir(dir.path()).absolutePath());
}

// A library scan started from the button: busy state, one assertion, a second start refused,
// and back to idle with the summary sheet.
void WindowTest::scanFromTheButtons() {
    TestLibrary lib;
    for (int i = 0; i < 3; ++i)
        QVERIFY(lib.addPhoto(lib.missingPath(QStringLiteral("gone%1.jpg").arg(i))));
    QVERIFY(lib.addIssueKeywords());
    QVERIFY(lib.serve());
    const qsizetype inhibitsBefore = services->inhibited().size();
    VupAppDelegate c;
    launch(c);
    QSignalSpy busy(&c, &VupAppDelegate::nowProcessingChanged);
    // Cancel is enabled from the start and disabled as the tagging begins.
    QList<bool> cancelEnabled;
    connect(&c, &VupAppDelegate::cancellableChanged, this,
            [&] { cancelEnabled.append(child<QPushButton>(c, "cancelButton")->isEnabled()); });

    child<QPushButton>(c, "processLibraryButton")->click();
    QVERIFY(c.nowProcessing());
    QVERIFY(!c.selectionMode());
    QVERIFY(!child<QPushButton>(c, "processLibraryButton")->isEnabled());
    QVERIFY(!child<QPushButton>(c, "processSelectionButton")->isEnabled());
    QVERIFY(c.holdsAssertion());
    // A second start while busy is refused: no second assertion, no second run.
    c.processSelection();
    QVERIFY(!c.selectionMode());
    QCOMPARE(services->inhibited().size(), inhibitsBefore + 1);

    QTRY_VERIFY_WITH_TIMEOUT(!c.nowProcessing(), 30000);
    QVERIFY(c.waitForScanToEnd(10000));
    QCOMPARE(busy.size(), 2);
    QCOMPARE(cancelEnabled, (QList<bool>{true, false}));
    QVERIFY(!c.holdsAssertion());
    QVERIFY(services->held().isEmpty());
    QTRY_COMPARE(label(c, "statusLabel"), QStringLiteral("Processing Complete"));
    QTRY_COMPARE(sheets(c).size(), 1);
    QCOMPARE(sheets(c).first()->text(), QStringLiteral("Success"));
    QVERIFY(sheets(c).first()->informativeText().startsWith(QStringLiteral("Vup discovered 3 issues")));
    QVERIFY(child<QPushButton>(c, "processLibraryButton")->isEnabled());
    QVERIFY(!c.progressIndicator().isIndeterminate());
    QCOMPARE(c.progressIndicator().maxValue(), 3.0);
    closeSheets(c);
    lib.stop();
}

// Cancel stops the run it was pressed in; the next run starts afresh.
void WindowTest::cancelAppliesToOneRunOnly() {
    TestLibrary lib;
    for (int i = 0; i < 3; ++i)
        QVERIFY(lib.addPhoto(lib.writeFile(QStringLiteral("p%1.jpg").arg(i))));
    QVERIFY(lib.serve());
    VupAppDelegate c;
    launch(c);

    child<QPushButton>(c, "processLibraryButton")->click();
    child<QPushButton>(c, "cancelButton")->click();
    QVERIFY(c.cancelled());
    QVERIFY(!child<QPushButton>(c, "cancelButton")->isEnabled());
    // A cancelled run says so and asks nothing: no alert to dismiss.
    QVERIFY(QTest::qWaitFor([&] { return !c.nowProcessing(); }, 30000) && c.waitForScanToEnd(10000));
    QCOMPARE(label(c, "statusLabel"), QStringLiteral("Scan Cancelled"));
    QVERIFY(sheets(c).isEmpty());

    child<QPushButton>(c, "processLibraryButton")->click();
    QVERIFY(!c.cancelled());
    QCOMPARE(sheetAtRunEnd(c), QStringLiteral("Success"));
    closeSheets(c);
    lib.stop();
}

// Quitting in the middle of a run: the run winds down, the assertion is given back, nothing is
// left running when the controller goes.
void WindowTest::quitDuringScan() {
    TestLibrary lib;
    for (int i = 0; i < 50; ++i)
        QVERIFY(lib.addPhoto(lib.writeFile(QStringLiteral("p%1.jpg").arg(i))));
    QVERIFY(lib.serve());
    {
        VupAppDelegate c;
        launch(c);
        c.processLibrary();
        QVERIFY(c.holdsAssertion());
        c.prepareToQuit();
        QVERIFY(!c.holdsAssertion());
        QVERIFY(services->held().isEmpty());
        QVERIFY(c.waitForScanToEnd(30000));
        // No new run once quitting has begun.
        c.processLibrary();
        QVERIFY(!c.nowProcessing());
    }
    QVERIFY(services->held().isEmpty());
    lib.stop();
}

// Neither a screen saver nor a notification service on the bus: the run goes ahead and ends
// normally, holding and releasing nothing.
void WindowTest::runWithoutDesktopServices() {
    services->stop();
    TestLibrary lib;
    QVERIFY(lib.addPhoto(lib.writeFile(QStringLiteral("fine.jpg"))));
    QVERIFY(lib.serve());
    {
        VupAppDelegate c;
        launch(c);
        c.processLibrary();
        QVERIFY(c.nowProcessing());
        QVERIFY(!c.holdsAssertion());
        QCOMPARE(sheetAtRunEnd(c), QStringLiteral("Success"));
    }
    lib.stop();
    QVERIFY(services->start(true, true));
}
