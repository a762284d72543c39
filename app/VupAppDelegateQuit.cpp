// What closing the main window asks before the application ends.
#include "app/VupAppDelegate.h"
#include "crashreporter/ZXNCrashReporterWindowController.h"
#include "widgets/MessageBox.h"

#include <QCloseEvent>
#include <QMainWindow>

namespace {

constexpr const char* kLoseCommentsTitle = "Quit and lose your crash report comments?";
constexpr const char* kLoseCommentsMessage =
    "The comments you typed in the crash report have not been sent. Send the report first to keep them.";
constexpr const char* kQuit = "&Quit";
constexpr const char* kKeepEditing = "&Keep Editing";

QString text(const char* t) {
    return QString::fromUtf8(t);
}

} // namespace

ZXNCrashReporterWindowController* VupAppDelegate::reportWindow() const {
    return report;
}

bool VupAppDelegate::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mainWindow.get() && event->type() == QEvent::Close && !mayCloseWindow()) {
        event->ignore();
        return true;
    }
    return VupDelegate::eventFilter(watched, event);
}

bool VupAppDelegate::mayCloseWindow() {
    if (report && report->isVisible() && report->hasUnsentComments()) {
        const int answer = MessageBox::ask(
            MessageBox::Kind::Question, text(kLoseCommentsTitle), text(kLoseCommentsMessage),
            mainWindow.get(),
            {{text(kQuit), QMessageBox::DestructiveRole}, {text(kKeepEditing), QMessageBox::RejectRole}}, 1);
        if (answer != 0) {
            report->raise();
            report->activateWindow();
            return false;
        }
    }
    return true;
}
