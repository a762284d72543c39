// The crash report window end to end: what it shows, ignore and discard, and sending a report to
// a real HTTP server on loopback, whose parsed body is compared field by field. Every failure
// must leave the log and the stored date where they were.
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
#include "tests/crashreporter/ThrownReason.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TestMain.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <memory>

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

class WindowTest : public QObject, PendingCrashLog {
    Q_OBJECT

    ZXNCrashReporterWindowController* open() {
        auto* controller =
            ZXNCrashReporterWindowController::showWindowForCrashLogPath(logPath, server->url());
        opened << controller;
        return controller;
    }

    template <typename T> static T* child(QWidget* window, const char* name) {
        return window->findChild<T*>(QString::fromLatin1(name));
    }

    QMessageBox* waitForSheet(QWidget* window) {
        QMessageBox* sheet = nullptr;
        for (int i = 0; i < 200 && !sheet; ++i) {
            QTest::qWait(25);
            for (auto* box : window->findChildren<QMessageBox*>())
                if (box->isVisible())
                    sheet = box;
        }
        return sheet;
    }

    // Presses send and answers the result sheet; returns its title and message.
    QPair<QString, QString> sendAndDismiss(ZXNCrashReporterWindowController* window) {
        child<QPushButton>(window, "reportButton")->click();
        QMessageBox* sheet = waitForSheet(window);
        if (!sheet)
            return {};
        const QPair<QString, QString> texts{sheet->text(), sheet->informativeText()};
        sheet->button(QMessageBox::Ok)->click();
        return texts;
    }

    void verifyLogKept() {
        QVERIFY(QFile::exists(logPath));
        QCOMPARE(UserDefaults::standard().dateForKey(kDateKey), std::optional(storedDate));
    }

    QList<QPointer<ZXNCrashReporterWindowController>> opened;

private slots:
    void init() {
        qputenv("EMAIL", "someone@example.org");
        QVERIFY(start(kLogContents));
        ZXNCrashReportSubmission::registerDefaults();
        BundleInfo::resetOverrides();
        LibraryFolders::setMachineLibraryForTesting(home->filePath(QStringLiteral("machine")));
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

    void windowShowsTitleAddressAndSettings() {
        UserDefaults::standard().setBool(kIncludeSystemKey, false);
        auto* window = open();
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("Crash Reporter: Vup (1.0.0)"));
        QCOMPARE(window->emailAddress(), QStringLiteral("someone@example.org"));
        QCOMPARE(child<QLineEdit>(window, "emailAddressField")->text(),
                 QStringLiteral("someone@example.org"));
        auto* comments = child<QPlainTextEdit>(window, "commentsTextView");
        QCOMPARE(comments->placeholderText(),
                 QStringLiteral("Please enter a description of the actions leading up to the crash."));
        QCOMPARE(comments->font().pointSizeF(), 10.0);
        // A stored choice wins over the fallback; the other setting shows its fallback.
        auto* includeSystem = child<QCheckBox>(window, "includeSystemInformationCheckBox");
        QVERIFY(!includeSystem->isChecked());
        QVERIFY(child<QCheckBox>(window, "includeEmailAddressCheckBox")->isChecked());
        includeSystem->click();
        QVERIFY(UserDefaults::standard().boolForKey(kIncludeSystemKey));
        QVERIFY(!child<QProgressBar>(window, "progressIndicator")->isVisible());
    }

    void titleWithoutVersionAndNoAddressWithoutEmail() {
        BundleInfo::overrideValue(QStringLiteral("CFBundleShortVersionString"), std::nullopt);
        qunsetenv("EMAIL");
        auto* window = open();
        QCOMPARE(window->windowTitle(), QStringLiteral("Crash Reporter: Vup"));
        QVERIFY(window->emailAddress().isNull());
    }

