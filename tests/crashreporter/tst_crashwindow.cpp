/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
// The crash report window end to end: what it shows, ignore and discard, and sending a report to
// a real HTTP server on loopback, whose parsed body is compared field by field. Every failure
// must leave the log and the stored date where they were.
#include "app/VupAppDelegate.h"
#include "crashreporter/CrashCheckAtLaunch.h"
#include "crashreporter/ZXNCrashReportSubmission.h"
#include "crashreporter/ZXNCrashReporter.h"
#include "crashreporter/ZXNCrashReporterWindowController.h"
#include "crashreporter/ZXNSystemInformation.h"
#include "platform/BundleInfo.h"
#include "platform/LibraryFolders.h"
#include "platform/SystemLog.h"
#include "platform/UserDefaults.h"
#include "tests/crashreporter/PendingCrashLog.h"
#include "tests/support/Alerts.h"
#include "tests/support/FileTree.h"
#include "tests/support/LogCapture.h"
#include "tests/support/Mnemonics.h"
#include "tests/support/TestMain.h"
#include "widgets/MessageBox.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using namespace crashtest;

namespace {

const QString kIncludeSystemKey = QStringLiteral("ZXNCrashReporterIncludeAnonymousSystemInformation");
const QString kIncludeEmailKey = QStringLiteral("ZXNCrashReporterIncludeEmailAddress");
const QByteArray kLogContents("Process: Vup [42]\nException Type: SIGSEGV\n\x01\x02 binary\r\n");

const char* const kSystemFields[] = {"machine",           "model",        "physicalMemory", "busFrequency",
                                     "CPUFrequency",      "CPUFamily",    "CPUType",        "CPUSubtype",
                                     "numberOfCPUs",      "physicalCPUs", "logicalCPUs",    "systemVersion",
                                     "systemBuildVersion"};

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

class tst_CrashWindow : public QObject, PendingCrashLog {
    Q_OBJECT

    ZXNCrashReporterWindowController* open() {
        auto* controller = ZXNCrashReporterWindowController::showWindowForCrashLogPath(
            OfferedCrashLog(logPath), server->url());
        opened << controller;
        return controller;
    }

    template <typename T> static T* child(QWidget* window, const char* name) {
        return window->findChild<T*>(QString::fromLatin1(name));
    }

    // Presses send and answers the result sheet; returns its title and message, and keeps its icon.
    QPair<QString, QString> sendAndDismiss(ZXNCrashReporterWindowController* window) {
        child<QPushButton>(window, "reportButton")->click();
        QMessageBox* sheet = waitForAlert(window);
        if (!sheet)
            return {};
        const QPair<QString, QString> texts{sheet->text(), sheet->informativeText()};
        sheetIcon = sheet->icon();
        sheet->buttons().constFirst()->click();
        return texts;
    }

    void verifyLogKept() {
        QVERIFY(QFile::exists(logPath));
        QCOMPARE(UserDefaults::standard().dateForKey(kDateKey), std::optional(storedDate));
    }

    QList<QPointer<ZXNCrashReporterWindowController>> opened;
    QMessageBox::Icon sheetIcon = QMessageBox::NoIcon;

private slots:
    void init() {
        qputenv("EMAIL", "someone@example.org");
        QVERIFY(start(kLogContents));
        ZXNCrashReportSubmission::registerDefaults();
        BundleInfo::resetOverrides();
        LibraryFolders::setMachineLibraryForTesting(home->filePath(QStringLiteral("machine")));
        MessageBox::reset();
    }

    void cleanup() {
        for (const auto& window : opened)
            delete window.data();
        opened.clear();
        server.reset();
        LibraryFolders::setMachineLibraryForTesting({});
        BundleInfo::resetOverrides();
    }

    // ---- what the window shows ----

