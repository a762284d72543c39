/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "crashreporter/ZXNCrashReporterWindowController.h"

#include "crashreporter/DiscardCrashLog.h"
#include "crashreporter/ZXNCrashReportSubmission.h"
#include "crashreporter/ZXNException.h"
#include "platform/BundleInfo.h"
#include "platform/OwnEmailAddress.h"
#include "platform/SystemLog.h"
#include "platform/UserDefaults.h"
#include "ui_ZXNCrashReporterWindow.h"
#include "widgets/DialogPlacement.h"
#include "widgets/MessageBox.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMessageBox>
#include <mutex>

namespace {

constexpr const char* kTitleWithVersion = QT_TRANSLATE_NOOP("ZXNCrashReporter", "Crash Reporter: %1 (%2)");
constexpr const char* kTitle = QT_TRANSLATE_NOOP("ZXNCrashReporter", "Crash Reporter: %1");
constexpr const char* kPlaceholder = QT_TRANSLATE_NOOP(
    "ZXNCrashReporter", "Please enter a description of the actions leading up to the crash.");
constexpr const char* kClosedWhileSending =
    "ZXNCrashReporter: report window closed while sending; outcome: %1";
constexpr const char* kOutcomeSent = "sent";
constexpr const char* kLoseCommentsTitle =
    QT_TRANSLATE_NOOP("ZXNCrashReporter", "Ignore the report and lose your comments?");
constexpr const char* kLoseCommentsMessage = QT_TRANSLATE_NOOP(
    "ZXNCrashReporter",
    "The comments you typed have not been sent. The crash log stays and is offered again at the next "
    "launch.");
constexpr const char* kIgnoreReport = QT_TRANSLATE_NOOP("ZXNCrashReporter", "&Ignore Report");
constexpr const char* kLogKept = QT_TRANSLATE_NOOP(
    "ZXNCrashReporter",
    "The crash log is kept and will be offered again at the next launch, with your comments.");
// Comments typed for a log and not yet sent, kept with the log's path until they are sent, the log
// is discarded or the user agrees to lose them: a failed send or a quit loses nothing typed.
constexpr const char* kUnsentCommentsKey = "ZXNCrashReporterUnsentComments";
constexpr const char* kUnsentCommentsLogKey = "ZXNCrashReporterUnsentCommentsLog";
constexpr const char* kKeepEditing = QT_TRANSLATE_NOOP("ZXNCrashReporter", "&Keep Editing");

QString localized(const char* text) {
    return ZXNCrashReportSubmission::localized(text);
}

QString key(const char* text) {
    return QString::fromLatin1(text);
}

} // namespace

void ZXNCrashReporterWindowController::initialize() {
    static std::once_flag once;
    std::call_once(once, [] { ZXNCrashReportSubmission::registerDefaults(); });
}

ZXNCrashReporterWindowController*
ZXNCrashReporterWindowController::showWindowForCrashLogPath(const OfferedCrashLog& crashLog,
                                                            const QUrl& submissionURL, QWidget* parent) {
    checkParameter(!crashLog.path().isEmpty(), "nil != crashLogPath");
    checkParameter(submissionURL.isValid() && !submissionURL.isEmpty(), "nil != submissionURL");
    initialize();
    auto* controller = new ZXNCrashReporterWindowController(crashLog, submissionURL, parent);
    DialogPlacement::placeOver(controller, parent);
    controller->show();
    controller->raise();
    controller->activateWindow();
    controller->self_reference = controller;
    return controller;
}

ZXNCrashReporterWindowController::ZXNCrashReporterWindowController(OfferedCrashLog crashLog,
                                                                   QUrl submissionURL, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::ZXNCrashReporterWindow>()), _crashLog(std::move(crashLog)),
      _submissionURL(std::move(submissionURL)) {
    setObjectName(key(kWindowDescription));
    ui->setupUi(this);
    windowDidLoad();
}

ZXNCrashReporterWindowController::~ZXNCrashReporterWindowController() = default;

QString ZXNCrashReporterWindowController::applicationName() const {
    return BundleInfo::value(key(BundleInfo::kValidatedTitle)).value_or(QString());
}

QString ZXNCrashReporterWindowController::nameForTexts() {
    QString name = BundleInfo::value(key(BundleInfo::kValidatedTitle)).value_or(QString());
    if (name.isEmpty())
        name = BundleInfo::value(key(BundleInfo::kBundleName)).value_or(QCoreApplication::applicationName());
    return name;
}