    void tabMovesFocusInsteadOfTyping() {
        auto* window = open();
        QApplication::setActiveWindow(window);
        auto* comments = child<QPlainTextEdit>(window, "commentsTextView");
        comments->setFocus();
        QTRY_VERIFY(comments->hasFocus());
        QTest::keyClick(comments, Qt::Key_A);
        QTest::keyClick(comments, Qt::Key_Tab);
        QCOMPARE(comments->toPlainText(), QStringLiteral("a"));
        QVERIFY(!comments->hasFocus());
        QVERIFY(child<QLineEdit>(window, "emailAddressField")->hasFocus());
        comments->setFocus();
        QTest::keyClick(comments, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(comments->toPlainText(), QStringLiteral("a"));
        QVERIFY(child<QPushButton>(window, "reportButton")->hasFocus());
    }

    void parameterChecksMakeNoWindow() {
        const int before = QApplication::topLevelWidgets().size();
        QCOMPARE(thrownReason([&] {
                     ZXNCrashReporterWindowController::showWindowForCrashLogPath(QString(), server->url());
                 }),
                 QStringLiteral("Invalid parameter not satisfying: nil != crashLogPath"));
        QCOMPARE(thrownReason(
                     [&] { ZXNCrashReporterWindowController::showWindowForCrashLogPath(logPath, QUrl()); }),
                 QStringLiteral("Invalid parameter not satisfying: nil != submissionURL"));
        QCOMPARE(QApplication::topLevelWidgets().size(), before);
    }

    // ---- launch ----

    void launchOffersTheLogAndSurvivesConfigurationMistakes() {
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

        UserDefaults::standard().setString(kURLKey, server->url().toString());
        QWidget mainWindow;
        checkForNewCrashesAtLaunch(&mainWindow);
        auto* report = mainWindow.findChild<ZXNCrashReporterWindowController*>();
        QVERIFY(report);
        QVERIFY(report->isVisible());
        QCOMPARE(report->crashLogPath(), logPath);
        QCOMPARE(report->submissionURL(), server->url());
    }

    // ---- ignore and discard ----

    void ignoreHidesAndChangesNothing() {
        auto* window = open();
        child<QPushButton>(window, "ignoreButton")->click();
        QVERIFY(!window->isVisible());
        verifyLogKept();
        QCOMPARE(ZXNCrashReporter::findNewCrashLog()->path, logPath);
        QVERIFY(server->requests().empty());
    }

    void discardMovesTheLogToTheTrash() {
        LogCapture log;
        auto* window = open();
        child<QPushButton>(window, "discardButton")->click();
        QVERIFY(!window->isVisible());
        QVERIFY(!QFile::exists(logPath));
        QFile trashed(home->filePath(QStringLiteral("XDG_DATA_HOME/Trash/files/")) +
                      QFileInfo(logPath).fileName());
        QVERIFY(trashed.open(QIODevice::ReadOnly));
        QCOMPARE(trashed.readAll(), kLogContents);
        QVERIFY(log.lines().isEmpty());
        QVERIFY(!ZXNCrashReporter::findNewCrashLog());
    }

    void discardingAVanishedLogIsLogged() {
        LogCapture log;
        auto* window = open();
        QVERIFY(QFile::remove(logPath));
        child<QPushButton>(window, "discardButton")->click();
        QVERIFY(!window->isVisible());
        QCOMPARE(log.lines(),
                 QStringList{QStringLiteral("ZXNCrashReporter: Unable to create FSRef for file ") + logPath});
    }

    void logThatCannotBeTrashedStaysAndIsLogged() {
        LogCapture log;
        // A file where the data folder should be: there is no Trash to move into.
        QFile blocker(home->filePath(QStringLiteral("XDG_DATA_HOME")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString previous = QDir::currentPath();
        QDir::setCurrent(home->path());
        auto* window = open();
        child<QPushButton>(window, "discardButton")->click();
        QDir::setCurrent(previous);
        QVERIFY(!window->isVisible());
        verifyLogKept();
        QCOMPARE(log.lines().size(), 1);
        QVERIFY2(log.lines().first().startsWith(QStringLiteral("ZXNCrashReporter: Unable to move ") +
                                                logPath + QStringLiteral(" to trash: ")),
                 qPrintable(log.lines().first()));
        QVERIFY(!QFile::exists(home->filePath(QStringLiteral("files"))));
    }

    // ---- sending ----

    void recognisedAnswerUnderServerErrorStatusSucceeds() {
        server->answer(500, "ok\n");
        auto* window = open();
        child<QPlainTextEdit>(window, "commentsTextView")
            ->setPlainText(QStringLiteral("It crashed when I  clicked\n"));
        const auto [title, message] = sendAndDismiss(window);
        QCOMPARE(title, QStringLiteral("The crash report was successfully submitted."));
        QCOMPARE(message, QStringLiteral("Thank you for taking the time to help improve Vup!"));
        QVERIFY(!window->isVisible());
        QVERIFY(!QFile::exists(logPath));
        QCOMPARE(UserDefaults::standard().dateForKey(kDateKey), std::optional(logDate));
        QVERIFY(!child<QPushButton>(window, "reportButton")->isEnabled());

        const auto requests = server->requests();
        QCOMPARE(requests.size(), std::size_t(1));
        const LoopbackServer::Request& r = requests.front();
        QCOMPARE(text(r.method), QStringLiteral("POST"));
        QCOMPARE(text(r.path), QStringLiteral("/crashreport"));
        QCOMPARE(text(r.header("Content-Type")),
                 QStringLiteral("multipart/form-data; boundary=81e29ba4f957efe5916039f587fe3ed7"));
        QCOMPARE(text(r.header("User-Agent")), QStringLiteral("ZXNCrashReporter"));
        QVERIFY(text(r.header("Content-Length")).toLongLong() > kLogContents.size());
        QVERIFY(r.multipart);

        // Every field, as the server's own parser saw it.
        const ZXNSystemInformation system;
        QMap<QString, QString> expected{
            {QStringLiteral("systemInformationIncluded"), QStringLiteral("1")},
            {QStringLiteral("emailAddress"), QStringLiteral("someone@example.org")},
            {QStringLiteral("comments"), QStringLiteral("It crashed when I  clicked\n")},
            {QStringLiteral("applicationName"), QStringLiteral("Vup")},
            {QStringLiteral("applicationIdentifier"), QStringLiteral("org.vup.Vup")},
            {QStringLiteral("applicationVersion"), QStringLiteral("1")},
            {QStringLiteral("applicationShortVersion"), QStringLiteral("1.0.0")},
        };
        const auto addText = [&](const char* name, const std::optional<QString>& v) {
            if (v)
                expected.insert(QString::fromLatin1(name), *v);
        };
        const auto addNumber = [&](const char* name, const std::optional<qint64>& v) {
            if (v)
                expected.insert(QString::fromLatin1(name), QString::number(*v));
        };
        addText("machine", system.machine());
        addText("model", system.model());
        addNumber("physicalMemory", system.physicalMemory());
        addNumber("busFrequency", system.busFrequency());
        addNumber("CPUFrequency", system.CPUFrequency());
        addNumber("CPUFamily", system.CPUFamily());
        addNumber("CPUType", system.CPUType());
        addNumber("CPUSubtype", system.CPUSubtype());
        addNumber("numberOfCPUs", system.numberOfCPUs());
        addNumber("physicalCPUs", system.physicalCPUs());
        addNumber("logicalCPUs", system.logicalCPUs());
        addText("systemVersion", system.systemVersion());
        addText("systemBuildVersion", system.systemBuildVersion());
        QVERIFY(expected.contains(QStringLiteral("machine")));

        QCOMPARE(r.partCount, std::size_t(expected.size() + 2)); // + crashLog and date
        for (auto it = expected.constBegin(); it != expected.constEnd(); ++it) {
            const auto part = r.parts.find(it.key().toStdString());
            QVERIFY2(part != r.parts.end(), qPrintable(it.key()));
            QCOMPARE(text(part->second.content), it.value());
            QCOMPARE(text(part->second.contentType), QStringLiteral("text/plain; charset=utf-8"));
            QVERIFY(part->second.filename.empty());
        }
        const auto& crashLog = r.parts.at("crashLog");
        QCOMPARE(text(crashLog.filename), QFileInfo(logPath).fileName());
        QCOMPARE(text(crashLog.contentType), QStringLiteral("application/octet-stream"));
        QCOMPARE(QByteArray::fromStdString(crashLog.content), kLogContents);
        const QString date = text(r.parts.at("date").content);
        QVERIFY2(QRegularExpression(
                     QStringLiteral("^[A-Z][a-z]{2} \\d{1,2}, \\d{4}, \\d{1,2}:\\d{2}:\\d{2}\u202F[AP]M$"))
                     .match(date)
                     .hasMatch(),
                 qPrintable(date));
    }

    void failedTransfersKeepTheLog_data() {
        QTest::addColumn<QString>("behaviour");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("message"); // a pattern for the failure sheet's text
        const QString unrecognised = QStringLiteral("^The error was: Unrecognized response from the server$");
        QTest::newRow("no line feed") << "answer" << QByteArray("ok") << unrecognised;
        QTest::newRow("upper case") << "answer" << QByteArray("OK\n") << unrecognised;
        QTest::newRow("CR LF") << "answer" << QByteArray("ok\r\n") << unrecognised;
        QTest::newRow("empty") << "answer" << QByteArray() << unrecognised;
        QTest::newRow("trailing text") << "answer" << QByteArray("ok\nmore") << unrecognised;
        QTest::newRow("dropped connection")
            << "drop" << QByteArray() << QStringLiteral("^The error was: (?!Unrecognized).+$");
        QTest::newRow("silent server")
            << "hold" << QByteArray() << QStringLiteral("^The error was: The request timed out\\.$");
    }

    void failedTransfersKeepTheLog() {
        QFETCH(QString, behaviour);
        QFETCH(QByteArray, answer);
        QFETCH(QString, message);
        auto* window = open();
        if (behaviour == QLatin1StringView("drop")) {
            server->dropConnection();
        } else if (behaviour == QLatin1StringView("hold")) {
            server->hold();
            window->setTransferTimeout(300);
        } else {
            server->answer(200, answer.toStdString());
        }
        const auto [title, text] = sendAndDismiss(window);
        QCOMPARE(title, QStringLiteral("An error occurred while submitting the crash report."));
        QVERIFY2(QRegularExpression(message).match(text).hasMatch(), qPrintable(text));
        QVERIFY(!window->isVisible());
        if (behaviour == QLatin1StringView("answer"))
            QCOMPARE(server->requests().size(), std::size_t(1));
        verifyLogKept();
    }

    void unreadableLogSendsNothing() {
        QVERIFY(QFile::remove(logPath));
        QVERIFY(QDir().mkpath(logPath)); // a folder where the log was: cannot be read as a file
        auto* window = open();
        const auto [title, message] = sendAndDismiss(window);
        QCOMPARE(title, QStringLiteral("An error occurred while submitting the crash report."));
        QVERIFY2(message.contains(logPath), qPrintable(message));
        QVERIFY(server->requests().empty());
        QVERIFY(QFileInfo(logPath).isDir());
        QCOMPARE(UserDefaults::standard().dateForKey(kDateKey), std::optional(storedDate));
    }

    void settingsDecideWhatIsSent_data() {
        QTest::addColumn<bool>("includeSystem");
        QTest::addColumn<bool>("includeEmail");
        QTest::addColumn<QString>("address"); // null: none known; empty: the user cleared the field
        const QString someone = QStringLiteral("someone@example.org");
        QTest::newRow("system information off") << false << true << someone;
        QTest::newRow("e-mail setting off") << true << false << someone;
        QTest::newRow("no address") << true << true << QString();
        QTest::newRow("cleared address") << true << true << QStringLiteral("");
    }

    void settingsDecideWhatIsSent() {
        QFETCH(bool, includeSystem);
        QFETCH(bool, includeEmail);
        QFETCH(QString, address);
        UserDefaults::standard().setBool(kIncludeSystemKey, includeSystem);
        UserDefaults::standard().setBool(kIncludeEmailKey, includeEmail);
        if (address.isNull())
            qunsetenv("EMAIL");
        auto* window = open();
        if (!address.isNull() && address.isEmpty()) {
            auto* field = child<QLineEdit>(window, "emailAddressField");
            field->selectAll();
            QTest::keyClick(field, Qt::Key_Delete);
            QVERIFY(window->emailAddress().isEmpty() && !window->emailAddress().isNull());
        }
        // The placeholder is never part of the comments.
        QVERIFY(child<QPlainTextEdit>(window, "commentsTextView")->toPlainText().isEmpty());
        QCOMPARE(sendAndDismiss(window).first,
                 QStringLiteral("The crash report was successfully submitted."));
        const auto requests = server->requests();
        QCOMPARE(requests.size(), std::size_t(1));
        const auto& parts = requests.front().parts;
        QCOMPARE(text(parts.at("systemInformationIncluded").content),
                 includeSystem ? QStringLiteral("1") : QStringLiteral("0"));
        for (const char* field : kSystemFields)
            if (!includeSystem)
                QVERIFY2(!parts.count(field), field);
        if (includeSystem)
            QVERIFY(parts.count("machine"));
        const bool sendsAddress = includeEmail && !address.isNull();
        QCOMPARE(parts.count("emailAddress"), std::size_t(sendsAddress ? 1 : 0));
        if (sendsAddress)
            QCOMPARE(text(parts.at("emailAddress").content), address);
        QCOMPARE(parts.count("comments"), std::size_t(0));
        QCOMPARE(parts.count("crashLog"), std::size_t(1));
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

    void reportDateFollowsTheReportingLocale() {
        const QDateTime when = QDateTime::fromString(QStringLiteral("2026-12-06T18:21:16Z"), Qt::ISODate);
        QCOMPARE(ZXNCrashReportSubmission::reportDate(when, QStringLiteral("en_US")),
                 QStringLiteral("Dec 6, 2026, 6:21:16\u202FPM"));
        QCOMPARE(ZXNCrashReportSubmission::reportDate(when, QStringLiteral("de_DE")),
                 QStringLiteral("06.12.2026, 18:21:16"));

        const QString localeKey = QStringLiteral("ZXNCrashReporterPreferredReportingLocale");
        BundleInfo::overrideValue(localeKey, std::nullopt);
        QCOMPARE(ZXNCrashReportSubmission::reportingLocale(), QStringLiteral("en_US"));
        BundleInfo::overrideValue(localeKey, QStringLiteral("fr_FR"));
        QCOMPARE(ZXNCrashReportSubmission::reportingLocale(), QStringLiteral("fr_FR"));
        UserDefaults::standard().setString(localeKey, QStringLiteral("de_DE"));
        QCOMPARE(ZXNCrashReportSubmission::reportingLocale(), QStringLiteral("de_DE"));
        const QVariantMap fields = ZXNCrashReportSubmission::reportFields(
            logPath, std::nullopt, QStringLiteral(" "), ZXNSystemInformation(), when);
        QCOMPARE(fields.value(QStringLiteral("date")).toString(), QStringLiteral("06.12.2026, 18:21:16"));
        // Blanks are comments too.
        QCOMPARE(fields.value(QStringLiteral("comments")).toString(), QStringLiteral(" "));
    }

    void unreadableFactIsLeftOutAlone() {
        QTemporaryDir root;
        QVERIFY(QDir().mkpath(root.filePath(QStringLiteral("etc"))));
        QFile release(root.filePath(QStringLiteral("etc/os-release")));
        QVERIFY(release.open(QIODevice::WriteOnly));
        release.write("VERSION_ID=7\n");
        release.close();
        const ZXNSystemInformation partial(std::make_shared<SysctlShim>(root.path()), root.path());
        const QVariantMap fields = ZXNCrashReportSubmission::reportFields(
            logPath, std::nullopt, QString(), partial, QDateTime::currentDateTime());
        QCOMPARE(fields.value(QStringLiteral("systemVersion")).toString(), QStringLiteral("7"));
        QVERIFY(fields.contains(QStringLiteral("machine")));
        QVERIFY(!fields.contains(QStringLiteral("physicalMemory")));
        QVERIFY(!fields.contains(QStringLiteral("systemBuildVersion")));
        QVERIFY(!fields.contains(QStringLiteral("comments")));
        QCOMPARE(fields.value(QStringLiteral("systemInformationIncluded")), QVariant(true));
    }
};

VUP_TEST_MAIN_GUI(WindowTest)
#include "tst_window.moc"
