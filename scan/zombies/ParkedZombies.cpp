/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "scan/zombies/ParkedZombies.h"

#include "platform/SystemLog.h"
#include "scan/zombies/AlbumVerification.h"
#include "scan/zombies/RecoveryJournal.h"
#include "scan/zombies/SafeMove.h"
#include "wire/PhotoAppWire.h"

#include <QFile>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using SafeMove::Fd;

const QString kLogPutBack = QStringLiteral("Zombie put back: %1");
const QString kLogKept = QStringLiteral("Zombie could not be put back and stays in %1: %2");
const QString kLogMissing = QStringLiteral("Zombie is neither parked in %1 nor back at %2");
const QString kLogDuplicateCopy = QStringLiteral("Zombie is back at %1; its parked copy was identical");
const QString kLogLeftover = QStringLiteral("Zombie was re-added earlier; its parked copy is removed: %1");
const QString kLogWaiting =
    QStringLiteral("Zombies stay parked in %1 until photoapp can say which of them it imported");

// Where an entry lives on either side: its folder relative to a base, and its name.
struct Place {
    QByteArray folder;
    QByteArray name;
};

Place parkedPlace(const RecoveryJournal::Entry& e) {
    return {SafeMove::directoryOf(e.parked), SafeMove::lastComponentOf(e.parked)};
}

Place originalPlace(const RecoveryJournal& journal, const RecoveryJournal::Entry& e) {
    const QByteArray relative = e.original.mid(journal.masters().size() + 1);
    return {SafeMove::directoryOf(relative), SafeMove::lastComponentOf(relative)};
}