void ZXNCrashReporterWindowController::windowDidLoad() {
    const QString name = nameForTexts();
    const auto version = BundleInfo::value(key(BundleInfo::kShortVersion));
    setWindowTitle(version ? localized(kTitleWithVersion).arg(name, *version) : localized(kTitle).arg(name));

    setEmailAddress(ownEmailAddress().value_or(QString()));
    ui->emailAddressField->setText(_emailAddress);
    connect(ui->emailAddressField, &QLineEdit::textEdited, this,
            [this](const QString& text) { setEmailAddress(text.isNull() ? QStringLiteral("") : text); });

    // Comments often quote messages and paths: a fixed-pitch font, at the size of the desktop's
    // text rather than a fixed one that may be smaller.
    QFont typingFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    typingFont.setPointSizeF(ui->commentsTextView->font().pointSizeF());
    ui->commentsTextView->setFont(typingFont);
    ui->commentsTextView->setPlaceholderText(localized(kPlaceholder));
    ui->commentsTextView->installEventFilter(this);
    if (UserDefaults::standard().stringForKey(key(kUnsentCommentsLogKey)) == _crashLog.path())
        ui->commentsTextView->setPlainText(
            UserDefaults::standard().stringForKey(key(kUnsentCommentsKey)).value_or(QString()));
    connect(ui->commentsTextView, &QPlainTextEdit::textChanged, this, [this] {
        const QString comments = ui->commentsTextView->toPlainText();
        if (comments.trimmed().isEmpty()) {
            forgetComments();
            return;
        }
        UserDefaults::standard().setString(key(kUnsentCommentsKey), comments);
        UserDefaults::standard().setString(key(kUnsentCommentsLogKey), _crashLog.path());
    });

    // The two settings are shown so that the user sees, and may change, what is sent.
    UserDefaults& defaults = UserDefaults::standard();
    const QString includeEmail = key(ZXNCrashReportSubmission::kIncludeEmailAddressKey);
    const QString includeSystem = key(ZXNCrashReportSubmission::kIncludeSystemInformationKey);
    ui->includeEmailAddressCheckBox->setChecked(defaults.boolForKey(includeEmail));
    ui->includeSystemInformationCheckBox->setChecked(defaults.boolForKey(includeSystem));
    ui->emailAddressField->setEnabled(ui->includeEmailAddressCheckBox->isChecked());
    connect(ui->includeEmailAddressCheckBox, &QCheckBox::toggled, this, [this, includeEmail](bool on) {
        UserDefaults::standard().setBool(includeEmail, on);
        ui->emailAddressField->setEnabled(on);
    });
    connect(ui->includeSystemInformationCheckBox, &QCheckBox::toggled, this,
            [includeSystem](bool on) { UserDefaults::standard().setBool(includeSystem, on); });

    ui->progressIndicator->setRange(0, 1);
    ui->progressIndicator->hide();
    connect(ui->reportButton, &QPushButton::clicked, this, &ZXNCrashReporterWindowController::sendReport);
    connect(ui->ignoreButton, &QPushButton::clicked, this, &ZXNCrashReporterWindowController::ignoreReport);
    connect(ui->discardButton, &QPushButton::clicked, this, &ZXNCrashReporterWindowController::discardReport);
    ui->commentsTextView->setFocus();
}

void ZXNCrashReporterWindowController::setEmailAddress(const QString& address) {
    if (address == _emailAddress && address.isNull() == _emailAddress.isNull())
        return;
    _emailAddress = address;
    emit emailAddressChanged(_emailAddress);
}

bool ZXNCrashReporterWindowController::isSending() const {
    return submission && submission->isSending();
}

bool ZXNCrashReporterWindowController::hasUnsentComments() const {
    return !commentsSent && !isSending() && !ui->commentsTextView->toPlainText().trimmed().isEmpty();
}

bool ZXNCrashReporterWindowController::mayLoseComments() {
    if (!hasUnsentComments())
        return true;
    const int answer = MessageBox::ask(MessageBox::Kind::Question, localized(kLoseCommentsTitle),
                                       localized(kLoseCommentsMessage), this,
                                       {{localized(kIgnoreReport), QMessageBox::DestructiveRole},
                                        {localized(kKeepEditing), QMessageBox::RejectRole}},
                                       1);
    if (answer != 0)
        return false;
    forgetComments();
    return true;
}

void ZXNCrashReporterWindowController::forgetComments() {
    UserDefaults& defaults = UserDefaults::standard();
    if (defaults.stringForKey(key(kUnsentCommentsLogKey)) != _crashLog.path())
        return;
    defaults.removeObject(key(kUnsentCommentsKey));
    defaults.removeObject(key(kUnsentCommentsLogKey));
}

void ZXNCrashReporterWindowController::reject() {
    // While a report is on its way there is nothing to ignore: its outcome decides.
    if (isSending() || !mayLoseComments())
        return;
    ignoreReport();
}

bool ZXNCrashReporterWindowController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->commentsTextView && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Backtab ||
            (key->key() == Qt::Key_Tab && key->modifiers() & Qt::ShiftModifier))
            return textViewDoCommandBySelector(ui->commentsTextView, TextCommand::InsertBacktab);
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::NoModifier)
            return textViewDoCommandBySelector(ui->commentsTextView, TextCommand::InsertTab);
    }
    return QWidget::eventFilter(watched, event);
}

