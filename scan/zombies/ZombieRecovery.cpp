/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "scan/zombies/ZombieRecovery.h"

#include "bridge/iPhotoBridge.h"
#include "platform/SystemLog.h"
#include "scan/zombies/AlbumVerification.h"
#include "scan/zombies/ParkedZombies.h"
#include "scan/zombies/RecoveryJournal.h"
#include "scan/zombies/SafeMove.h"
#include "wire/PhotoAppWire.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

constexpr const char* kStatusZombiesDetected = QT_TRANSLATE_NOOP("ZombieRecovery", "Zombies Detected");
const QString kAlbumNameFormat = QStringLiteral("Vup Zombies %1");
const QString kStampPattern = QStringLiteral("yyyy-MM-dd-HHmmss");
constexpr const char* kDeepFolder = "deep/";

const QString kLogNoJournal = QStringLiteral("Zombie recovery skipped: %1");
const QString kLogNotMoved = QStringLiteral("Zombie left in place, it could not be moved: %1");
const QString kLogNotPlain = QStringLiteral("Zombie left in place, it is not a plain file: %1");
const QString kLogNoAlbum = QStringLiteral("No album named %1 was found; every zombie goes back");
const QString kLogImportWaitEnded =
    QStringLiteral("Stopped waiting for the import: the photo application is gone");
const QString kLogImportWaitCancelled = QStringLiteral(
    "The run was cancelled during the import: once the import has ended, what did not arrive goes back");
const QString kLogImportOutlasted =
    QStringLiteral("The import did not end in time: every zombie stays parked for the next run");
const QString kLogNamed = QStringLiteral("Zombie left in place, a photo names it now: %1");
const QString kLogUnconfirmed =
    QStringLiteral("Zombie left in place, the photo application did not say whether a photo names it: %1");
const QString kLogAppeared = QStringLiteral("Zombie left in place, it appeared during the scan: %1");

bool notBefore(const timespec& a, const timespec& b) {
    return a.tv_sec > b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec >= b.tv_nsec);
}

// "." and ".." could lead a mirrored target out of the park, and could not be mirrored back
// reliably: such a path is not moved.
bool isPlainRelativePath(const QByteArray& path) {
    for (const QByteArray& part : path.split('/')) {
        if (part.isEmpty() || part == "." || part == "..")
            return false;
    }
    return true;
}

// The whole path is mirrored below the park; a path too long for the importer to reach there
// is parked under the zombie's place in the list, its name kept (the journal keeps the rest).
QByteArray parkedName(const QByteArray& park, const QByteArray& zombie, qsizetype index) {
    const QByteArray mirrored = zombie.mid(1);
    if (park.size() + 1 + mirrored.size() < PATH_MAX)
        return mirrored;
    return kDeepFolder + QByteArray::number(index) + '/' + SafeMove::lastComponentOf(zombie);
}

} // namespace

ZombieRecovery::ZombieRecovery(std::shared_ptr<const iPhotoApplication> app, ZombieCalls c)
    : application(std::move(app)), calls(std::move(c)), clock([] { return QDateTime::currentDateTime(); }) {}

void ZombieRecovery::setClock(std::function<QDateTime()> c) {
    clock = std::move(c);
}
void ZombieRecovery::setPollInterval(std::chrono::milliseconds interval) {
    pollInterval = interval;
}
void ZombieRecovery::setCancelImportWait(std::chrono::milliseconds wait) {
    cancelImportWait = wait;
}
// A file changed from now on carries at least the coarse clock's time, so that is the clock the
// list's time is read from. But the coarse clock lags the real time by a tick or two, and a
// file looked at since its last change gets a finer time: a zombie an unfinished recovery has
// just put back could carry a time later than the coarse clock's and look as new as an import.
// So the list waits for the coarse clock to pass the time it began at (a few milliseconds);
// should the clock stall, a later file is only left in place, never moved.
timespec ZombieRecovery::photoListTime() {
    timespec began{};
    ::clock_gettime(CLOCK_REALTIME, &began);
    timespec now{};
    for (int k = 0; k < 100; ++k) {
        ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
        if (!notBefore(began, now))
            break;
        const timespec pause{0, 1'000'000};
        ::nanosleep(&pause, nullptr);
    }
    return now;
}

void ZombieRecovery::setPhotoListTime(const timespec& when) {
    listedAt = when;
}

QString ZombieRecovery::runStamp(const QDateTime& when) {
    return when.toLocalTime().toString(kStampPattern);
}

