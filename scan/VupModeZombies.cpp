/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "platform/MainThread.h"
#include "scan/RecoveryResume.h"
#include "scan/VupDelegate.h"
#include "scan/VupMode.h"
#include "scan/ZombieRecovery.h"

namespace {

const QString kResumeStatus = QStringLiteral("Finishing Interrupted Recovery");
const QString kResumeTitle = QStringLiteral("Interrupted Zombie Recovery");
const QString kReady = QStringLiteral("Ready");

void showStatus(VupDelegate* d, const QString& text) {
    MainThread::run(
        d, [d, text] { d->setStatusLabel(text); }, MainThread::Wait::Yes);
}

} // namespace

ZombieDetection VupMode::detectZombies(const QVariantList& originalsPathList, VupDelegate* delegate) {
    return ZombieDetector::detectZombies(originalsPathList, delegate);
}

ZombieRecoveryReport VupMode::recoverZombieFiles(const ZombieDetection& found, VupDelegate* delegate) {
    return ZombieRecovery(photoApplication, delegate).recoverZombies(found);
}

void VupMode::detectAndRecoverZombies(const QVariantList& originalsPathList, VupDelegate* delegate,
                                      ScanFindings& findings) {
    const ZombieDetection found = detectZombies(originalsPathList, delegate);
    findings.zombies = found.zombies;
    findings.zombieDetectionSkipped = found.skipped;
    findings.recovery.linksLeftAlone = found.links;
    findings.recovery.cancelled = found.cancelled;
    if (!dryRunMode && !found.cancelled)
        findings.recovery = recoverZombieFiles(found, delegate);
}

QString VupMode::resumeRecoveries(VupDelegate* delegate) {
    return RecoveryResume::finishInterrupted(photoApplication, dryRunMode,
                                             [delegate] { return delegate->cancelled(); });
}

void VupMode::resumeRecoveriesAtLaunch(VupDelegate* delegate) {
    showStatus(delegate, kResumeStatus);
    const QString told = resumeRecoveries(delegate);
    showStatus(delegate, kReady);
    cleanupRun(delegate);
    if (!told.isEmpty())
        delegate->showAlert(told, kResumeTitle);
}
