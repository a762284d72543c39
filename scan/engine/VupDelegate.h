/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QObject>
#include <QString>

// The delegate operations: the fixed set through which a run reports status and progress, reads
// the user's options, shows alerts and prompts and ends. The window controller (VupAppDelegate)
// and the terminal runner implement it.
//
// Thread rules. Everything here runs on the main thread, where the delegate lives: a run on the
// scan thread reaches it only through its door (scan/ScanDoor), which hands each operation over.
// The one exception is cancelled() and userQuit(), which the door reads from the scan thread as
// often as it must: an implementation answers them from an atomic flag, without locking or
// waiting for the main thread.
class VupDelegate : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~VupDelegate() override = default;

    // ---- window operations ----
    virtual void setStatusLabel(const QString& text) = 0;
    virtual void cfgProgressBarIndeterminate() = 0;
    virtual void cfgProgressBarDeterminate() = 0;
    virtual void cfgProgressBarMaxValue(double value) = 0;
    virtual void cfgProgressBarCurrentValue(double value) = 0;
    virtual void stopAnimation() = 0;
    virtual void processingComplete() = 0;
    // Asks the user to let Vup read the path (a library package it cannot read yet). Answers once
    // the user has pressed Open; cancelling asks again.
    virtual void askForReadAccess(const QString& path) = 0;
    // Whether cancelling can still stop the run: true from its start, false while it makes its
    // changes (they are finished rather than left half done).
    virtual void setCancellable(bool cancellable) { Q_UNUSED(cancellable); }

    // ---- alerts ----
    // Sheet alert: returns at once; the alert stays up after it.
    virtual void showAlert(const QString& text, const QString& title) = 0;
    // Modal alert: returns only after the user dismissed it.
    virtual void showModalAlert(const QString& text, const QString& title) = 0;

    // ---- the user's options: a run reads them once, as it begins ----
    virtual bool autoDelete() const = 0;
    virtual bool selectionMode() const = 0;
    virtual bool recoverZombies() const = 0;
    virtual void setRecoverZombies(bool value) = 0;
    // True once nobody is left to add missing keywords by hand after the keyword alert (a
    // terminal answering --yes, or whose input is closed): the keyword check then refuses the run.
    virtual bool keywordsDeclined() const { return false; }

    // ---- any thread ----
    // True once the user cancelled the run (Cancel, Ctrl-C, quitting).
    virtual bool cancelled() const = 0;
    // True once the user has quit the application: a run that ends afterwards has nobody to tell,
    // so it delivers no notification.
    virtual bool userQuit() const { return false; }
};
