/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "scan/zombies/ZombieDetector.h"
#include "scan/zombies/ZombieRecoveryReport.h"

#include <QDateTime>
#include <QString>
#include <chrono>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>

class RecoveryJournal;
class iPhotoAlbum;
class iPhotoApplication;
namespace ParkedZombies {
struct Context;
}
namespace SafeMove {
class FolderCache;
}

// Gives zombies back to the user inside the photo application: plans every move in a durable
// journal, moves each zombie into the run's own park folder beside it (mirroring its whole path,
// or under a short name where that would be too long), has the application make a dated album and
// import the park into it with copying, waits for the import, then checks the album. A zombie
// counts as re-added only when the album gained a photo whose file holds its very bytes; every
// other zombie goes back to exactly where it was, unless the application went away with it
// perhaps imported: then it stays parked under the journal for the next run to decide.
//
// Only plain files are moved: links stay where they are, so nothing outside the library moves.
// No album is made when nothing moved.
class ZombieRecovery {
public:
    ZombieRecovery(std::shared_ptr<const iPhotoApplication> application, ZombieCalls calls);

    ZombieRecoveryReport recoverZombies(const ZombieDetection& found);

    // "yyyy-MM-dd-HHmmss" in local time.
    static QString runStamp(const QDateTime& when);

    // When the photo list was taken (CLOCK_REALTIME_COARSE, the clock of file times): a file
    // changed since then may be one the application has just imported, and is left in place.
    void setPhotoListTime(const timespec& when);
    // The time to take the photo list at: later than every file change made before the call, and
    // not later than any made after it.
    static timespec photoListTime();

    // For tests: the clock that makes the run stamp, and the pause between import polls.
    void setClock(std::function<QDateTime()> clock);
    void setPollInterval(std::chrono::milliseconds interval);
    void setCancelImportWait(std::chrono::milliseconds wait);

    // Zombies checked against the application's photos in one request, just before they move.
    static constexpr qsizetype kBatch = 256;
    // How long a cancelled run waits for the application's import to end before it leaves every
    // zombie parked for the next run.
    static constexpr std::chrono::milliseconds kCancelImportWait{30000};

private:
    // The steps of a recovery under its journal, in order. What they leave the settling of the
    // park needs to know: the application and the album, once the import may have begun.
    ParkedZombies::Context parkAndImport(RecoveryJournal& journal, const ZombieDetection& found,
                                         ZombieRecoveryReport& report);
    void planMoves(RecoveryJournal& journal, const ZombieDetection& found, SafeMove::FolderCache& sources);
    // The number of zombies moved into the park.
    qsizetype parkPlanned(RecoveryJournal& journal, const ZombieDetection& found,
                          SafeMove::FolderCache& sources, ZombieRecoveryReport& report);
    // Which of the planned zombies from `first` on (at most kBatch) a photo names now; nothing
    // when the application did not answer.
    std::optional<QList<bool>> namedNow(const RecoveryJournal& journal, qsizetype first) const;
    // Has the application make the dated album and finds it; invalid when it cannot be found.
    iPhotoAlbum newZombieAlbum(const QString& name) const;
    ParkedZombies::Context importParked(RecoveryJournal& journal, const iPhotoAlbum& album,
                                        ZombieRecoveryReport& report);

    void status(const QString& text);
    void progressMax(double value);
    void progressValue(double value);
    bool cancelled() const;

    std::shared_ptr<const iPhotoApplication> application;
    ZombieCalls calls;
    std::function<QDateTime()> clock;
    std::chrono::milliseconds pollInterval{1000};
    std::chrono::milliseconds cancelImportWait = kCancelImportWait;
    std::optional<timespec> listedAt;
};
