#include "scan/ZombieRecovery.h"

#include "bridge/PhotoAppWire.h"
#include "bridge/iPhotoBridge.h"
#include "platform/MainThread.h"
#include "platform/SystemLog.h"
#include "platform/TemporaryDirectory.h"
#include "scan/SafeMove.h"
#include "scan/VupDelegate.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QThread>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kStatusZombiesDetected = QStringLiteral("Zombies Detected");
const QString kAlbumNameFormat = QStringLiteral("Vup Zombies %1");
const QString kFolderNameFormat = QStringLiteral("Vupzombies-%1");
const QString kStampPattern = QStringLiteral("yyyy-MM-dd-HHmmss");

const QString kLogNoTemporaryDirectory =
    QStringLiteral("Zombie recovery skipped: no per-user temporary directory could be made");
const QString kLogUnsafeFolder =
    QStringLiteral("Zombie recovery skipped: %1 cannot be made as a folder of this user's own");
const QString kLogNotMoved = QStringLiteral("Zombie left in place, it could not be moved: %1");
const QString kLogNoAlbum = QStringLiteral("No album named %1 was found; every zombie goes back");
const QString kLogImportWaitEnded =
    QStringLiteral("Stopped waiting for the import: the photo application is gone");
const QString kLogImportWaitCancelled =
    QStringLiteral("Stopped waiting for the import: the run was cancelled; what has not arrived goes back");
const QString kLogPutBack = QStringLiteral("Zombie put back: %1");
const QString kLogKept = QStringLiteral("Zombie could not be put back and stays in %1: %2");
const QString kLogFolderKept = QStringLiteral("Zombie folder kept, it still holds files: %1");

qint64 sizeOf(const QByteArray& path) {
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0 ? qint64(st.st_size) : -1;
}

// An application that took a file where it lay instead of copying it names the parked file
// itself: deleting the parked file would then delete the photo's only copy.
bool isSameFile(const QByteArray& a, const QByteArray& b) {
    struct stat stA {
    }, stB{};
    return ::stat(a.constData(), &stA) == 0 && ::stat(b.constData(), &stB) == 0 && stA.st_dev == stB.st_dev &&
           stA.st_ino == stB.st_ino;
}

// "." and ".." could lead a mirrored target out of the zombie folder, and could not be
// mirrored back reliably: such a path is not moved.
bool isPlainAbsolutePath(const QByteArray& path) {
    if (!path.startsWith('/'))
        return false;
    for (const QByteArray& part : path.split('/')) {
        if (part == "." || part == "..")
            return false;
    }
    return true;
}

