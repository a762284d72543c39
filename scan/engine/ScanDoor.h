/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "platform/FileAccess.h"
#include "platform/MainThread.h"
#include "scan/engine/KeywordVerification.h"
#include "scan/engine/ProgressReporter.h"
#include "scan/engine/SBUtils.h"
#include "scan/engine/VersionCheck.h"
#include "scan/zombies/ZombieCalls.h"

#include <QList>
#include <QString>
#include <functional>

class VupDelegate;

// The one place where a run on the scan thread talks up to the face that started it (the window,
// or the terminal of `vup scan`). Every status, progress step, alert, prompt, option and the end
// of the run pass through here, and only here is work handed to the main thread, each operation
// with its own wait:
// - not waited for, where the run goes on and the window may catch up: the status of a stage
//   whose work follows at once, the busy bar and its end, batched progress positions, sheet
//   alerts, the zombie option switched off;
// - waited for, where what follows depends on the window having it or on the user's answer:
//   every other status, the bar's length, the zombie recovery's steps, whether Cancel can still
//   act, the return to idle, modal alerts and the access prompt.
// Hand-offs keep their order, waited for or not: they all go through the delegate's queue.
//
// The lower classes do not see it: they get the functions they need, made here.
//
// Made by the engine for one run (or one resumed recovery) and used on that run's thread. The
// delegate outlives it; with none, nothing is told, nothing cancels and every option is off.
class ScanDoor {
public:
    // The user's options a run goes by, as they stood when it began.
    struct Options {
        bool deleteMode = false;
        bool selectionMode = false;
        bool recoverZombies = false;
    };

    explicit ScanDoor(VupDelegate* delegate);
    // The functions it makes for the lower classes call back into this very door.
    ScanDoor(const ScanDoor&) = delete;
    ScanDoor& operator=(const ScanDoor&) = delete;

    // Asks the delegate on the main thread, once, at the start of the run.
    Options readOptions();

    // Read on the calling thread: the two flags the delegate keeps for any thread.
    bool cancelled() const;
    bool userQuit() const;
    std::function<bool()> cancelCheck() const;

    // ---- not waited for ----
    void stageStatus(const QString& text);
    void progressIndeterminate();
    void busyEnded();
    void progressPositions(const QList<double>& positions);
    ProgressReporter::Sink progressSink();
    void alert(const QString& text, const QString& title);
    void zombieRecoveryOff();

    // ---- waited for ----
    void status(const QString& text);
    void progressSteps(double steps);
    void progressStep(double step);
    void setCancellable(bool cancellable);
    // processingComplete, then stopAnimation.
    void returnToIdle();
    void modalAlert(const QString& text, const QString& title);
    // The missing keywords alert: true when somebody may have added them once it is dismissed.
    bool askToAddKeywords(const QString& text, const QString& title);
    void accessPrompt(const QString& path);

    // ---- the lower classes' share ----
    SBUtils::LoadCalls loadCalls();
    VersionCheck::Alert versionAlert();
    KeywordVerification::Calls keywordCalls();
    FileAccess::Prompt accessPromptCall();
    ZombieCalls zombieCalls();

private:
    void handOff(std::function<void(VupDelegate& delegate)> work, MainThread::Wait wait);

    VupDelegate* delegate;
};
