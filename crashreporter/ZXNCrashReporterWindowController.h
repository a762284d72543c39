/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "crashreporter/OfferedCrashLog.h"
#include "crashreporter/ZXNCrashReportSubmission.h"

#include <QDialog>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <memory>

class QPlainTextEdit;
namespace Ui {
class ZXNCrashReporterWindow;
}

// The crash report window: shows one crash log's report for review and lets the user send it,
// ignore it for now or discard the log. The report's fields, the transfer and the answer test live
// in ZXNCrashReportSubmission; this class only wires them to the window.
//
// It is a dialog of the main window, not modal: Enter sends (except on a focused button or in the
// comments), Escape ignores. Comments the user typed and has not sent are never thrown away
// without asking: Escape and the title bar's close ask first. The window leaves the screen with
// `finished`, whichever way it goes.
class ZXNCrashReporterWindowController : public QDialog {
    Q_OBJECT
    Q_PROPERTY(QString emailAddress READ emailAddress WRITE setEmailAddress NOTIFY emailAddressChanged)
    Q_PROPERTY(QString crashLogPath READ crashLogPath CONSTANT)
    Q_PROPERTY(QUrl submissionURL READ submissionURL CONSTANT)
    Q_PROPERTY(bool sending READ isSending NOTIFY sendingChanged)

public:
    static constexpr const char* kWindowDescription = "ZXNCrashReporterWindow";
    // Told after a report was received, in the window and on the terminal alike.
    static constexpr const char* kSucceededMessage =
        QT_TRANSLATE_NOOP("ZXNCrashReporter", "Thank you for taking the time to help improve %1!");

    // Opens the window for a crash log, centred over `parent` and within the screen, with keyboard
    // focus in the comments. Raises ZXNException ("nil != crashLogPath", "nil != submissionURL")
    // when either is missing; then no window is made. The controller keeps itself alive while the
    // window is in use; with a parent it is also deleted with the parent.
    static ZXNCrashReporterWindowController* showWindowForCrashLogPath(const OfferedCrashLog& crashLog,
                                                                       const QUrl& submissionURL,
                                                                       QWidget* parent = nullptr);
    ~ZXNCrashReporterWindowController() override;

    // Null when there is none; an address the user typed counts even when the setting to send it
    // is off (the setting decides only whether it is sent). A field the user cleared holds an
    // empty address, which is sent as such.
    QString emailAddress() const { return _emailAddress; }
    void setEmailAddress(const QString& address);
    const QString& crashLogPath() const { return _crashLog.path(); }
    const QUrl& submissionURL() const { return _submissionURL; }
    bool isSending() const;
    // "ValidatedTitle", or nothing.
    QString applicationName() const;
    void setTransferLimits(ZXNCrashReportSubmission::TransferLimits limits) { transferLimits = limits; }
    // The program's name in the window's sentences: "ValidatedTitle", else the bundle's name.
    static QString nameForTexts();
    // The user typed comments that are neither sent nor being sent.
    bool hasUnsentComments() const;
    // The comments kept with this log for its next offer are given up: sent, discarded with the
    // log, or lost with the user's agreement.
    void forgetComments();

public slots:
    // Escape: ignore, once the user agreed to lose unsent comments.
    void reject() override;
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

    ZXNCrashReporterWindowController(OfferedCrashLog crashLog, QUrl submissionURL, QWidget* parent);
    static void initialize();
    void windowDidLoad();
    void windowWillClose();
    void sendCrashReport();
    bool textViewDoCommandBySelector(QPlainTextEdit* textView, TextCommand command);
    void releaseWhenUnused();
    void showResultSheet(bool succeeded, const QString& message);
    // Asks before unsent comments are lost; true when there are none or the user agreed.
    bool mayLoseComments();

    std::unique_ptr<Ui::ZXNCrashReporterWindow> ui;
    QString _emailAddress;
    OfferedCrashLog _crashLog;
    QUrl _submissionURL;
    QPointer<ZXNCrashReportSubmission> submission;
    // Holds the controller while its window is in use; cleared when the window closes.
    QPointer<ZXNCrashReporterWindowController> self_reference;
    ZXNCrashReportSubmission::TransferLimits transferLimits;
    bool commentsSent = false;
};