void ZombieRecovery::status(const QString& text) {
    if (calls.status)
        calls.status(text);
}

void ZombieRecovery::progressMax(double value) {
    if (calls.progressMax)
        calls.progressMax(value);
}

void ZombieRecovery::progressValue(double value) {
    if (calls.progressStep)
        calls.progressStep(value);
}

bool ZombieRecovery::cancelled() const {
    return calls.isCancelled();
}

ZombieRecoveryReport ZombieRecovery::recoverZombies(const ZombieDetection& found) {
    ZombieRecoveryReport report;
    report.linksLeftAlone = found.links;
    const QList<QByteArray>& zombies = found.zombies;
    if (zombies.isEmpty())
        return report;
    status(QCoreApplication::translate("ZombieRecovery", kStatusZombiesDetected));
    progressMax(double(zombies.size()));

    const QString stamp = runStamp(clock());
    report.albumName = kAlbumNameFormat.arg(stamp);
    QString why;
    const std::unique_ptr<RecoveryJournal> journal =
        RecoveryJournal::create(found.masters, report.albumName, stamp, &why);
    if (!journal) {
        vupLog(kLogNoJournal.arg(why));
        for (const QByteArray& zombie : zombies)
            report.zombies.append({zombie, {}, {}, ZombieState::NotMoved});
        return report;
    }
    report.parkFolder = journal->park();
    const ParkedZombies::Context context = parkAndImport(*journal, found, report);
    ParkedZombies::Copies copies;
    report.applicationLost = ParkedZombies::settle(*journal, context, &copies) || report.applicationLost;
    report.zombies = ParkedZombies::reportOf(*journal, copies);
    report.journal = journal->path();
    report.journalMs = journal->syncMilliseconds();
    return report;
}

ParkedZombies::Context ZombieRecovery::parkAndImport(RecoveryJournal& journal, const ZombieDetection& found,
                                                     ZombieRecoveryReport& report) {
    // Every move is planned, and the plan on disk, before the first file leaves the library:
    // the very Masters folder that was walked, never one put in its place.
    SafeMove::FolderCache sources(found.masters);
    if (found.mastersDevice != 0 || found.mastersInode != 0) {
        sources.pin(found.mastersDevice, found.mastersInode);
        journal.pinMasters(found.mastersDevice, found.mastersInode);
    }
    planMoves(journal, found, sources);
    if (!journal.sync())
        return {};
    // Nothing was sent to the application: whatever moved goes back without asking it.
    if (parkPlanned(journal, found, sources, report) == 0 || report.cancelled)
        return {};

    const iPhotoAlbum album = newZombieAlbum(report.albumName);
    if (!album.isValid()) {
        vupLog(kLogNoAlbum.arg(report.albumName));
        report.applicationLost = !application->isRunning();
        return {};
    }
    return importParked(journal, album, report);
}