bool ZXNCrashReporterWindowController::textViewDoCommandBySelector(QPlainTextEdit*, TextCommand command) {
    // Tab moves between the controls; a comment has no use for tab characters.
    if (command == TextCommand::InsertTab)
        focusNextChild();
    else
        focusPreviousChild();
    return true;
}

void ZXNCrashReporterWindowController::sendReport() {
    sendCrashReport();
}

void ZXNCrashReporterWindowController::sendCrashReport() {
    if (submission)
        return;
    submission = new ZXNCrashReportSubmission(_crashLog, _submissionURL, this);
    submission->setTransferLimits(transferLimits);
    connect(submission, &ZXNCrashReportSubmission::sendingChanged, this,
            &ZXNCrashReporterWindowController::sendingChanged);
    // The sheets are shown after the transfer's callback has returned.
    connect(submission, &ZXNCrashReportSubmission::succeeded, this,
            &ZXNCrashReporterWindowController::showSubmissionSucceededSheet, Qt::QueuedConnection);
    connect(submission, &ZXNCrashReportSubmission::failed, this,
            &ZXNCrashReporterWindowController::showSubmissionFailedSheet, Qt::QueuedConnection);

    ui->progressIndicator->setRange(0, 0);
    ui->progressIndicator->show();
    ui->reportButton->setEnabled(false);
    ui->ignoreButton->setEnabled(false);
    ui->discardButton->setEnabled(false);
    ui->emailAddressField->setEnabled(false);
    ui->includeEmailAddressCheckBox->setEnabled(false);
    ui->includeSystemInformationCheckBox->setEnabled(false);
    ui->commentsTextView->setReadOnly(true);
    submission->sendCrashReport(_emailAddress.isNull() ? std::nullopt : std::optional(_emailAddress),
                                ui->commentsTextView->toPlainText());
}

void ZXNCrashReporterWindowController::ignoreReport() {
    done(QDialog::Rejected);
}

void ZXNCrashReporterWindowController::discardReport() {
    discardCrashLog(_crashLog);
    forgetComments();
    done(QDialog::Rejected);
}

void ZXNCrashReporterWindowController::showSubmissionSucceededSheet() {
    ui->progressIndicator->setRange(0, 1);
    ui->progressIndicator->hide();
    commentsSent = true;
    forgetComments();
    if (!self_reference) {
        vupLog(key(kClosedWhileSending).arg(key(kOutcomeSent)));
        releaseWhenUnused();
        return;
    }
    showResultSheet(true, localized(kSucceededMessage).arg(nameForTexts()));
}

void ZXNCrashReporterWindowController::showSubmissionFailedSheet(const QString& error) {
    checkParameter(!error.isNull(), "nil != error");
    ui->progressIndicator->setRange(0, 1);
    ui->progressIndicator->hide();
    if (!self_reference) {
        vupLog(key(kClosedWhileSending).arg(error));
        releaseWhenUnused();
        return;
    }
    showResultSheet(false, localized(ZXNCrashReportSubmission::kFailedMessageFormat).arg(error) +
                               QStringLiteral("\n\n") + localized(kLogKept));
}

void ZXNCrashReporterWindowController::showResultSheet(bool succeeded, const QString& message) {
    const char* title =
        succeeded ? ZXNCrashReportSubmission::kSucceededTitle : ZXNCrashReportSubmission::kFailedTitle;
    QMessageBox* sheet = MessageBox::create(
        succeeded ? MessageBox::Kind::Information : MessageBox::Kind::Critical, localized(title), message,
        this, {{localized(QT_TRANSLATE_NOOP("ZXNCrashReporter", "OK")), QMessageBox::AcceptRole}});
    sheet->setWindowModality(Qt::WindowModal);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    connect(sheet, &QMessageBox::finished, this,
            &ZXNCrashReporterWindowController::showSubmissionSheetDidEnd);
    sheet->open();
}

void ZXNCrashReporterWindowController::showSubmissionSheetDidEnd() {
    done(commentsSent ? QDialog::Accepted : QDialog::Rejected);
}

void ZXNCrashReporterWindowController::closeEvent(QCloseEvent* event) {
    if (!mayLoseComments()) {
        event->ignore();
        return;
    }
    windowWillClose();
    // Not QDialog's, which would take the close for Escape and ask again.
    QWidget::closeEvent(event);
    done(QDialog::Rejected);
}

void ZXNCrashReporterWindowController::windowWillClose() {
    self_reference.clear();
    releaseWhenUnused();
}

void ZXNCrashReporterWindowController::releaseWhenUnused() {
    // A running transfer keeps the controller: its outcome (log deleted or kept) must still land.
    if (!self_reference && !isSending())
        deleteLater();
}
