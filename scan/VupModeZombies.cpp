/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "platform/MainThread.h"
#include "platform/SystemLog.h"
#include "scan/RecoveryResume.h"
#include "scan/ScanLock.h"
#include "scan/VupDelegate.h"
#include "scan/VupMode.h"
#include "scan/ZombieRecovery.h"

namespace {

const QString kResumeStatus = QStringLiteral("Finishing Interrupted Recovery");
const QString kResumeTitle = QStringLiteral("Interrupted Zombie Recovery");
const QString kReady = QStringLiteral("Ready");
const QString kNoLibraryFolder = QStringLiteral("the photo application did not say where its library is.");
const QString kLogSkipped = QStringLiteral("Zombie detection skipped: %1");
const QString kLogResumeLeft =
    QStringLiteral("Another Vup scan is working on this library; it finishes interrupted recoveries itself");

void showStatus(VupDelegate* d, const QString& text) {
    MainThread::run(
        d, [d, text] { d->setStatusLabel(text); }, MainThread::Wait::Yes);
}

} // namespace

ZombieDetection VupMode::detectZombies(const TextColumn& originalsPathList, VupDelegate* delegate,
                                       const QString& libraryFolder) {
    // Without the application's word on where its library is, any folder the paths name could be
    // another: nothing is looked for.
    if (libraryFolder.isEmpty()) {
        ZombieDetection skipped;
        skipped.skipped = kNoLibraryFolder;
        vupLog(kLogSkipped.arg(skipped.skipped));
        return skipped;
    }
    return ZombieDetector::detectZombies(originalsPathList, delegate, libraryFolder);
}

ZombieRecoveryReport VupMode::recoverZombieFiles(const ZombieDetection& found, VupDelegate* delegate,
                                                 const timespec& photoListTime) {
    ZombieRecovery recovery(photoApplication, delegate);
    recovery.setPhotoListTime(photoListTime);
    return recovery.recoverZombies(found);
}

void VupMode::detectAndRecoverZombies(const TextColumn& originalsPathList, VupDelegate* delegate,
                                      ScanFindings& findings, const QString& libraryFolder,
                                      const timespec& photoListTime) {
    const ZombieDetection found = detectZombies(originalsPathList, delegate, libraryFolder);
    findings.zombies = found.zombies;
    findings.zombieDetectionSkipped = found.skipped;
    findings.recovery.linksLeftAlone = found.links;
    findings.recovery.cancelled = found.cancelled;
    if (!dryRunMode && !found.cancelled)
        findings.recovery = recoverZombieFiles(found, delegate, photoListTime);
}

QString VupMode::resumeRecoveries(VupDelegate* delegate) {
    return RecoveryResume::finishInterrupted(photoApplication, dryRunMode,
                                             [delegate] { return delegate->cancelled(); });
}

void VupMode::resumeRecoveriesAtLaunch(VupDelegate* delegate) {
    // The resume moves files of the library: no run may be at work on it meanwhile.
    ScanLock::Result locked = ScanLock::Result::Unavailable;
    const std::unique_ptr<ScanLock> lock = ScanLock::acquire(photoApplication->libraryPath(), &locked);
    if (locked == ScanLock::Result::Busy) {
        vupLog(kLogResumeLeft);
        cleanupRun(delegate);
        return;
    }
    showStatus(delegate, kResumeStatus);
    const QString told = resumeRecoveries(delegate);
    showStatus(delegate, kReady);
    cleanupRun(delegate);
    if (!told.isEmpty())
        delegate->showAlert(told, kResumeTitle);
}