void ZombieRecovery::planMoves(RecoveryJournal& journal, const ZombieDetection& found,
                               SafeMove::FolderCache& sources) {
    const QByteArray mastersPrefix = found.masters + '/';
    for (qsizetype k = 0; k < found.zombies.size(); ++k) {
        const QByteArray& zombie = found.zombies[k];
        RecoveryJournal::Entry entry;
        entry.original = zombie;
        entry.parked = parkedName(journal.park(), zombie, k);
        const QByteArray relative = zombie.mid(mastersPrefix.size());
        struct stat st {};
        const bool plain =
            zombie.startsWith(mastersPrefix) && isPlainRelativePath(relative) &&
            ::fstatat(sources.open(SafeMove::directoryOf(relative)),
                      SafeMove::lastComponentOf(relative).constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(st.st_mode);
        if (plain) {
            entry.size = st.st_size;
            entry.device = st.st_dev;
            entry.inode = st.st_ino;
        }
        journal.plan(entry);
        if (!plain) {
            vupLog(kLogNotPlain.arg(QFile::decodeName(zombie)));
            journal.record(k, ZombieState::NotMoved);
        }
    }
}

qsizetype ZombieRecovery::parkPlanned(RecoveryJournal& journal, const ZombieDetection& found,
                                      SafeMove::FolderCache& sources, ZombieRecoveryReport& report) {
    const qsizetype mastersPrefixSize = found.masters.size() + 1;
    SafeMove::FolderCache parkFolders(journal.park());
    qsizetype moved = 0;
    std::optional<QList<bool>> named;
    qsizetype batchStart = -1;
    for (qsizetype k = 0; k < found.zombies.size(); ++k) {
        progressValue(double(k + 1));
        const RecoveryJournal::Entry& e = journal.entries()[k];
        if (e.state != ZombieState::Planned)
            continue;
        if (cancelled()) {
            report.cancelled = true;
            break;
        }
        // The photo list is old by now: what a photo names at this moment stays, and so does
        // what changed since the list was taken (the application may be importing it).
        if (batchStart < 0 || k >= batchStart + kBatch) {
            batchStart = k;
            named = namedNow(journal, k);
        }
        if (!named && !application->isRunning())
            report.applicationLost = true;
        if (!named || named->at(k - batchStart)) {
            vupLog((named ? kLogNamed : kLogUnconfirmed).arg(QFile::decodeName(e.original)));
            journal.record(k, named ? ZombieState::Referenced : ZombieState::NotMoved);
            continue;
        }
        const QByteArray relative = e.original.mid(mastersPrefixSize);
        const QByteArray name = SafeMove::lastComponentOf(relative);
        const int from = sources.open(SafeMove::directoryOf(relative));
        const int to = parkFolders.open(SafeMove::directoryOf(e.parked), true);
        // What is there now must be the plain file that was planned: a link swapped in since
        // would carry the import outside the library.
        struct stat st {};
        const bool unchanged = ::fstatat(from, name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                               S_ISREG(st.st_mode) && quint64(st.st_dev) == e.device &&
                               quint64(st.st_ino) == e.inode;
        if (unchanged && listedAt && notBefore(st.st_ctim, *listedAt)) {
            vupLog(kLogAppeared.arg(QFile::decodeName(e.original)));
            journal.record(k, ZombieState::Appeared);
            continue;
        }
        if (unchanged && to >= 0 &&
            SafeMove::moveItemAt(from, name, to, SafeMove::lastComponentOf(e.parked)) ==
                SafeMove::Outcome::Moved) {
            journal.record(k, ZombieState::Parked);
            ++moved;
        } else {
            vupLog(kLogNotMoved.arg(QFile::decodeName(e.original)));
            journal.record(k, ZombieState::NotMoved);
        }
    }
    return moved;
}

std::optional<QList<bool>> ZombieRecovery::namedNow(const RecoveryJournal& journal, qsizetype first) const {
    QStringList paths;
    const QList<RecoveryJournal::Entry>& entries = journal.entries();
    for (qsizetype k = first; k < entries.size() && k < first + kBatch; ++k)
        paths.append(QFile::decodeName(entries[k].original));
    return application->referencedPaths(paths);
}

iPhotoAlbum ZombieRecovery::newZombieAlbum(const QString& name) const {
    application->newAlbumName(name);
    for (const iPhotoAlbum& candidate : application->albums()) {
        if (candidate.name() == name && candidate.type() == PhotoAppWire::kAlbumTypePlain)
            return candidate;
    }
    return {};
}

ParkedZombies::Context ZombieRecovery::importParked(RecoveryJournal& journal, const iPhotoAlbum& album,
                                                    ZombieRecoveryReport& report) {
    QList<qint64> photosBefore;
    for (const iPhotoPhoto& photo : album.photos())
        photosBefore.append(photo.id());
    // Once the import may have begun, only the album can tell which parked file is still needed.
    journal.recordImport(album.id(), photosBefore);
    if (!journal.sync())
        return {application.get(), album, {}, false, pollInterval};
    album.importFrom(QFile::decodeName(journal.park()), true);
    const auto stop = [this] {
        return cancelled();
    };
    using AlbumVerification::ImportWait;
    if (AlbumVerification::waitWhileImporting(*application, stop, pollInterval) ==
        ImportWait::ApplicationGone)
        vupLog(kLogImportWaitEnded);
    if (!cancelled())
        return {application.get(), album, stop, false, pollInterval};
    // The application goes on importing after a cancel: a file put back before its import has
    // ended could still arrive, and then be in the album and in Masters at once.
    vupLog(kLogImportWaitCancelled);
    report.cancelled = true;
    QElapsedTimer waited;
    waited.start();
    const auto outlasted = [this, &waited] {
        return waited.elapsed() > cancelImportWait.count();
    };
    if (AlbumVerification::waitWhileImporting(*application, outlasted, pollInterval) == ImportWait::Ended)
        return {application.get(), album, {}, false, pollInterval};
    vupLog(kLogImportOutlasted);
    return {application.get(), album, stop, true, pollInterval};
}