// The zombie folder holds the user's photos for a while: it must be this user's alone. An
// existing folder of that name (a shared $TMPDIR, a name someone guessed) is used only when it
// is a real folder owned by this user that nobody else may enter.
bool makeZombieFolder(const QByteArray& folder) {
    if (::mkdir(folder.constData(), S_IRWXU) == 0)
        return true;
    if (errno != EEXIST)
        return false;
    struct stat st {};
    return ::lstat(folder.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

QByteArray withoutDoubledSeparators(QByteArray path) {
    while (path.contains("//"))
        path.replace("//", "/");
    return path;
}

} // namespace

ZombieRecovery::ZombieRecovery(std::shared_ptr<const iPhotoApplication> app, VupDelegate* d)
    : application(std::move(app)), delegate(d), clock([] { return QDateTime::currentDateTime(); }) {}

void ZombieRecovery::setClock(std::function<QDateTime()> c) {
    clock = std::move(c);
}
void ZombieRecovery::setPollInterval(std::chrono::milliseconds interval) {
    pollInterval = interval;
}

QString ZombieRecovery::runStamp(const QDateTime& when) {
    return when.toLocalTime().toString(kStampPattern);
}

void ZombieRecovery::status(const QString& text) {
    if (delegate)
        MainThread::run(
            delegate, [d = delegate, text] { d->setStatusLabel(text); }, MainThread::Wait::Yes);
}

void ZombieRecovery::progressMax(double value) {
    if (delegate)
        MainThread::run(
            delegate, [d = delegate, value] { d->cfgProgressBarMaxValue(value); }, MainThread::Wait::Yes);
}

void ZombieRecovery::progressValue(double value) {
    if (delegate)
        MainThread::run(
            delegate, [d = delegate, value] { d->cfgProgressBarCurrentValue(value); }, MainThread::Wait::Yes);
}

// True when the import ended; false when the application went away or stopped answering
// (a failed `importing` request answers false as well, which also ends the wait), or when the
// run was cancelled: a user who quits or presses Ctrl-C would otherwise leave every zombie
// parked in the temporary directory, so the wait ends and what has not arrived goes back.
bool ZombieRecovery::waitForImport() const {
    while (application->importing()) {
        if (!application->isRunning())
            return false;
        if (delegate && delegate->cancelled()) {
            vupLog(kLogImportWaitCancelled);
            return true;
        }
        QThread::msleep(static_cast<unsigned long>(pollInterval.count()));
    }
    return application->isRunning();
}

QList<bool> ZombieRecovery::verifyAgainstAlbum(const QList<Moved>& moved, const iPhotoAlbum& album,
                                               const QList<qint64>& photosBefore) const {
    // Each photo the import added may vouch for one zombie holding the very same bytes, a
    // photo of the zombie's name first. Name and size alone are not enough: of two same-named,
    // same-sized zombies the application may take one and refuse the other, and the refused
    // one would then be deleted on the strength of its twin's photo. The application renames
    // a file whose name is taken in its import folder, so a photo of another name still
    // vouches for a zombie whose bytes it holds.
    struct Added {
        QByteArray stored;
        QSet<QByteArray> names;
        bool used = false;
    };
    QList<Added> added;
    QHash<qint64, QList<qsizetype>> addedBySize;
    const QSet<qint64> before(photosBefore.cbegin(), photosBefore.cend());
    for (const iPhotoPhoto& photo : album.photos()) {
        if (before.contains(photo.id()))
            continue;
        const QVariantMap props = photo.properties();
        const QVariant original = props.value(QString::fromLatin1(PhotoAppWire::kOriginalPath));
        if (original.metaType() != QMetaType::fromType<QString>())
            continue;
        Added photoFile;
        photoFile.stored = QFile::encodeName(original.toString());
        const qint64 size = sizeOf(photoFile.stored);
        if (size < 0)
            continue;
        photoFile.names.insert(SafeMove::lastComponentOf(photoFile.stored));
        const QVariant filename = props.value(QString::fromLatin1(PhotoAppWire::kImageFilename));
        if (filename.metaType() == QMetaType::fromType<QString>())
            photoFile.names.insert(QFile::encodeName(filename.toString()));
        addedBySize[size].append(added.size());
        added.append(std::move(photoFile));
    }

    QList<bool> recovered(moved.size(), false);
    const auto claim = [&](qsizetype zombie, const auto& vouches) {
        for (const qsizetype index : addedBySize.value(moved[zombie].size)) {
            if (!added[index].used && !isSameFile(added[index].stored, moved[zombie].parked) &&
                vouches(added[index])) {
                added[index].used = true;
                recovered[zombie] = true;
                return;
            }
        }
    };
    for (qsizetype i = 0; i < moved.size(); ++i) {
        const QByteArray name = SafeMove::lastComponentOf(moved[i].original);
        claim(i, [&](const Added& a) {
            return a.names.contains(name) && SafeMove::sameContent(a.stored, moved[i].parked);
        });
    }
    for (qsizetype i = 0; i < moved.size(); ++i) {
        if (!recovered[i])
            claim(i, [&](const Added& a) { return SafeMove::sameContent(a.stored, moved[i].parked); });
    }
    return recovered;
}

ZombieRecovery::Outcome ZombieRecovery::recoverZombies(const QList<QByteArray>& zombies) {
    Outcome outcome;
    status(kStatusZombiesDetected);
    progressMax(double(zombies.size()));

    const QString stamp = runStamp(clock());
    outcome.albumName = kAlbumNameFormat.arg(stamp);
    const QString temporary = TemporaryDirectory::path();
    if (temporary.isEmpty()) {
        vupLog(kLogNoTemporaryDirectory);
        return outcome;
    }
    const QString folderPath = temporary + QLatin1Char('/') + kFolderNameFormat.arg(stamp);
    outcome.zombieFolder = QFile::encodeName(folderPath);
    if (!makeZombieFolder(outcome.zombieFolder)) {
        vupLog(kLogUnsafeFolder.arg(folderPath));
        return outcome;
    }

    QList<Moved> moved;
    for (qsizetype k = 0; k < zombies.size(); ++k) {
        progressValue(double(k + 1));
        const QByteArray& zombie = zombies[k];
        if (!isPlainAbsolutePath(zombie)) {
            vupLog(kLogNotMoved.arg(QFile::decodeName(zombie)));
            continue;
        }
        const QByteArray targetDirectory =
            withoutDoubledSeparators(outcome.zombieFolder + SafeMove::directoryOf(zombie));
        const QByteArray target = targetDirectory + '/' + SafeMove::lastComponentOf(zombie);
        const qint64 size = sizeOf(zombie);
        if (!SafeMove::makePath(targetDirectory) ||
            SafeMove::moveItem(zombie, target) != SafeMove::Outcome::Moved) {
            vupLog(kLogNotMoved.arg(QFile::decodeName(zombie)));
            continue;
        }
        moved.append({zombie, target, size});
    }
    outcome.moved = moved.size();
    if (moved.isEmpty()) {
        SafeMove::removeEmptyFolders(outcome.zombieFolder);
        return outcome;
    }

    application->newAlbumName(outcome.albumName);
    iPhotoAlbum album;
    for (const iPhotoAlbum& candidate : application->albums()) {
        if (candidate.name() == outcome.albumName && candidate.type() == PhotoAppWire::kAlbumTypePlain) {
            album = candidate;
            break;
        }
    }
    outcome.albumFound = album.isValid();

    QList<bool> recovered(moved.size(), false);
    if (album.isValid()) {
        QList<qint64> photosBefore;
        for (const iPhotoPhoto& photo : album.photos())
            photosBefore.append(photo.id());
        album.importFrom(folderPath, true);
        if (!waitForImport())
            vupLog(kLogImportWaitEnded);
        // Whatever the wait's end, the album alone says which zombies arrived.
        recovered = verifyAgainstAlbum(moved, album, photosBefore);
    } else {
        vupLog(kLogNoAlbum.arg(outcome.albumName));
    }

    for (qsizetype i = 0; i < moved.size(); ++i) {
        const Moved& m = moved[i];
        if (recovered[i]) {
            // The library holds its copy now; only the parked original goes.
            if (::unlink(m.parked.constData()) == 0)
                ++outcome.recovered;
            continue;
        }
        if (SafeMove::makePath(SafeMove::directoryOf(m.original)) &&
            SafeMove::moveItem(m.parked, m.original) == SafeMove::Outcome::Moved) {
            ++outcome.putBack;
            vupLog(kLogPutBack.arg(QFile::decodeName(m.original)));
        } else {
            ++outcome.keptInFolder;
            vupLog(kLogKept.arg(folderPath, QFile::decodeName(m.original)));
        }
    }

    outcome.folderRemoved = SafeMove::removeEmptyFolders(outcome.zombieFolder);
    if (!outcome.folderRemoved)
        vupLog(kLogFolderKept.arg(folderPath));
    return outcome;
}
