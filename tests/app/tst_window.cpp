/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "app/DesktopIdentity.h"
#include "app/ProgressIndicator.h"
#include "app/VupAppDelegate.h"
#include "app/findings/FindingsPresenter.h"
#include "app/findings/FindingsView.h"
#include "platform/BundleInfo.h"
#include "platform/UserDefaults.h"
#include "scan/engine/ScanDoor.h"
#include "scan/engine/VupMode.h"
#include "tests/support/Alerts.h"
#include "tests/support/AsNobody.h"
#include "tests/support/DesktopServices.h"
#include "tests/support/LogCapture.h"
#include "tests/support/Mnemonics.h"
#include "tests/support/TestLibrary.h"
#include "tests/support/TestMain.h"
#include "widgets/MessageBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QObject>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <atomic>
#include <memory>
#include <thread>

namespace {

template <typename T> T* child(const VupAppDelegate& c, const char* name) {
    return c.window()->findChild<T*>(QString::fromLatin1(name));
}

QString label(const VupAppDelegate& c, const char* name) {
    return child<QLabel>(c, name)->text();
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
        !QTest::qWaitFor([&] { return shownAlerts(c.window()).size() == 1; }, 5000))
        return {};
    return shownAlerts(c.window()).first()->text();
}

} // namespace