    void windowShowsTitleAndSettings() {
        UserDefaults::standard().setBool(kIncludeSystemKey, false);
        auto* window = open();
        QCOMPARE(window->windowTitle(), QStringLiteral("Crash Reporter: Vup (1.0.0)"));
        auto* comments = child<QPlainTextEdit>(window, "commentsTextView");
        QCOMPARE(comments->placeholderText(),
                 QStringLiteral("Please enter a description of the actions leading up to the crash."));
        // Fixed pitch, at the desktop's size rather than a smaller fixed one.
        QVERIFY(QFontInfo(comments->font()).fixedPitch());
        QCOMPARE(comments->font().pointSizeF(), QApplication::font().pointSizeF());
        QCOMPARE(mnemonicProblems(window), QStringList());
        // A stored choice wins over the fallback; the other setting shows its fallback.
        auto* includeSystem = child<QCheckBox>(window, "includeSystemInformationCheckBox");
        QVERIFY(!includeSystem->isChecked());
        QVERIFY(child<QCheckBox>(window, "includeEmailAddressCheckBox")->isChecked());
        includeSystem->click();
        QVERIFY(UserDefaults::standard().boolForKey(kIncludeSystemKey));
        QVERIFY(!child<QProgressBar>(window, "progressIndicator")->isVisible());

        // Without a version the title leaves it out.
        BundleInfo::overrideValue(QStringLiteral("CFBundleShortVersionString"), std::nullopt);
        QCOMPARE(open()->windowTitle(), QStringLiteral("Crash Reporter: Vup"));
    }

    // ---- launch ----

    void launchSurvivesConfigurationMistakes() {
        LogCapture log;
        UserDefaults::standard().removeObject(kURLKey);
        BundleInfo::overrideValue(kURLKey, std::nullopt);
        checkForNewCrashesAtLaunch(nullptr);
        QCOMPARE(log.lines(), QStringList{QStringLiteral(
                                  "ZXNCrashReporter: Missing ZXNCrashReporterCrashSubmissionURL: You must "
                                  "specify the URL for crash log submission as the "
                                  "ZXNCrashReporterCrashSubmissionURL in either Info.plist or the user "
                                  "defaults!")});
        UserDefaults::standard().setString(kURLKey, QStringLiteral("http://bad host/"));
        checkForNewCrashesAtLaunch(nullptr);
        QCOMPARE(log.lines().size(), 2);
        QCOMPARE(log.lines().at(1), QStringLiteral("ZXNCrashReporter: ZXNInvalidParameterException: Invalid "
                                                   "parameter not satisfying: nil != submissionURL"));
    }

    // ---- keyboard, placement, and the main window ----

    void keysInTheReportWindow_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key"); // 0: the title bar's close
        QTest::addColumn<QString>("comments");
        QTest::addColumn<int>("answer"); // to the question about losing the comments; -1: none asked
        QTest::addColumn<QString>("effect");
        const QString typed = QStringLiteral("It crashed when I pressed Scan.");
        QTest::newRow("Enter in the e-mail field sends")
            << "emailAddressField" << int(Qt::Key_Return) << typed << -1 << "sent";
        QTest::newRow("Enter on a focused button presses it")
            << "discardButton" << int(Qt::Key_Return) << "" << -1 << "discarded";
        QTest::newRow("Escape ignores") << "commentsTextView" << int(Qt::Key_Escape) << "" << -1 << "ignored";
        QTest::newRow("Escape with comments, keep editing")
            << "commentsTextView" << int(Qt::Key_Escape) << typed << 1 << "kept";
        QTest::newRow("close with comments, keep editing") << "commentsTextView" << 0 << typed << 1 << "kept";
        // A comment has no use for tab characters: Tab moves between the controls.
        QTest::newRow("Tab in the comments")
            << "commentsTextView" << int(Qt::Key_Tab) << typed << -1 << "focus emailAddressField";
        QTest::newRow("Backtab in the comments")
            << "commentsTextView" << int(Qt::Key_Backtab) << typed << -1 << "focus reportButton";
    }

