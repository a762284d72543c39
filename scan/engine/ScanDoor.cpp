/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "scan/engine/ScanDoor.h"

#include "scan/engine/VupDelegate.h"

using MainThread::Wait;

ScanDoor::ScanDoor(VupDelegate* d) : delegate(d) {}

void ScanDoor::handOff(std::function<void(VupDelegate& delegate)> work, Wait wait) {
    if (!delegate)
        return;
    VupDelegate* d = delegate;
    MainThread::run(
        d, [d, work = std::move(work)] { work(*d); }, wait);
}

ScanDoor::Options ScanDoor::readOptions() {
    Options options;
    handOff(
        [&options](VupDelegate& d) {
            options.deleteMode = d.autoDelete();
            options.selectionMode = d.selectionMode();
            options.recoverZombies = d.recoverZombies();
        },
        Wait::Yes);
    return options;
}

bool ScanDoor::cancelled() const {
    return delegate && delegate->cancelled();
}

bool ScanDoor::userQuit() const {
    return delegate && delegate->userQuit();
}

std::function<bool()> ScanDoor::cancelCheck() const {
    return [this] {
        return cancelled();
    };
}

// ---- not waited for ----

void ScanDoor::stageStatus(const QString& text) {
    handOff([text](VupDelegate& d) { d.setStatusLabel(text); }, Wait::No);
}

void ScanDoor::progressIndeterminate() {
    handOff([](VupDelegate& d) { d.cfgProgressBarIndeterminate(); }, Wait::No);
}

void ScanDoor::busyEnded() {
    handOff([](VupDelegate& d) { d.stopAnimation(); }, Wait::No);
}

void ScanDoor::progressPositions(const QList<double>& positions) {
    handOff(
        [positions](VupDelegate& d) {
            for (const double v : positions)
                d.cfgProgressBarCurrentValue(v);
        },
        Wait::No);
}

ProgressReporter::Sink ScanDoor::progressSink() {
    return [this](const QList<double>& positions) {
        progressPositions(positions);
    };
}

void ScanDoor::alert(const QString& text, const QString& title) {
    handOff([text, title](VupDelegate& d) { d.showAlert(text, title); }, Wait::No);
}

void ScanDoor::zombieRecoveryOff() {
    handOff([](VupDelegate& d) { d.setRecoverZombies(false); }, Wait::No);
}

// ---- waited for ----

void ScanDoor::status(const QString& text) {
    handOff([text](VupDelegate& d) { d.setStatusLabel(text); }, Wait::Yes);
}

void ScanDoor::progressSteps(double steps) {
    handOff([steps](VupDelegate& d) { d.cfgProgressBarMaxValue(steps); }, Wait::Yes);
}

void ScanDoor::progressStep(double step) {
    handOff([step](VupDelegate& d) { d.cfgProgressBarCurrentValue(step); }, Wait::Yes);
}

void ScanDoor::setCancellable(bool cancellable) {
    handOff([cancellable](VupDelegate& d) { d.setCancellable(cancellable); }, Wait::Yes);
}

void ScanDoor::returnToIdle() {
    handOff(
        [](VupDelegate& d) {
            d.processingComplete();
            d.stopAnimation();
        },
        Wait::Yes);
}

void ScanDoor::modalAlert(const QString& text, const QString& title) {
    handOff([text, title](VupDelegate& d) { d.showModalAlert(text, title); }, Wait::Yes);
}

bool ScanDoor::askToAddKeywords(const QString& text, const QString& title) {
    // Without anybody to ask, nobody adds them.
    bool declined = true;
    handOff(
        [&declined, text, title](VupDelegate& d) {
            d.showModalAlert(text, title);
            declined = d.keywordsDeclined();
        },
        Wait::Yes);
    return !declined;
}

void ScanDoor::accessPrompt(const QString& path) {
    handOff([path](VupDelegate& d) { d.askForReadAccess(path); }, Wait::Yes);
}

// ---- the lower classes' share ----

SBUtils::LoadCalls ScanDoor::loadCalls() {
    return {
        cancelCheck(),
        [this](qsizetype photos) {
            handOff(
                [photos](VupDelegate& d) {
                    d.cfgProgressBarDeterminate();
                    d.cfgProgressBarMaxValue(double(photos));
                },
                Wait::Yes);
        },
        progressSink(),
    };
}

VersionCheck::Alert ScanDoor::versionAlert() {
    return [this](const QString& text, const QString& title) {
        modalAlert(text, title);
    };
}

KeywordVerification::Calls ScanDoor::keywordCalls() {
    return {cancelCheck(), [this](const QString& text, const QString& title) {
                return askToAddKeywords(text, title);
            }};
}

FileAccess::Prompt ScanDoor::accessPromptCall() {
    return [this](const QString& path) {
        accessPrompt(path);
    };
}

ZombieCalls ScanDoor::zombieCalls() {
    return {
        cancelCheck(),
        accessPromptCall(),
        [this] { zombieRecoveryOff(); },
        [this](const QString& text) { status(text); },
        [this](double steps) { progressSteps(steps); },
        [this](double step) { progressStep(step); },
    };
}
