/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
// What closing the main window asks before the application ends: nothing the user started or
// typed is lost by closing it.
#include "app/VupAppDelegate.h"
#include "crashreporter/ZXNCrashReporterWindowController.h"
#include "widgets/MessageBox.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMainWindow>
#include <QMessageBox>

namespace {

constexpr const char* kStopTitle =
    QT_TRANSLATE_NOOP("VupAppDelegate", "A scan is running. Stop it and quit?");
constexpr const char* kStopMessage = QT_TRANSLATE_NOOP(
    "VupAppDelegate",
    "Vup stops the scan as Cancel does, and quits once it has stopped. Changes already made stay.");
constexpr const char* kStopAndQuit = QT_TRANSLATE_NOOP("VupAppDelegate", "Stop and Quit");
constexpr const char* kContinue = QT_TRANSLATE_NOOP("VupAppDelegate", "Continue");
constexpr const char* kStopping =
    QT_TRANSLATE_NOOP("VupAppDelegate", "Stopping the scan; Vup quits once it has stopped");
constexpr const char* kLoseCommentsTitle =
    QT_TRANSLATE_NOOP("VupAppDelegate", "Quit and lose your crash report comments?");
constexpr const char* kLoseCommentsMessage = QT_TRANSLATE_NOOP(
    "VupAppDelegate",
    "The comments you typed in the crash report have not been sent. Send the report first to keep them.");
constexpr const char* kQuit = QT_TRANSLATE_NOOP("VupAppDelegate", "&Quit");
constexpr const char* kKeepEditing = QT_TRANSLATE_NOOP("VupAppDelegate", "&Keep Editing");

QString text(const char* t) {
    return QCoreApplication::translate("VupAppDelegate", t);
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

bool VupAppDelegate::askToStopAndQuit() {
    bool runEnded = false;
    holdAlerts = true;
    const int answer = MessageBox::ask(
        MessageBox::Kind::Question, text(kStopTitle), text(kStopMessage), mainWindow.get(),
        {{text(kStopAndQuit), QMessageBox::DestructiveRole}, {text(kContinue), QMessageBox::RejectRole}}, 1,
        [this, &runEnded](QMessageBox* box) {
            quitQuestion = box;
            // Nothing is left to stop: the quit the user asked for goes ahead.
            connect(this, &VupAppDelegate::scanEnded, box, [box, &runEnded] {
                runEnded = true;
                box->reject();
            });
        });
    holdAlerts = false;
    if (answer == 0 || runEnded)
        return true;
    showHeldAlerts();
    return false;
}

bool VupAppDelegate::mayCloseWindow() {
    if (runUnderWay) {
        // Already stopping: the window closes by itself once the scan has ended.
        if (quitOnceStopped || !askToStopAndQuit())
            return false;
    }
    if (runUnderWay) {
        // The window stays, saying why, for as long as the run takes to put things back: the
        // process never lives on unseen.
        setStatusLabel(text(kStopping));
        quitOnceStopped = true;
        quitting.store(true);
        setCancelled(true);
        dropHeldAlerts();
        connect(
            this, &VupAppDelegate::scanEnded, this,
            [this] {
                quitOnceStopped = false;
                // Kept open after all (the user keeps crash report comments): usable again.
                if (!mainWindow->close())
                    quitting.store(false);
            },
            static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::SingleShotConnection));
        return false;
    }
    if (report && report->isVisible() && report->hasUnsentComments()) {
        const int answer = MessageBox::ask(
            MessageBox::Kind::Question, text(kLoseCommentsTitle), text(kLoseCommentsMessage),
            mainWindow.get(),
            {{text(kQuit), QMessageBox::DestructiveRole}, {text(kKeepEditing), QMessageBox::RejectRole}}, 1);
        if (answer != 0) {
            report->raise();
            report->activateWindow();
            showHeldAlerts();
            return false;
        }
        report->forgetComments();
    }
    dropHeldAlerts();
    return true;
}