    void keysInTheReportWindow() {
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(QString, comments);
        QFETCH(int, answer);
        QFETCH(QString, effect);
        server->answer(200, "ok\n");
        auto* window = open();
        QApplication::setActiveWindow(window);
        QVERIFY(QTest::qWaitForWindowActive(window));
        auto* commentsView = child<QPlainTextEdit>(window, "commentsTextView");
        commentsView->setPlainText(comments);
        QWidget* target = child<QWidget>(window, qPrintable(focus));
        target->setFocus();
        if (answer >= 0)
            MessageBox::setNextAnswer(answer);
        if (key)
            QTest::keyClick(target, Qt::Key(key));
        else
            window->close();
        QCOMPARE(MessageBox::lastQuestion().has_value(), answer >= 0);
        if (effect == QLatin1StringView("sent")) {
            QMessageBox* sheet = waitForAlert(window);
            QVERIFY(sheet);
            sheet->buttons().constFirst()->click();
        }
        const bool kept =
            effect == QLatin1StringView("kept") || effect.startsWith(QLatin1StringView("focus "));
        QCOMPARE(window->isVisible(), kept);
        QCOMPARE(server->requests().size(), std::size_t(effect == QLatin1StringView("sent") ? 1 : 0));
        QCOMPARE(QFile::exists(logPath), kept || effect == QLatin1StringView("ignored"));
        if (kept)
            QCOMPARE(commentsView->toPlainText(), comments);
        if (effect.startsWith(QLatin1StringView("focus ")))
            QCOMPARE(QApplication::focusWidget()->objectName(), effect.mid(6));
    }

    // Over its main window wherever that stands, and wholly on the screen, its buttons included,
    // at the size its layout gives it (also run at a scale of 2 on a 1280 x 800 screen).
    void windowFitsTheScreen_data() {
        QTest::addColumn<QString>("mainWindow"); // where it stands; empty: none
        QTest::newRow("over a centred main window") << "centre";
        QTest::newRow("over a main window in a corner") << "corner";
        QTest::newRow("over a main window partly off the screen") << "off";
        QTest::newRow("without a main window") << "";
    }

    void windowFitsTheScreen() {
        QFETCH(QString, mainWindow);
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QWidget anchor;
        anchor.resize(qMin(520, area.width() / 2), qMin(260, area.height() / 2));
        QRect place(QPoint(), anchor.size());
        if (mainWindow == QLatin1StringView("centre"))
            place.moveCenter(area.center());
        else if (mainWindow == QLatin1StringView("corner"))
            place.moveTopLeft(area.topLeft());
        else
            place.moveTopLeft(area.bottomRight() - QPoint(place.width() / 2, place.height() / 2));
        anchor.move(place.topLeft());
        if (!mainWindow.isEmpty()) {
            anchor.show();
            QVERIFY(QTest::qWaitForWindowExposed(&anchor));
        }
        auto* window = ZXNCrashReporterWindowController::showWindowForCrashLogPath(
            OfferedCrashLog(logPath), server->url(), mainWindow.isEmpty() ? nullptr : &anchor);
        opened << window;
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTest::qWait(50);
        const QRect frame = window->frameGeometry();
        QVERIFY(area.contains(frame));
        auto* send = child<QPushButton>(window, "reportButton");
        QVERIFY(area.contains(QRect(send->mapToGlobal(QPoint(0, 0)), send->size())));
        QVERIFY(window->size().width() >= window->minimumSizeHint().width());
        if (mainWindow == QLatin1StringView("centre") && frame.width() < area.width() &&
            frame.height() < area.height()) {
            QVERIFY((frame.center() - anchor.frameGeometry().center()).manhattanLength() <= 2);
        }
    }

    // At launch the report window, a dialog of the main window, has the keyboard; the info sheet,
    // which would block the main window, waits for it. Typed comments survive closing the main
    // window unless the user agrees to lose them.
    void reportComesFirstAtLaunch() {
        VupAppDelegate app;
        app.window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(app.window()));
        app.applicationDidFinishLaunching();
        ZXNCrashReporterWindowController* report = app.reportWindow();
        QVERIFY(report && report->isVisible());
        opened << report;
        QCOMPARE(report->parentWidget(), app.window());
        QCOMPARE(report->crashLogPath(), logPath);
        QCOMPARE(report->submissionURL(), server->url());
        QCOMPARE(report->windowType(), Qt::Dialog);
        auto* comments = child<QPlainTextEdit>(report, "commentsTextView");
        QTRY_COMPARE(QApplication::activeWindow(), report);
        QCOMPARE(QApplication::focusWidget(), comments);
        QVERIFY(!app.infoPanel()->isVisible());

