/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "platform/SystemLog.h"
#include "scan/engine/ScanDoor.h"
#include "scan/engine/ScanLock.h"
#include "scan/engine/VupMode.h"
#include "scan/zombies/RecoveryResume.h"
#include "scan/zombies/ZombieRecovery.h"

#include <QCoreApplication>

namespace {

constexpr const char* kResumeStatus = QT_TRANSLATE_NOOP("VupMode", "Finishing Interrupted Recovery");
constexpr const char* kResumeTitle = QT_TRANSLATE_NOOP("Alert", "Interrupted Zombie Recovery");
constexpr const char* kReady = QT_TRANSLATE_NOOP("VupMode", "Ready");
const QString kNoLibraryFolder = QStringLiteral("the photo application did not say where its library is.");
const QString kLogSkipped = QStringLiteral("Zombie detection skipped: %1");
const QString kLogResumeLeft =
    QStringLiteral("Another Vup scan is working on this library; it finishes interrupted recoveries itself");

} // namespace

ZombieDetection VupMode::detectZombies(const TextColumn& originalsPathList, ScanDoor& door,
                                       const QString& libraryFolder) {
    // Without the application's word on where its library is, any folder the paths name could be
    // another: nothing is looked for.
    if (libraryFolder.isEmpty()) {
        ZombieDetection skipped;
        skipped.skipped = kNoLibraryFolder;
        vupLog(kLogSkipped.arg(skipped.skipped));
        return skipped;
    }
    return ZombieDetector::detectZombies(originalsPathList, door.zombieCalls(), libraryFolder);
}

ZombieRecoveryReport VupMode::recoverZombieFiles(const ZombieDetection& found, ScanDoor& door,
                                                 const timespec& photoListTime) {
    ZombieRecovery recovery(photoApplication, door.zombieCalls());
    recovery.setPhotoListTime(photoListTime);
    return recovery.recoverZombies(found);
}

void VupMode::detectAndRecoverZombies(const TextColumn& originalsPathList, ScanDoor& door,
                                      ScanFindings& findings, const QString& libraryFolder,
                                      const timespec& photoListTime) {
    const ZombieDetection found = detectZombies(originalsPathList, door, libraryFolder);
    findings.zombies = found.zombies;
    findings.zombieDetectionSkipped = found.skipped;
    findings.recovery.linksLeftAlone = found.links;
    findings.recovery.cancelled = found.cancelled;
    if (!dryRunMode && !found.cancelled)
        findings.recovery = recoverZombieFiles(found, door, photoListTime);
}

QString VupMode::resumeRecoveries(const ScanDoor& door) {
    return RecoveryResume::finishInterrupted(photoApplication, dryRunMode, door.cancelCheck());
}

void VupMode::resumeRecoveriesAtLaunch(VupDelegate* delegate) {
    ScanDoor door(delegate);
    // The resume moves files of the library: no run may be at work on it meanwhile.
    ScanLock::Result locked = ScanLock::Result::Unavailable;
    const std::unique_ptr<ScanLock> lock = ScanLock::acquire(photoApplication->libraryPath(), &locked);
    if (locked == ScanLock::Result::Busy) {
        vupLog(kLogResumeLeft);
        door.returnToIdle();
        return;
    }
    door.status(QCoreApplication::translate("VupMode", kResumeStatus));
    const QString told = resumeRecoveries(door);
    door.status(QCoreApplication::translate("VupMode", kReady));
    door.returnToIdle();
    // The log keeps the lines in English; the user reads them in their own language.
    if (!told.isEmpty())
        door.alert(RecoveryResume::shownLines(told), QCoreApplication::translate("Alert", kResumeTitle));
}
