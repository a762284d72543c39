#pragma once

#include <QPointer>
#include <QString>
#include <QUrl>
#include <QWidget>
#include <memory>

class QPlainTextEdit;
class ZXNCrashReportSubmission;
namespace Ui {
class ZXNCrashReporterWindow;
}

// The crash report window: shows one crash log's report for review and lets the user send it,
// ignore it for now or discard the log. The report's fields, the transfer and the answer test live
// in ZXNCrashReportSubmission; this class only wires them to the window.
class ZXNCrashReporterWindowController : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString emailAddress READ emailAddress WRITE setEmailAddress NOTIFY emailAddressChanged)
    Q_PROPERTY(QString crashLogPath READ crashLogPath CONSTANT)
    Q_PROPERTY(QUrl submissionURL READ submissionURL CONSTANT)
    Q_PROPERTY(bool sending READ isSending NOTIFY sendingChanged)

public:
    static constexpr const char* kWindowDescription = "ZXNCrashReporterWindow";

    // Opens the window for a crash log. Raises ZXNException ("nil != crashLogPath",
    // "nil != submissionURL") when either is missing; then no window is made. The controller keeps
    // itself alive while the window is in use; with a parent it is also deleted with the parent.
    static ZXNCrashReporterWindowController* showWindowForCrashLogPath(const QString& crashLogPath,
                                                                       const QUrl& submissionURL,
                                                                       QWidget* parent = nullptr);
    ~ZXNCrashReporterWindowController() override;

    // Null when there is none; an address the user typed counts even when the setting to send it
    // is off (the setting decides only whether it is sent). A field the user cleared holds an
    // empty address, which is sent as such.
    QString emailAddress() const { return _emailAddress; }
    void setEmailAddress(const QString& address);
    const QString& crashLogPath() const { return _crashLogPath; }
    const QUrl& submissionURL() const { return _submissionURL; }
    bool isSending() const;
    // "ValidatedTitle", or nothing.
    QString applicationName() const;
    // A transfer that hears nothing for this long fails (one minute unless changed).
    void setTransferTimeout(int milliseconds) { transferTimeoutMs = milliseconds; }

public slots:
    void sendReport();
    void ignoreReport();
    void discardReport();
    void showSubmissionSucceededSheet();
    void showSubmissionFailedSheet(const QString& error);
    void showSubmissionSheetDidEnd();

signals:
    void emailAddressChanged(const QString& emailAddress);
    void sendingChanged(bool sending);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class TextCommand { InsertTab, InsertBacktab };

    ZXNCrashReporterWindowController(QString crashLogPath, QUrl submissionURL, QWidget* parent);
    static void initialize();
    void windowDidLoad();
    void windowWillClose();
    void sendCrashReport();
    bool textViewDoCommandBySelector(QPlainTextEdit* textView, TextCommand command);
    void releaseWhenUnused();
    QString nameForTexts() const;

    std::unique_ptr<Ui::ZXNCrashReporterWindow> ui;
    QString _emailAddress;
    QString _crashLogPath;
    QUrl _submissionURL;
    QPointer<ZXNCrashReportSubmission> submission;
    // Holds the controller while its window is in use; cleared when the window closes.
    QPointer<ZXNCrashReporterWindowController> self_reference;
    int transferTimeoutMs;
};