bool present(int folder, const QByteArray& name) {
    struct stat st {};
    return folder >= 0 && ::fstatat(folder, name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

bool sameBytes(int folderA, const QByteArray& a, int folderB, const QByteArray& b) {
    const Fd first(::openat(folderA, a.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    const Fd second(::openat(folderB, b.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    return SafeMove::sameContent(first.get(), second.get());
}

// A file that never reached the park did not move; one that did came back.
ZombieState atHome(const RecoveryJournal::Entry& e) {
    return e.state == ZombieState::Planned ? ZombieState::NotMoved : ZombieState::PutBack;
}

bool isOpen(ZombieState state) {
    return state == ZombieState::Planned || state == ZombieState::Parked;
}

iPhotoAlbum importAlbum(const iPhotoApplication& app, const RecoveryJournal& journal) {
    const iPhotoAlbum byId = app.albumWithId(journal.importAlbumId());
    if (byId.name() == journal.albumName())
        return byId;
    for (const iPhotoAlbum& album : app.albums())
        if (album.name() == journal.albumName() && album.type() == PhotoAppWire::kAlbumTypePlain)
            return album;
    return {};
}

// One settling of a journal: each entry's files are looked at once and sorted by what must happen
// to them, then the album is asked about those that may have arrived, then copies go and the rest
// comes home, in that order, so that no file leaves the park before the journal says where its
// bytes are.
class Settlement {
public:
    // A folder made under Masters to put a file back gets 0777 (less the umask), as the user
    // would have made it.
    Settlement(RecoveryJournal& settled, const ParkedZombies::Context& from, ParkedZombies::Copies* seen)
        : journal(settled), entries(settled.entries()), context(from), copies(seen), park(settled.park()),
          masters(settled.masters(), 0777), parkName(QFile::decodeName(settled.park())) {
        if (journal.mastersPinned())
            masters.pin(journal.mastersDev(), journal.mastersIno());
    }

    bool run() {
        for (qsizetype i = 0; i < entries.size(); ++i)
            sort(i);
        verifyArrivals();
        removeLeftovers();
        removeVerifiedCopies();
        putBack();
        journal.sync();
        if (std::none_of(entries.cbegin(), entries.cend(), [](const auto& e) { return isOpen(e.state); }))
            journal.close();
        return lost;
    }

private:
    void keepParked(qsizetype i) {
        if (entries[i].state == ZombieState::Planned)
            journal.record(i, ZombieState::Parked);
    }

    void sort(qsizetype i) {
        const RecoveryJournal::Entry& e = entries[i];
        if (e.state == ZombieState::ReAdded) {
            const Place parked = parkedPlace(e);
            if (present(park.open(parked.folder), parked.name))
                leftovers.append(i);
            return;
        }
        if (!isOpen(e.state))
            return;
        if (!e.original.startsWith(journal.masters() + '/'))
            return; // no journal of this program names such a path; leave it be
        const Place parked = parkedPlace(e);
        const Place original = originalPlace(journal, e);
        const int parkFolder = park.open(parked.folder);
        const int homeFolder = masters.open(original.folder);
        const bool isParked = present(parkFolder, parked.name);
        const bool isHome = present(homeFolder, original.name);
        if (isParked && isHome) {
            // A move across file systems cut short between naming the copy and removing the
            // original leaves two identical files; anything else at home is someone else's.
            if (sameBytes(parkFolder, parked.name, homeFolder, original.name) &&
                ::unlinkat(parkFolder, parked.name.constData(), 0) == 0) {
                vupLog(kLogDuplicateCopy.arg(QFile::decodeName(e.original)));
                journal.record(i, atHome(e));
            } else if (journal.importSent()) {
                // The album may hold it whatever stands at home now; if not, it stays parked.
                keepParked(i);
                toVerify.append(i);
            } else {
                keepParked(i);
                vupLog(kLogKept.arg(parkName, QFile::decodeName(e.original)));
            }
        } else if (isParked) {
            keepParked(i);
            (journal.importSent() ? toVerify : toPutBack).append(i);
        } else if (isHome) {
            journal.record(i, atHome(e));
        } else {
            vupLog(kLogMissing.arg(parkName, QFile::decodeName(e.original)));
            journal.record(i, ZombieState::Missing);
        }
    }

    // Asks the album which of the parked files arrived; without a full answer nothing is decided.
    void verifyArrivals() {
        if (toVerify.isEmpty())
            return;
        using AlbumVerification::ImportWait;
        const iPhotoApplication* app = context.application;
        lost = !app || !app->isRunning();
        const ImportWait wait =
            lost ? ImportWait::ApplicationGone
                 : AlbumVerification::waitWhileImporting(*app, context.cancelled, context.poll);
        lost = wait == ImportWait::ApplicationGone;
        if (wait == ImportWait::Cancelled && context.cancelLeavesParked)
            toVerify.clear();
        if (!lost && !toVerify.isEmpty())
            claimFrom(*app);
        if (lost)
            vupLog(kLogWaiting.arg(parkName));
    }

    void claimFrom(const iPhotoApplication& app) {
        const iPhotoAlbum album = context.album.isValid() ? context.album : importAlbum(app, journal);
        QList<AlbumVerification::Parked> parked;
        for (const qsizetype i : toVerify)
            parked.append(
                {SafeMove::lastComponentOf(entries[i].original), journal.park() + '/' + entries[i].parked});
        AlbumVerification::Result verified;
        if (album.isValid())
            verified = AlbumVerification::verify(album, journal.photosNotToClaim(), parked);
        else
            verified.vouchers.fill(0, parked.size());
        // Without a full answer a file without a voucher may still be in the library.
        lost = !verified.answered || !app.isRunning() || !app.ping();
        for (qsizetype k = 0; k < toVerify.size(); ++k) {
            if (verified.vouchers[k] != 0) {
                journal.record(toVerify[k], ZombieState::ReAdded, verified.vouchers[k]);
                if (copies)
                    copies->insert(entries[toVerify[k]].original, verified.copies.value(k));
                reAdded.append(toVerify[k]);
            } else if (!lost) {
                toPutBack.append(toVerify[k]);
            }
        }
    }

    void removeLeftovers() {
        for (const qsizetype i : leftovers) {
            const Place parked = parkedPlace(entries[i]);
            if (::unlinkat(park.open(parked.folder), parked.name.constData(), 0) == 0)
                vupLog(kLogLeftover.arg(QFile::decodeName(entries[i].original)));
        }
    }

    // The parked copies go only once the journal says where their bytes are.
    void removeVerifiedCopies() {
        if (reAdded.isEmpty() || !journal.sync()) {
            for (const qsizetype i : reAdded)
                journal.record(i, ZombieState::Parked);
            return;
        }
        for (const qsizetype i : reAdded) {
            const Place parked = parkedPlace(entries[i]);
            if (::unlinkat(park.open(parked.folder), parked.name.constData(), 0) != 0)
                journal.record(i, ZombieState::Parked);
        }
    }

    void putBack() {
        std::sort(toPutBack.begin(), toPutBack.end());
        for (const qsizetype i : toPutBack) {
            const RecoveryJournal::Entry& e = entries[i];
            const Place parked = parkedPlace(e);
            const Place original = originalPlace(journal, e);
            const int from = park.open(parked.folder);
            const int to = masters.open(original.folder, true);
            const SafeMove::Outcome moved = from >= 0 && to >= 0
                                                ? SafeMove::moveItemAt(from, parked.name, to, original.name)
                                                : SafeMove::Outcome::Failed;
            if (moved == SafeMove::Outcome::Moved) {
                journal.record(i, ZombieState::PutBack);
                vupLog(kLogPutBack.arg(QFile::decodeName(e.original)));
            } else if (moved == SafeMove::Outcome::SourceMissing) {
                journal.record(i, ZombieState::Missing);
            } else {
                journal.record(i, ZombieState::Parked);
                vupLog(kLogKept.arg(parkName, QFile::decodeName(e.original)));
            }
        }
    }

    RecoveryJournal& journal;
    const QList<RecoveryJournal::Entry>& entries;
    const ParkedZombies::Context& context;
    ParkedZombies::Copies* copies;
    SafeMove::FolderCache park;
    SafeMove::FolderCache masters;
    const QString parkName;
    QList<qsizetype> toVerify;
    QList<qsizetype> toPutBack;
    // Copies of files the album already holds, left by a run killed while it removed them.
    QList<qsizetype> leftovers;
    QList<qsizetype> reAdded;
    bool lost = false;
};

} // namespace

namespace ParkedZombies {

bool settle(RecoveryJournal& journal, const Context& context, Copies* copies) {
    return Settlement(journal, context, copies).run();
}

QList<ZombieRecoveryReport::Zombie> reportOf(const RecoveryJournal& journal, const Copies& copies) {
    QList<ZombieRecoveryReport::Zombie> out;
    for (const RecoveryJournal::Entry& e : journal.entries()) {
        out.append({e.original,
                    e.state == ZombieState::Parked ? journal.park() + '/' + e.parked : QByteArray(),
                    e.state == ZombieState::ReAdded ? copies.value(e.original) : QByteArray(), e.state});
    }
    return out;
}

} // namespace ParkedZombies