// The main window under the offscreen platform: launch, labels and buttons while busy, the
// progress bar, the sheet and modal alerts, the info sheet and the access prompt, and scans
// started from the buttons against a served library.
class tst_Window : public QObject {
    Q_OBJECT
public slots:
    // Receives the product page instead of a browser.
    void openUrl(const QUrl& url) { openedUrls.append(url); }

private:
    QTemporaryDir state;
    std::unique_ptr<QTemporaryDir> config;
    std::unique_ptr<DesktopServices> services;
    QList<QUrl> openedUrls;

private slots:
    void initTestCase() {
        services = std::make_unique<DesktopServices>();
        QVERIFY(services->start(true, true));
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "openUrl");
        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "openUrl");
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "openUrl");
        // Run by hand as under ctest: the keyword image, and a state folder of its own.
        if (qEnvironmentVariableIsEmpty("VUP_RESOURCE_DIR"))
            qputenv("VUP_RESOURCE_DIR", VUP_TEST_RESOURCE_DIR);
        qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));
    }

    void init() {
        // Each case starts with no stored defaults.
        config = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", config->path().toUtf8());
        UserDefaults::standard().reload();
        openedUrls.clear();
        MessageBox::reset();
    }

    void cleanupTestCase() {
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        services.reset();
    }

    // Launch without the photo application, which then starts, quits and starts again; the info
    // sheet at the first launch, and not at the next once the user said so.
    void launchFollowsTheApplication() {
        TestLibrary lib;
        const qint64 a = lib.addPhoto(lib.writeFile(QStringLiteral("a.jpg")));
        const qint64 b = lib.addPhoto(lib.writeFile(QStringLiteral("b.jpg")));
        QVERIFY(lib.addPhoto(lib.writeFile(QStringLiteral("c.jpg"))));
        QVERIFY(lib.selectPhotos({a, b}));
        // A packager's own page; the build's placeholder is never offered (below).
        const QString page = QStringLiteral("https://vup.test/");
        BundleInfo::overrideValue(QString::fromLatin1(BundleInfo::kProductPage), page);
        const auto unset = qScopeGuard([] { BundleInfo::resetOverrides(); });
        VupAppDelegate c;
        launch(c, false);
        QCOMPARE(label(c, "statusLabel"), QStringLiteral("Ready"));
        QCOMPARE(label(c, "libraryImageCount"), QStringLiteral("0"));
        // The 0 is explained.
        QVERIFY(child<QLabel>(c, "applicationHint")->isVisible());
        QCOMPARE(label(c, "applicationHint"),
                 QStringLiteral("photoapp is not running. Start it and scan again."));
        // "skipInfoScreen" is absent: the info sheet comes up over the main window, centred.
        QVERIFY(c.infoPanel()->isVisible());
        QCOMPARE(c.infoPanel()->parentWidget(), c.window());
        QCOMPARE(c.infoPanel()->windowModality(), Qt::WindowModal);
        QVERIFY((c.infoPanel()->frameGeometry().center() - c.window()->frameGeometry().center())
                    .manhattanLength() <= 2);
        // The icon's resource made it through the static libraries into the program.
        DesktopIdentity::apply();
        QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("org.vup.Vup"));
        QCOMPARE(QGuiApplication::windowIcon().availableSizes().size(), 8);
        QCOMPARE(mnemonicProblems(c.window()), QStringList());
        QCOMPARE(mnemonicProblems(c.infoPanel()), QStringList());
        c.applicationDidBecomeActive();
        QCOMPARE(label(c, "selectedLabel"), QStringLiteral("0"));
        QVERIFY(child<QPushButton>(c, "processLibraryButton")->isEnabled());
        QVERIFY(!child<QPushButton>(c, "cancelButton")->isEnabled());

        // The window follows the application coming, going and coming back, without being asked.
        for (int round = 0; round < 2; ++round) {
            QVERIFY(lib.serve());
            QTRY_COMPARE_WITH_TIMEOUT(label(c, "libraryImageCount"), QStringLiteral("3"), 1000);
            QCOMPARE(label(c, "selectedLabel"), QStringLiteral("2"));
            QVERIFY(!child<QLabel>(c, "applicationHint")->isVisible());
            lib.stop();
            QTRY_COMPARE_WITH_TIMEOUT(label(c, "libraryImageCount"), QStringLiteral("0"), 1000);
            QCOMPARE(label(c, "selectedLabel"), QStringLiteral("0"));
            QVERIFY(child<QLabel>(c, "applicationHint")->isVisible());
        }

        // While a run is marked busy, becoming active leaves the selection count alone.
        QVERIFY(lib.serve());
        QTRY_COMPARE_WITH_TIMEOUT(label(c, "selectedLabel"), QStringLiteral("2"), 1000);
        c.setNowProcessing(true);
        QVERIFY(lib.selectPhotos({a}));
        c.applicationDidBecomeActive();
        QCOMPARE(label(c, "selectedLabel"), QStringLiteral("2"));
        c.setNowProcessing(false);
        c.applicationDidBecomeActive();
        QCOMPARE(label(c, "selectedLabel"), QStringLiteral("1"));
        lib.stop();

        // The info sheet's buttons: the product page, and "do not show again" for the next launch.
        c.infoPanel()->findChild<QPushButton*>(QStringLiteral("moreInfoButton"))->click();
        QCOMPARE(openedUrls.size(), 1);
        QCOMPARE(openedUrls.first().toString(), page);
        QVERIFY(c.infoPanel()->isVisible());

        c.infoPanel()->findChild<QCheckBox*>(QStringLiteral("skipInfoCheck"))->setChecked(true);
        QVERIFY(UserDefaults::standard().boolForKey(QStringLiteral("skipInfoScreen")));
        c.infoPanel()->findChild<QPushButton*>(QStringLiteral("dismissButton"))->click();
        QVERIFY(!c.infoPanel()->isVisible());

        // The choice holds for the next launch; the Info button (or F1) still shows the sheet, its
        // box ticked as the setting stands, and without a button to a placeholder page.
        BundleInfo::overrideValue(QString::fromLatin1(BundleInfo::kProductPage),
                                  QStringLiteral("https://vup.example.org/"));
        VupAppDelegate next;
        launch(next, false);
        QVERIFY(!next.infoPanel()->isVisible());
        child<QPushButton>(next, "infoButton")->click();
        QVERIFY(next.infoPanel()->isVisible());
        QVERIFY(next.infoPanel()->findChild<QCheckBox*>(QStringLiteral("skipInfoCheck"))->isChecked());
        QVERIFY(!next.infoPanel()->findChild<QPushButton*>(QStringLiteral("moreInfoButton"))->isVisible());
    }

    // The bar and the screen saver over one run. A determinate maximum of 0 is an empty bar, not
    // Qt's busy bar. A slow screen-saver service holds up nothing, and what it grants is given back
    // even when its answer comes after the run has ended.
    void runStartAndEnd() {
        const qsizetype before = services->inhibited().size();
        services->setInhibitDelay(1000);
        const auto undelay = qScopeGuard([&] { services->setInhibitDelay(0); });
        VupAppDelegate c;
        const ProgressIndicator& p = c.progressIndicator();
        auto* bar = child<QProgressBar>(c, "progressIndicator");
        c.prepareForRun();
        QCOMPARE(services->inhibited().size(), before); // the window did not wait for the answer
        QVERIFY(p.isIndeterminate() && p.isAnimating() && p.showsBusy());
        c.cfgProgressBarDeterminate();
        c.cfgProgressBarMaxValue(0);
        QVERIFY(!p.showsBusy());
        QCOMPARE(bar->value(), 0);
        c.cfgProgressBarMaxValue(200000);
        c.cfgProgressBarCurrentValue(100000);
        QCOMPARE(bar->value(), ProgressIndicator::kSteps / 2);
        c.cfgProgressBarIndeterminate();
        c.processingComplete();
        c.stopAnimation();
        QVERIFY(!p.isIndeterminate() && !p.isAnimating() && !p.showsBusy());
        QVERIFY(!c.holdsAssertion());
        QTRY_COMPARE(services->inhibited().size(), before + 1);
        QTRY_VERIFY(services->held().isEmpty());
        QVERIFY(!c.holdsAssertion());
    }

    void alertForm_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QMessageBox::Icon>("icon");
        QTest::addColumn<bool>("modal");
        QTest::newRow("good news") << QStringLiteral("Success") << QMessageBox::Information << false;
        QTest::newRow("refusal") << QStringLiteral("Unable To Process") << QMessageBox::Warning << false;
        QTest::newRow("failure") << QStringLiteral("Unable To Continue") << QMessageBox::Critical << false;
        QTest::newRow("any other") << QStringLiteral("The Title") << QMessageBox::Warning << false;
        QTest::newRow("modal") << QStringLiteral("Unable To Continue") << QMessageBox::Critical << true;
    }

    // A sheet alert takes the info sheet's place without holding up the run; a modal alert holds
    // the run until it is answered. Both look alike but for their modality.
    void alertForm() {
        QFETCH(QString, title);
        QFETCH(QMessageBox::Icon, icon);
        QFETCH(bool, modal);
        VupAppDelegate c;
        c.window()->show();
        if (!modal) {
            c.showInfo();
            QVERIFY(c.infoPanel()->isVisible());
        }
        std::atomic<bool> returned{false};
        const QString sentence = QStringLiteral("Vup discovered 3 issues that were tagged or deleted to make "
                                                "everything happy again.");
        std::thread scan([&] {
            ScanDoor door(&c);
            modal ? door.modalAlert(sentence, title) : door.alert(sentence, title);
            returned = true;
        });
        if (!modal) {
            scan.join();
            // The caller did not wait for the window: the alert is not up before the main thread turns.
            QVERIFY(returned);
            QVERIFY(shownAlerts(c.window()).isEmpty());
        }
        // A modal alert runs its own event loop on this thread: look at the alert from a timer
        // inside that loop, once the caller had time to run ahead if it were not waiting.
        int polls = 0;
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&] {
            const QList<QMessageBox*> shown = shownAlerts(c.window());
            if (shown.size() != 1 || ++polls < 5)
                return;
            answer.stop();
            QMessageBox* box = shown.first();
            const auto ok = qScopeGuard([box] { box->buttons().first()->click(); });
            QCOMPARE(bool(returned), !modal);
            QVERIFY(!c.infoPanel()->isVisible());
            QCOMPARE(box->text(), title);
            QCOMPARE(box->informativeText(), sentence);
            QCOMPARE(box->icon(), icon);
            QCOMPARE(box->windowModality(), modal ? Qt::ApplicationModal : Qt::WindowModal);
            QCOMPARE(box->buttons().size(), 1);
            QCOMPARE(box->buttons().first()->text(), QStringLiteral("OK"));
            // The title is the alert's heading, the window title is not a copy of it, and a sentence
            // of the message takes two lines at most.
            QCOMPARE(box->windowTitle(), QGuiApplication::applicationDisplayName());
            QVERIFY(box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->font().bold());
            const QLabel* message = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"));
            const QFontMetrics metrics = message->fontMetrics();
            QVERIFY(metrics.boundingRect(0, 0, message->width(), 1000, Qt::TextWordWrap, sentence).height() <=
                    2 * metrics.lineSpacing());
        });
        answer.start(20);
        QTRY_VERIFY_WITH_TIMEOUT(returned && polls >= 5, 20000);
        if (scan.joinable())
            scan.join();
        QTRY_VERIFY(shownAlerts(c.window()).isEmpty());
    }

    void accessPromptAsksUntilOpen_data() {
        QTest::addColumn<bool>("unreadable");
        QTest::newRow("readable once Open is pressed") << false;
        QTest::newRow("still unreadable after Open") << true;
    }

    // Cancel three times, then Open: three log lines, four panels, each titled and worded alike and
    // telling what to do about the path. Open checks again and says when the path is still unreadable.
    void accessPromptAsksUntilOpen() {
        QFETCH(bool, unreadable);
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("Family.photolibrary"));
        QVERIFY(QDir().mkpath(target));
        QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        VupAppDelegate c;
        c.window()->show();
        LogCapture log;
        int shown = 0;
        QStringList titles, messages, explanations, folders;
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&] {
            auto* panel = QApplication::activeModalWidget();
            auto* chooser = panel ? panel->findChild<QFileDialog*>() : nullptr;
            if (!chooser || !chooser->isVisible() || panel->objectName() != QLatin1StringView("accessPrompt"))
                return;
            ++shown;
            titles.append(panel->windowTitle());
            messages.append(panel->findChild<QLabel*>(QStringLiteral("accessPromptMessage"))->text());
            explanations.append(panel->findChild<QLabel*>(QStringLiteral("accessPromptExplanation"))->text());
            folders.append(chooser->directory().absolutePath());
            if (shown < 4)
                chooser->reject();
            else
                QMetaObject::invokeMethod(chooser, "accept", Qt::DirectConnection);
        });
        answer.start(20);
        MessageBox::setNextAnswer(1); // Continue without access, should it be asked
        {
            std::optional<AsNobody> nobody;
            if (unreadable) {
                nobody.emplace();
                if (!nobody->isActive() || ::access(QFile::encodeName(target).constData(), R_OK) == 0)
                    QSKIP("no user here that the kernel refuses");
            }
            c.askForReadAccess(target);
        }
        answer.stop();
        QCOMPARE(shown, 4);
        QCOMPARE(log.linesStartingWith(QStringLiteral("NSOpenPanel result = ")),
                 QStringList(3, QStringLiteral("NSOpenPanel result = 0")));
        QCOMPARE(titles, QStringList(4, QStringLiteral("Read Access Required")));
        QCOMPARE(
            messages,
            QStringList(
                4, QStringLiteral("Vup Requires read/write access to Family.photolibrary in order to detect "
                                  "and recover zombies.\nPlease select it or it's parent folder and hit the "
                                  "Open button.")));
        QCOMPARE(folders.first(), QDir(dir.path()).absolutePath());
        QVERIFY2(explanations.first().contains(target) &&
                     explanations.first().endsWith(QStringLiteral(
                         "\nGrant read access to this folder, for example with a file manager or chmod, then "
                         "press Open")),
                 qPrintable(explanations.first()));
        const auto question = MessageBox::lastQuestion();
        QCOMPARE(question.has_value(), unreadable);
        if (unreadable) {
            QCOMPARE(question->title, QStringLiteral("Still No Read Access"));
            QVERIFY2(question->message.contains(target), qPrintable(question->message));
        } else {
            QVERIFY2(explanations.first().contains(QStringLiteral("has the mode drwx------ (0700)")),
                     qPrintable(explanations.first()));
        }
    }

    void keyboard_data() {
        QTest::addColumn<QString>("focus"); // empty: the window itself
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("effect"); // "focus NAME": where the keyboard is afterwards
        QTest::newRow("Enter on a check box") << "autoDeleteCheck" << QKeySequence(Qt::Key_Return) << "scan";
        QTest::newRow("keypad Enter") << "" << QKeySequence(Qt::KeypadModifier | Qt::Key_Enter) << "scan";
        QTest::newRow("Enter once Remove is ticked")
            << "autoDeleteCheck" << QKeySequence(Qt::Key_Space, Qt::Key_Return) << "nothing";
        QTest::newRow("Enter on a focused button") << "infoButton" << QKeySequence(Qt::Key_Return) << "info";
        QTest::newRow("Enter on a row") << "findingsTable" << QKeySequence(Qt::Key_Return) << "folder";
        QTest::newRow("Enter in the filter")
            << "findingsTextFilter" << QKeySequence(Qt::Key_Return) << "nothing";
        QTest::newRow("Tab leaves the table")
            << "findingsTable" << QKeySequence(Qt::Key_Tab) << "focus showInFolderButton";
        QTest::newRow("Tab from the options to the findings")
            << "previewCheck" << QKeySequence(Qt::Key_Tab) << "focus findingsKindFilter";
        QTest::newRow("Tab from the findings to the buttons")
            << "exportReportButton" << QKeySequence(Qt::Key_Tab) << "focus infoButton";
        QTest::newRow("Ctrl+F") << "processLibraryButton" << QKeySequence(QKeySequence::Find)
                                << "focus findingsTextFilter";
        QTest::newRow("the filter's mnemonic")
            << "" << QKeySequence(Qt::ALT | Qt::Key_T) << "focus findingsTextFilter";
        QTest::newRow("F1") << "" << QKeySequence(Qt::Key_F1) << "info";
        QTest::newRow("Ctrl+Q when idle") << "" << QKeySequence(Qt::CTRL | Qt::Key_Q) << "closed";
    }

    // Keys of a desktop window: Enter starts the default scan from the options alone and never one
    // that removes photos, a focused button takes it, a row shows its file; Tab walks the window
    // top to bottom without stopping in every cell; the find keys and the mnemonic reach the
    // filter, F1 shows the info panel, the quit keys close an idle window without a question.
    void keyboard() {
        QFETCH(QString, focus);
        QFETCH(QKeySequence, keys);
        QFETCH(QString, effect);
        VupAppDelegate c;
        launch(c);
        ScanFindings earlier;
        earlier.outcome = ScanFindings::Outcome::Completed;
        earlier.zombies = {QFile::encodeName(config->filePath(QStringLiteral("Masters/a.jpg")))};
        c.findings()->runEnded(earlier);
        QTRY_VERIFY(c.findings()->view()->isVisible());
        c.findings()->view()->table()->selectRow(0);
        QApplication::setActiveWindow(c.window());
        QVERIFY(QTest::qWaitForWindowActive(c.window()));
        QWidget* target = focus.isEmpty() ? c.window() : child<QWidget>(c, qPrintable(focus));
        target->setFocus();
        // Without the photo application a scan ends at its first alert: answer it.
        MessageBox::setNextAnswer(0);
        QTest::keySequence(target, keys);
        QCOMPARE(c.nowProcessing(), effect == QLatin1StringView("scan"));
        QCOMPARE(c.infoPanel()->isVisible(), effect == QLatin1StringView("info"));
        QCOMPARE(c.window()->isVisible(), effect != QLatin1StringView("closed"));
        QTRY_COMPARE(openedUrls.size(), effect == QLatin1StringView("folder") ? 1 : 0);
        if (effect.startsWith(QLatin1StringView("focus ")))
            QCOMPARE(QApplication::focusWidget()->objectName(), effect.mid(6));
        if (effect != QLatin1StringView("scan"))
            return;
        QTRY_VERIFY_WITH_TIMEOUT(!c.nowProcessing(), 30000);
        QVERIFY(c.waitForScanToEnd(10000));
        QCOMPARE(MessageBox::lastQuestion()->message,
                 QStringLiteral("photoapp is not running. Start it and scan again."));
        QCOMPARE(MessageBox::lastQuestion()->kind, MessageBox::Kind::Critical);
        // A refused run is told as such.
        QCOMPARE(c.statusLabel(), QStringLiteral("Scan Refused"));
        QCOMPARE(child<QProgressBar>(c, "progressIndicator")->value(), 0);
    }

    // A library scan in delete mode started from the button: busy state, a second start refused,
    // and back to idle with the summary sheet and a library count without the removed photos.
    // Cancel (or Escape) then stops the run it was pressed in; the next run starts afresh, also with
    // the screen saver and notification services gone.
    void cancelAppliesToOneRunOnly() {
        TestLibrary lib;
        QVERIFY(lib.addPhoto(lib.writeFile(QStringLiteral("kept.jpg"))));
        for (int i = 0; i < 3; ++i)
            QVERIFY(lib.addPhoto(lib.missingPath(QStringLiteral("gone%1.jpg").arg(i))));
        QVERIFY(lib.addIssueKeywords());
        QVERIFY(lib.serve());
        VupAppDelegate c;
        launch(c);
        QCOMPARE(label(c, "libraryImageCount"), QStringLiteral("4"));
        child<QCheckBox>(c, "autoDeleteCheck")->setChecked(true);
        c.setSelectedLabel(QStringLiteral("7"));
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
        // A second start while busy is refused: no second assertion, no second run.
        c.processSelection();
        QVERIFY(!c.selectionMode());

        QTRY_VERIFY_WITH_TIMEOUT(!c.nowProcessing(), 30000);
        QVERIFY(c.waitForScanToEnd(10000));
        QCOMPARE(busy.size(), 2);
        QCOMPARE(cancelEnabled, (QList<bool>{true, false}));
        QVERIFY(!c.holdsAssertion());
        QTRY_COMPARE(label(c, "statusLabel"), QStringLiteral("Processing Complete"));
        QTRY_COMPARE(shownAlerts(c.window()).size(), 1);
        QCOMPARE(shownAlerts(c.window()).first()->text(), QStringLiteral("Success"));
        QVERIFY(child<QPushButton>(c, "processLibraryButton")->isEnabled());
        QVERIFY(!c.progressIndicator().isIndeterminate());
        QCOMPARE(child<QProgressBar>(c, "progressIndicator")->value(), ProgressIndicator::kSteps);
        QTRY_COMPARE(label(c, "libraryImageCount"), QStringLiteral("1"));
        // Tagging leaves its own selection behind: the count tells it.
        QCOMPARE(label(c, "selectedLabel"), QString::number(c.engine()->selectionCount()));
        dismissAlerts(c.window());

        QApplication::setActiveWindow(c.window());
        QVERIFY(QTest::qWaitForWindowActive(c.window()));

        // Escape does what Cancel does.
        child<QPushButton>(c, "processLibraryButton")->click();
        QTest::keyClick(c.window(), Qt::Key_Escape);
        QVERIFY(c.cancelled());
        QVERIFY(!child<QPushButton>(c, "cancelButton")->isEnabled());
        // A cancelled run says so and asks nothing: no alert to dismiss.
        QVERIFY(QTest::qWaitFor([&] { return !c.nowProcessing(); }, 30000) && c.waitForScanToEnd(10000));
        QCOMPARE(label(c, "statusLabel"), QStringLiteral("Scan Cancelled"));
        QVERIFY(shownAlerts(c.window()).isEmpty());

        services->stop();
        child<QPushButton>(c, "processLibraryButton")->click();
        QVERIFY(!c.cancelled());
        QVERIFY(!c.holdsAssertion());
        QCOMPARE(sheetAtRunEnd(c), QStringLiteral("Success"));
        QVERIFY(services->start(true, true));
        dismissAlerts(c.window());
    }

    void quitDuringScan_data() {
        // To "A scan is running. Stop it and quit?"; -1: the application quits; -2: the question is
        // left to the run's end.
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("at"); // the status at which the window is closed; empty: at once
        QTest::newRow("Continue") << 1 << "";
        QTest::newRow("the run ends while asked") << -2 << "";
        QTest::newRow("Stop and Quit while loading") << 0 << "";
        QTest::newRow("Stop and Quit as the changes end") << 0 << "Processing Complete";
        QTest::newRow("the application quits") << -1 << "";
    }

    // Closing the window mid-scan asks first. Continue leaves the run alone. Stop and Quit cancels it,
    // keeps the window up saying so until the run has ended, then closes it, with neither alert nor
    // notification. The application quitting otherwise gives the assertion back and starts nothing.
    void quitDuringScan() {
        QFETCH(int, answer);
        QFETCH(QString, at);
        TestLibrary lib;
        for (int i = 0; i < 50; ++i)
            QVERIFY(lib.addPhoto(lib.missingPath(QStringLiteral("gone%1.jpg").arg(i))));
        QVERIFY(lib.addIssueKeywords());
        QVERIFY(lib.serve());
        const qsizetype notificationsBefore = services->notifications().size();
        {
            VupAppDelegate c;
            launch(c);
            bool closeRefused = false;
            const auto closeWindow = [&] {
                if (answer == -1) {
                    c.prepareToQuit();
                    return;
                }
                if (answer >= 0)
                    MessageBox::setNextAnswer(answer);
                closeRefused = !c.window()->close();
            };
            // The scan thread waits for this status to be shown: the window closes at that very point.
            connect(&c, &VupAppDelegate::statusLabelChanged, this, [&](const QString& status) {
                if (!at.isEmpty() && status == at)
                    closeWindow();
            });
            c.processLibrary();
            if (at.isEmpty())
                closeWindow();
            if (answer == -2) {
                // The question went away with the run, the run's alert never came over it, and the
                // quit went ahead.
                QVERIFY(!closeRefused);
                QVERIFY(!c.window()->isVisible());
                QVERIFY(shownAlerts(c.window()).isEmpty());
                QVERIFY(!QApplication::activeModalWidget());
                QVERIFY(c.waitForScanToEnd(10000));
            } else if (answer < 0) {
                QVERIFY(!c.holdsAssertion());
                QVERIFY(c.waitForScanToEnd(30000));
                // No new run once quitting has begun.
                c.processLibrary();
                QVERIFY(!c.nowProcessing());
            } else if (answer == 1) {
                QVERIFY(closeRefused && !c.cancelled());
                QCOMPARE(sheetAtRunEnd(c), QStringLiteral("Success"));
                QVERIFY(c.window()->isVisible());
                QCOMPARE(services->notifications().size(), notificationsBefore + 1);
                dismissAlerts(c.window());
            } else {
                QTRY_VERIFY(closeRefused);
                QVERIFY(c.cancelled());
                if (at.isEmpty()) {
                    // Asked once: closing again while it stops waits for the same end.
                    QVERIFY(!c.window()->close());
                    QCOMPARE(MessageBox::askedCount(), 1);
                }
                QTRY_VERIFY_WITH_TIMEOUT(!c.window()->isVisible(), 30000);
                QVERIFY(c.waitForScanToEnd(0));
                QCOMPARE(c.statusLabel(), QStringLiteral("Stopping the scan; Vup quits once it has stopped"));
                QVERIFY(shownAlerts(c.window()).isEmpty());
                QCOMPARE(services->notifications().size(), notificationsBefore);
            }
            if (answer >= 0) {
                QCOMPARE(MessageBox::lastQuestion()->title,
                         QStringLiteral("A scan is running. Stop it and quit?"));
                QCOMPARE(MessageBox::lastQuestion()->choices,
                         (QStringList{QStringLiteral("Stop and Quit"), QStringLiteral("Continue")}));
            }
        }
        QTRY_VERIFY(services->held().isEmpty());
    }

    // The window, its findings, the info panel and an alert lie whole within the screen's
    // available area, frames included (run again at twice the scale on a small screen).
    void windowFitsTheScreen() {
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        VupAppDelegate c;
        launch(c);
        QVERIFY(QTest::qWaitForWindowExposed(c.window()));
        ScanFindings earlier;
        earlier.outcome = ScanFindings::Outcome::Completed;
        earlier.zombies = {"/nowhere/Family.photolibrary/Masters/a.jpg"};
        c.findings()->runEnded(earlier);
        QTRY_VERIFY(c.findings()->view()->isVisible());
        // A run that checked nothing leaves a long note under the earlier findings.
        c.findings()->runEnded(ScanFindings{});
        QTest::qWait(50);
        const auto within = [&](const QWidget* w) {
            const QRect frame =
                w->isWindow() ? w->frameGeometry() : QRect(w->mapToGlobal(QPoint()), w->size());
            return area.contains(frame);
        };
        QVERIFY(within(c.window()));
        QVERIFY(within(child<QPushButton>(c, "processLibraryButton")));
        QVERIFY(within(c.findings()->view()->findChild<QPushButton*>(QStringLiteral("exportReportButton"))));
        c.showInfo();
        QVERIFY(QTest::qWaitForWindowExposed(c.infoPanel()));
        QVERIFY(within(c.infoPanel()));
        c.dismissInfo();
        c.showAlert(
            QStringLiteral("Vup discovered 3 issues that were tagged or deleted to make everything happy "
                           "again.  You can search for the keyword \"Vup Missing\" or \"Vup Master "
                           "Missing\" within iPhoto to see these images."),
            QStringLiteral("Success"));
        QTRY_COMPARE(shownAlerts(c.window()).size(), 1);
        QVERIFY(QTest::qWaitForWindowExposed(shownAlerts(c.window()).first()));
        QVERIFY(within(shownAlerts(c.window()).first()));
        dismissAlerts(c.window());
    }

    void keywordAlertCancelScan_data() {
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QString>("language");  // empty: the source language
        QTest::addColumn<QStringList>("shown"); // the alert's title, its choices and the last status
        const QStringList english{QStringLiteral("Missing Keywords"), QStringLiteral("OK"),
                                  QStringLiteral("Cancel Scan"), QStringLiteral("Scan Refused")};
        QTest::newRow("Cancel Scan") << QList<int>{1} << QString() << english;
        QTest::newRow("OK, then Cancel Scan") << QList<int>{0, 1} << QString() << english;
        QTest::newRow("Cancel Scan, German")
            << QList<int>{1} << QStringLiteral("de")
            << QStringList{QStringLiteral("Fehlende Schlagwörter"), QStringLiteral("OK"),
                           QStringLiteral("Prüfung abbrechen"), QStringLiteral("Prüfung abgelehnt")};
    }

    // The keyword alert comes back after OK until the keywords exist; Cancel Scan beside OK is the
    // way out: the run ends refused, having changed nothing.
    void keywordAlertCancelScan() {
        QFETCH(QList<int>, answers);
        QFETCH(QString, language);
        QFETCH(QStringList, shown);
        QTranslator translator;
        QVERIFY(translateInto(translator, language));
        // No keyword image to teach the application the keywords.
        QTemporaryDir noResources;
        const QByteArray resources = qgetenv("VUP_RESOURCE_DIR");
        qputenv("VUP_RESOURCE_DIR", QFile::encodeName(noResources.path()));
        const auto restore = qScopeGuard([&] { qputenv("VUP_RESOURCE_DIR", resources); });
        TestLibrary lib;
        const qint64 gone = lib.addPhoto(lib.missingPath(QStringLiteral("gone.jpg")));
        QVERIFY(gone);
        QVERIFY(lib.serve());
        VupAppDelegate c;
        launch(c);
        for (const int answer : answers)
            MessageBox::setNextAnswer(answer);
        c.processLibrary();
        QTRY_VERIFY_WITH_TIMEOUT(!c.nowProcessing(), 30000);
        QVERIFY(c.waitForScanToEnd(10000));
        QCOMPARE(MessageBox::askedCount(), answers.size());
        QCOMPARE(MessageBox::lastQuestion()->title, shown.at(0));
        QCOMPARE(MessageBox::lastQuestion()->choices, shown.mid(1, 2));
        QCOMPARE(c.statusLabel(), shown.at(3));
        QCOMPARE(c.engine()->lastRun().outcome, ScanFindings::Outcome::KeywordsRefused);
        QVERIFY(lib.keywordsOf(gone).isEmpty());
    }
};

VUP_TEST_MAIN_GUI(tst_Window)
#include "tst_window.moc"