        QTest::keyClicks(comments, QStringLiteral("It crashed"));
        MessageBox::setNextAnswer(1); // keep editing
        QVERIFY(!app.window()->close());
        QCOMPARE(MessageBox::lastQuestion()->title,
                 QStringLiteral("Quit and lose your crash report comments?"));
        QVERIFY(app.window()->isVisible() && report->isVisible());
        QCOMPARE(comments->toPlainText(), QStringLiteral("It crashed"));

        MessageBox::setNextAnswer(0); // ignore the report and lose the comments
        QTest::keyClick(comments, Qt::Key_Escape);
        QVERIFY(!report->isVisible());
        // Lost as agreed: the log's next offer starts without them.
        QVERIFY(child<QPlainTextEdit>(open(), "commentsTextView")->toPlainText().isEmpty());
        QVERIFY(app.infoPanel()->isVisible());
        MessageBox::reset();
        app.infoPanel()->close();
        QVERIFY(app.window()->close());
        QVERIFY(!MessageBox::lastQuestion());
    }

    // ---- ignore and discard ----

    void ignoreOrDiscard_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("trouble"); // what stands in the way of the trash
        QTest::addColumn<QString>("logged");  // the start of the one line logged; empty: none
        QTest::newRow("ignore") << "ignoreButton"
                                << ""
                                << "";
        QTest::newRow("discard") << "discardButton"
                                 << ""
                                 << "";
        QTest::newRow("discard a vanished log") << "discardButton"
                                                << "vanished"
                                                << "ZXNCrashReporter: Unable to create FSRef for file ";
        // A file where the data folder should be: there is no Trash to move into.
        QTest::newRow("discard without a trash") << "discardButton"
                                                 << "no trash"
                                                 << "ZXNCrashReporter: Unable to move ";
        // Another file put where the offered log was: it is not the offered log, so it stays.
        QTest::newRow("discard a swapped log") << "discardButton"
                                               << "swapped"
                                               << "ZXNCrashReporter: Unable to move ";
    }

    void ignoreOrDiscard() {
        QFETCH(QString, button);
        QFETCH(QString, trouble);
        QFETCH(QString, logged);
        LogCapture log;
        const QString previous = QDir::currentPath();
        if (trouble == QLatin1StringView("no trash")) {
            QFile blocker(home->filePath(QStringLiteral("XDG_DATA_HOME")));
            QVERIFY(blocker.open(QIODevice::WriteOnly));
            QDir::setCurrent(home->path());
        }
        auto* window = open();
        if (trouble == QLatin1StringView("vanished"))
            QVERIFY(QFile::remove(logPath));
        if (trouble == QLatin1StringView("swapped")) {
            QVERIFY(QFile::rename(logPath, logPath + QStringLiteral(".aside")));
            QVERIFY(!writeLog(logPath, "another", logDate).isEmpty());
        }
        child<QPushButton>(window, qPrintable(button))->click();
        QDir::setCurrent(previous);
        QVERIFY(!window->isVisible());
        QVERIFY(server->requests().empty());
        QCOMPARE(log.lines().size(), logged.isEmpty() ? 0 : 1);
        if (!logged.isEmpty())
            QVERIFY2(log.lines().first().startsWith(logged + logPath), qPrintable(log.lines().first()));
        const auto offer = ZXNCrashReporter::findNewCrashLog();
        if (button == QLatin1StringView("ignoreButton") || trouble == QLatin1StringView("no trash")) {
            verifyLogKept();
            QCOMPARE(offer->log.path(), logPath);
            QVERIFY(!QFile::exists(home->filePath(QStringLiteral("files"))));
        } else if (trouble == QLatin1StringView("swapped")) {
            QCOMPARE(FileTree::read(logPath), QByteArray("another"));
            QVERIFY(!QFile::exists(home->filePath(QStringLiteral("XDG_DATA_HOME/Trash/files"))) ||
                    QDir(home->filePath(QStringLiteral("XDG_DATA_HOME/Trash/files"))).isEmpty());
        } else if (trouble.isEmpty()) {
            QVERIFY(!QFile::exists(logPath) && !offer);
            QCOMPARE(FileTree::read(home->filePath(QStringLiteral("XDG_DATA_HOME/Trash/files/")) +
                                    QFileInfo(logPath).fileName()),
                     kLogContents);
        }
    }

    // ---- sending ----

    void reportHoldsWhatTheSettingsAllow_data() {
        QTest::addColumn<bool>("includeSystem"); // false: turned off, true: left at its fallback
        QTest::addColumn<bool>("includeEmail");
        QTest::addColumn<QString>("address"); // null: none known; empty: the user cleared the field
        QTest::addColumn<QString>("comments");
        const QString someone = QStringLiteral("someone@example.org");
        QTest::newRow("everything") << true << true << someone
                                    << QStringLiteral("It crashed when I  clicked\n");
        QTest::newRow("system information off") << false << true << someone << QString();
        QTest::newRow("e-mail setting off") << true << false << someone << QString();
        QTest::newRow("no address") << true << true << QString() << QString();
        QTest::newRow("cleared address") << true << true << QStringLiteral("") << QString();
    }

    // The report holds every field the settings allow and nothing else, as the server's own parser
    // saw it. The recognised answer counts even under a server error status.
    void reportHoldsWhatTheSettingsAllow() {
        QFETCH(bool, includeSystem);
        QFETCH(bool, includeEmail);
        QFETCH(QString, address);
        QFETCH(QString, comments);
        if (!includeSystem)
            UserDefaults::standard().setBool(kIncludeSystemKey, false);
        if (!includeEmail)
            UserDefaults::standard().setBool(kIncludeEmailKey, false);
        if (address.isNull())
            qunsetenv("EMAIL");
        server->answer(500, "ok\n");
        auto* window = open();
        if (!address.isNull() && address.isEmpty()) {
            auto* field = child<QLineEdit>(window, "emailAddressField");
            field->selectAll();
            QTest::keyClick(field, Qt::Key_Delete);
            QVERIFY(window->emailAddress().isEmpty() && !window->emailAddress().isNull());
        }
        // The placeholder is never part of the comments.
        auto* commentsView = child<QPlainTextEdit>(window, "commentsTextView");
        QVERIFY(commentsView->toPlainText().isEmpty());
        commentsView->setPlainText(comments);
        const auto [title, message] = sendAndDismiss(window);
        QCOMPARE(title, QStringLiteral("The crash report was successfully submitted."));
        QCOMPARE(message, QStringLiteral("Thank you for taking the time to help improve Vup!"));
        QCOMPARE(sheetIcon, QMessageBox::Information);
        QVERIFY(!window->isVisible());
        QVERIFY(!QFile::exists(logPath));
        QCOMPARE(UserDefaults::standard().dateForKey(kDateKey), std::optional(logDate));

        const auto requests = server->requests();
        QCOMPARE(requests.size(), std::size_t(1));
        const LoopbackServer::Request& r = requests.front();
        QCOMPARE(text(r.method), QStringLiteral("POST"));
        QCOMPARE(text(r.path), QStringLiteral("/crashreport"));
        QCOMPARE(text(r.userAgent), QStringLiteral("ZXNCrashReporter"));

        QMap<QString, QString> expected{
            {QStringLiteral("systemInformationIncluded"),
             includeSystem ? QStringLiteral("1") : QStringLiteral("0")},
            {QStringLiteral("applicationName"), QStringLiteral("Vup")},
            {QStringLiteral("applicationIdentifier"), QStringLiteral("org.vup.Vup")},
            {QStringLiteral("applicationVersion"), QStringLiteral("1")},
            {QStringLiteral("applicationShortVersion"), QStringLiteral("1.0.0")},
        };
        if (includeEmail && !address.isNull())
            expected.insert(QStringLiteral("emailAddress"), address);
        if (!comments.isEmpty())
            expected.insert(QStringLiteral("comments"), comments);
        if (includeSystem) {
            // The machine's facts are those the report is made of (read from the tree in their own test).
            const QVariantMap facts = ZXNCrashReportSubmission::reportFields(
                logPath, std::nullopt, {}, ZXNSystemInformation(), QDateTime::currentDateTime());
            for (const char* name : kSystemFields)
                if (facts.contains(QString::fromLatin1(name)))
                    expected.insert(QString::fromLatin1(name),
                                    facts.value(QString::fromLatin1(name)).toString());
            QVERIFY(expected.contains(QStringLiteral("machine")));
        }
        QCOMPARE(r.partCount, std::size_t(expected.size() + 2)); // + crashLog and date
        for (auto it = expected.constBegin(); it != expected.constEnd(); ++it) {
            const auto part = r.parts.find(it.key().toStdString());
            QVERIFY2(part != r.parts.end(), qPrintable(it.key()));
            QCOMPARE(text(part->second.content), it.value());
        }
        const auto& crashLog = r.parts.at("crashLog");
        QCOMPARE(text(crashLog.filename), QFileInfo(logPath).fileName());
        QCOMPARE(QByteArray::fromStdString(crashLog.content), kLogContents);
        // Its form and language are reportFieldsFollowTheLocaleAndTheKnownFacts's.
        QVERIFY(r.parts.count("date"));
    }

    void failedTransfersKeepTheLog_data() {
        QTest::addColumn<QString>("behaviour");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("message"); // a pattern for the failure sheet's text
        const QString unrecognised = QStringLiteral("^The error was: Unrecognized response from the server$");
        QTest::newRow("no line feed") << "answer" << QByteArray("ok") << unrecognised;
        QTest::newRow("CR LF") << "answer" << QByteArray("ok\r\n") << unrecognised;
        QTest::newRow("trailing text") << "answer" << QByteArray("ok\nmore") << unrecognised;
        // Ended once it is too long to be "ok\n": not read on until the transfer's time limit.
        QTest::newRow("endless answer") << "flood" << QByteArray() << unrecognised;
        // Never followed, whatever the answer: the report would reach another server.
        QTest::newRow("redirect 302") << "redirect" << QByteArray("302") << unrecognised;
        QTest::newRow("dropped connection")
            << "drop" << QByteArray() << QStringLiteral("^The error was: (?!Unrecognized).+$");
        // The HTTP client would post the whole report again on a new connection.
        QTest::newRow("closed without answering")
            << "close" << QByteArray()
            << QStringLiteral("^The error was: The server closed the connection without answering\\.$");
        QTest::newRow("silent server")
            << "hold" << QByteArray() << QStringLiteral("^The error was: The request timed out\\.$");
        QTest::newRow("trickling server")
            << "trickle" << QByteArray()
            << QStringLiteral("^The error was: The transfer took longer than allowed and was stopped\\.$");
    }

    void failedTransfersKeepTheLog() {
        QFETCH(QString, behaviour);
        QFETCH(QByteArray, answer);
        QFETCH(QString, message);
        auto* window = open();
        LoopbackServer redirectTarget;
        QVERIFY(redirectTarget.start());
        if (behaviour == QLatin1StringView("drop")) {
            server->dropConnection();
        } else if (behaviour == QLatin1StringView("close")) {
            server->closeWithoutAnswer();
        } else if (behaviour == QLatin1StringView("hold")) {
            server->hold();
            window->setTransferLimits({.silenceMs = 300});
        } else if (behaviour == QLatin1StringView("flood")) {
            server->flood();
            window->setTransferLimits({.wholeTransferMs = 5000});
        } else if (behaviour == QLatin1StringView("trickle")) {
            server->trickle();
            window->setTransferLimits({.wholeTransferMs = 600});
        } else if (behaviour == QLatin1StringView("redirect")) {
            server->redirect(answer.toInt(), redirectTarget.url());
        } else {
            server->answer(200, answer.toStdString());
        }
        child<QPlainTextEdit>(window, "commentsTextView")->setPlainText(QStringLiteral("It froze first."));
        const auto [title, text] = sendAndDismiss(window);
        QCOMPARE(title, QStringLiteral("An error occurred while submitting the crash report."));
        QVERIFY2(QRegularExpression(message).match(text.section(QStringLiteral("\n\n"), 0, 0)).hasMatch(),
                 qPrintable(text));
        QCOMPARE(
            text.section(QStringLiteral("\n\n"), 1),
            QStringLiteral("The crash log is kept and will be offered again at the next launch, with your "
                           "comments."));
        QCOMPARE(sheetIcon, QMessageBox::Critical);
        QVERIFY(!window->isVisible());
        // Offered again (as at the next launch), the log comes back with what was typed for it.
        QCOMPARE(child<QPlainTextEdit>(open(), "commentsTextView")->toPlainText(),
                 QStringLiteral("It froze first."));
        // Sent once, to the configured server only.
        QCOMPARE(server->requests().size(), std::size_t(1));
        QVERIFY(redirectTarget.requests().empty());
        verifyLogKept();
        // Ended after the first bytes: what was sent at most fills the connection's buffers.
        QVERIFY2(server->floodedBytes() < 64 * 1024 * 1024,
                 qPrintable(QString::number(server->floodedBytes())));
    }

    void replacedLogIsNeitherSentNorDeleted_data() {
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QString>("reason");
        const QString notOffered =
            QStringLiteral("is not the regular file that was offered; nothing was sent");
        QTest::newRow("link to another user's file") << "link" << notOffered;
        QTest::newRow("hard link to another file") << "hard link" << notOffered;
        QTest::newRow("pipe") << "pipe" << notOffered;
        QTest::newRow("vanished") << "none" << QStringLiteral("cannot be read: No such file or directory");
    }

    void replacedLogIsNeitherSentNorDeleted() {
        QFETCH(QString, replacement);
        QFETCH(QString, reason);
        const QString secret = writeLog(home->filePath(QStringLiteral("secret")), "private", logDate);
        QVERIFY(!secret.isEmpty());
        auto* window = open();
        // Swapped after the offer, before the user presses send. The log is kept aside so that its
        // inode number cannot be handed on to the file that takes its place.
        QVERIFY(QFile::rename(logPath, logPath + QStringLiteral(".aside")));
        if (replacement == QLatin1StringView("link"))
            QVERIFY(QFile::link(secret, logPath));
        else if (replacement == QLatin1StringView("hard link"))
            QCOMPARE(::link(QFile::encodeName(secret).constData(), QFile::encodeName(logPath).constData()),
                     0);
        else if (replacement == QLatin1StringView("pipe"))
            QCOMPARE(::mkfifo(QFile::encodeName(logPath).constData(), 0600), 0);
        const QFileInfo before(logPath);
        const auto [title, message] = sendAndDismiss(window);
        QCOMPARE(title, QStringLiteral("An error occurred while submitting the crash report."));
        QVERIFY2(message.contains(logPath + u' ' + reason), qPrintable(message));
        QVERIFY(server->requests().empty());
        const QFileInfo after(logPath);
        QCOMPARE(after.exists() || after.isSymLink(), before.exists() || before.isSymLink());
        QCOMPARE(after.isSymLink(), before.isSymLink());
        QCOMPARE(FileTree::read(secret), QByteArray("private"));
        QCOMPARE(UserDefaults::standard().dateForKey(kDateKey), std::optional(storedDate));
    }

    void logReplacedWhileSendingIsSentButNotDeleted() {
        LogCapture log;
        server->hold();
        server->answer(200, "ok\n");
        auto* window = open();
        child<QPushButton>(window, "reportButton")->click();
        QTRY_COMPARE(server->requests().size(), std::size_t(1));
        const QString newer = writeLog(home->filePath(QStringLiteral("newer")), "newer crash", logDate);
        QVERIFY(QFile::rename(newer, logPath) || (QFile::remove(logPath) && QFile::rename(newer, logPath)));
        server->release();
        QMessageBox* sheet = waitForAlert(window);
        QVERIFY(sheet);
        QCOMPARE(sheet->text(), QStringLiteral("The crash report was successfully submitted."));
        QCOMPARE(QByteArray::fromStdString(server->requests().front().parts.at("crashLog").content),
                 kLogContents);
        QCOMPARE(FileTree::read(logPath), QByteArray("newer crash"));
        QCOMPARE(log.lines(),
                 QStringList{QStringLiteral("ZXNCrashReporter error: Unable to delete the submitted "
                                            "crash log (%1): it is no longer the file that was offered")
                                 .arg(QFileInfo(logPath).fileName())});
        QCOMPARE(UserDefaults::standard().dateForKey(kDateKey), std::optional(logDate));
    }

    void futureDatedLogDoesNotHideLaterCrashes() {
        QFile future(logPath);
        QVERIFY(future.open(QIODevice::ReadWrite));
        QVERIFY(future.setFileTime(QDateTime::currentDateTimeUtc().addYears(1),
                                   QFileDevice::FileModificationTime));
        future.close();
        const QDateTime beforeSending = QDateTime::currentDateTimeUtc().addMSecs(-1);
        QCOMPARE(sendAndDismiss(open()).first,
                 QStringLiteral("The crash report was successfully submitted."));
        const auto stored = UserDefaults::standard().dateForKey(kDateKey);
        // Not past now: a crash from now on is later than the stored date, and so is offered.
        QVERIFY(stored && *stored >= beforeSending && *stored <= QDateTime::currentDateTimeUtc());
    }

    void closingWhileSendingStillLandsTheOutcome() {
        server->hold();
        server->answer(200, "ok\n");
        QPointer<ZXNCrashReporterWindowController> window = open();
        child<QPushButton>(window, "reportButton")->click();
        QTRY_VERIFY(window->isSending());
        QTRY_COMPARE(server->requests().size(), std::size_t(1));
        window->close();
        QTest::qWait(100);
        QVERIFY(window); // kept alive by the running transfer
        QVERIFY(QFile::exists(logPath));
        server->release();
        QTRY_VERIFY(!window);
        QVERIFY(!QFile::exists(logPath));
        QCOMPARE(UserDefaults::standard().dateForKey(kDateKey), std::optional(logDate));
    }

    // ---- report fields ----

    void reportFieldsFollowTheLocaleAndTheKnownFacts() {
        const QDateTime when = QDateTime::fromString(QStringLiteral("2026-12-06T18:21:16Z"), Qt::ISODate);
        QCOMPARE(ZXNCrashReportSubmission::reportDate(when, QStringLiteral("en_US")),
                 QStringLiteral("Dec 6, 2026, 6:21:16\u202FPM"));

        const QString localeKey = QStringLiteral("ZXNCrashReporterPreferredReportingLocale");
        BundleInfo::overrideValue(localeKey, std::nullopt);
        QCOMPARE(ZXNCrashReportSubmission::reportingLocale(), QStringLiteral("en_US"));
        BundleInfo::overrideValue(localeKey, QStringLiteral("fr_FR"));
        QCOMPARE(ZXNCrashReportSubmission::reportingLocale(), QStringLiteral("fr_FR"));
        UserDefaults::standard().setString(localeKey, QStringLiteral("de_DE"));
        QCOMPARE(ZXNCrashReportSubmission::reportingLocale(), QStringLiteral("de_DE"));
        // Facts that cannot be read are left out, alone.
        QTemporaryDir root;
        QVERIFY(FileTree::write(root.filePath(QStringLiteral("etc/os-release")), "VERSION_ID=7\n"));
        const ZXNSystemInformation partial(std::make_shared<SysctlShim>(root.path()), root.path());
        const QVariantMap fields =
            ZXNCrashReportSubmission::reportFields(logPath, std::nullopt, QStringLiteral(" "), partial, when);
        QCOMPARE(fields.value(QStringLiteral("date")).toString(), QStringLiteral("06.12.2026, 18:21:16"));
        // Blanks are comments too.
        QCOMPARE(fields.value(QStringLiteral("comments")).toString(), QStringLiteral(" "));
        QCOMPARE(fields.value(QStringLiteral("systemVersion")).toString(), QStringLiteral("7"));
        QVERIFY(fields.contains(QStringLiteral("machine")));
        QVERIFY(!fields.contains(QStringLiteral("physicalMemory")));
        QVERIFY(!fields.contains(QStringLiteral("systemBuildVersion")));
        QCOMPARE(fields.value(QStringLiteral("systemInformationIncluded")), QVariant(true));
    }
};

VUP_TEST_MAIN_GUI(tst_CrashWindow)
#include "tst_crashwindow.moc"
