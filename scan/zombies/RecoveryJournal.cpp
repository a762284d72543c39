/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "scan/zombies/RecoveryJournal.h"

#include "platform/LibraryFolders.h"
#include "platform/SystemLog.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kRecoveriesFolder = "/vup/recoveries";
constexpr const char* kHeader = "vup-zombie-journal 1";
constexpr const char* kOpenSuffix = ".journal";
constexpr const char* kDoneSuffix = ".done";
const QString kNamePattern = QStringLiteral("Vupzombies-%1-%2-%3");
constexpr int kKeepDoneDays = 30;

const QString kWhyNoFolder =
    QStringLiteral("the folder %1 cannot be made as a folder of this user's own that nobody else may enter");
const QString kWhyNoJournal = QStringLiteral("no journal can be written in %1: %2");
const QString kLogUnreadable = QStringLiteral("Recovery journal %1 cannot be read: %2");

QByteArray encoded(const QByteArray& bytes) {
    return bytes.toPercentEncoding("/");
}

QByteArray decoded(const QByteArray& field) {
    return QByteArray::fromPercentEncoding(field);
}

// Files parked here are the user's only copies for a while: the folder must be this user's alone.
bool isOwnPrivateFolder(const QByteArray& path) {
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

bool syncFolder(const QByteArray& path) {
    const SafeMove::Fd folder(::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return folder.valid() && ::fsync(folder.get()) == 0;
}

QByteArray randomSuffix() {
    static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray out(6, '\0');
    for (char& c : out)
        c = kAlphabet[QRandomGenerator::global()->bounded(int(sizeof kAlphabet - 1))];
    return out;
}

QList<QByteArray> namesEndingWith(const QByteArray& folder, const char* suffix) {
    QList<QByteArray> out;
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return out;
    while (const dirent* e = ::readdir(dir)) {
        const QByteArray name(e->d_name);
        if (name.endsWith(suffix) && !name.startsWith('.'))
            out.append(name);
    }
    ::closedir(dir);
    std::sort(out.begin(), out.end());
    return out;
}

// Finished journals are kept a while for whoever wants to know what a run did, then go.
void pruneFinished(const QByteArray& folder) {
    const time_t oldest = ::time(nullptr) - time_t(kKeepDoneDays) * 24 * 3600;
    for (const QByteArray& name : namesEndingWith(folder, kDoneSuffix)) {
        const QByteArray path = folder + '/' + name;
        struct stat st {};
        if (::lstat(path.constData(), &st) == 0 && S_ISREG(st.st_mode) && st.st_mtime < oldest)
            ::unlink(path.constData());
    }
}

} // namespace

RecoveryJournal::~RecoveryJournal() = default;

QByteArray RecoveryJournal::folder() {
    return QFile::encodeName(LibraryFolders::userLibrary()) + kRecoveriesFolder;
}

std::unique_ptr<RecoveryJournal> RecoveryJournal::create(const QByteArray& masters, const QString& albumName,
                                                         const QString& stamp, QString* why) {
    const QByteArray dir = folder();
    QDir().mkpath(QFile::decodeName(SafeMove::directoryOf(dir)));
    ::mkdir(dir.constData(), S_IRWXU);
    if (!isOwnPrivateFolder(dir)) {
        *why = kWhyNoFolder.arg(QFile::decodeName(dir));
        return nullptr;
    }
    std::unique_ptr<RecoveryJournal> journal(new RecoveryJournal);
    for (int attempt = 0; attempt < 100 && !journal->file.valid(); ++attempt) {
        const QByteArray base =
            dir + '/' +
            QFile::encodeName(
                kNamePattern.arg(stamp).arg(::getpid()).arg(QString::fromLatin1(randomSuffix())));
        journal->journalPath = base + kOpenSuffix;
        journal->parkPath = base;
        journal->file.reset(::open(journal->journalPath.constData(),
                                   O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!journal->file.valid() && errno != EEXIST)
            break;
        // A park of that name that this run did not make is not this run's.
        if (journal->file.valid() && ::mkdir(journal->parkPath.constData(), S_IRWXU) != 0) {
            ::unlink(journal->journalPath.constData());
            journal->file.reset();
        }
    }
    if (!journal->file.valid()) {
        *why = kWhyNoJournal.arg(QFile::decodeName(dir), QString::fromLocal8Bit(std::strerror(errno)));
        return nullptr;
    }
    ::flock(journal->file.get(), LOCK_EX);
    journal->mastersPath = masters;
    journal->album = albumName;
    journal->pending = QByteArray(kHeader) + "\nmasters " + encoded(masters) + "\nalbum " +
                       encoded(albumName.toUtf8()) + '\n';
    if (!journal->sync() || !syncFolder(dir)) {
        *why = kWhyNoJournal.arg(QFile::decodeName(dir), QString::fromLocal8Bit(std::strerror(errno)));
        ::rmdir(journal->parkPath.constData());
        ::unlink(journal->journalPath.constData());
        return nullptr;
    }
    return journal;
}

QList<QByteArray> RecoveryJournal::unfinished() {
    const QByteArray dir = folder();
    QList<QByteArray> out;
    if (!isOwnPrivateFolder(dir))
        return out;
    for (const QByteArray& name : namesEndingWith(dir, kOpenSuffix))
        out.append(dir + '/' + name);
    return out;
}

std::unique_ptr<RecoveryJournal> RecoveryJournal::reopen(const QByteArray& path) {
    std::unique_ptr<RecoveryJournal> journal(new RecoveryJournal);
    journal->file.reset(::open(path.constData(), O_RDWR | O_APPEND | O_NOFOLLOW | O_CLOEXEC));
    struct stat st {};
    if (!journal->file.valid() || ::fstat(journal->file.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
        st.st_uid != ::geteuid()) {
        vupLog(kLogUnreadable.arg(QFile::decodeName(path), QString::fromLocal8Bit(std::strerror(errno))));
        return nullptr;
    }
    // The run that wrote it may still be at work on it.
    if (::flock(journal->file.get(), LOCK_EX | LOCK_NB) != 0)
        return nullptr;
    QByteArray content;
    char buffer[1 << 16];
    for (ssize_t n; (n = ::pread(journal->file.get(), buffer, sizeof buffer, content.size())) > 0;)
        content.append(buffer, n);
    if (!content.startsWith(QByteArray(kHeader) + '\n')) {
        vupLog(kLogUnreadable.arg(QFile::decodeName(path), QStringLiteral("not a recovery journal")));
        return nullptr;
    }
    journal->journalPath = path;
    journal->parkPath = path.chopped(qsizetype(std::strlen(kOpenSuffix)));
    // The last piece has no line feed unless the file ends cleanly: a line cut short is dropped.
    QList<QByteArray> lines = content.split('\n');
    lines.removeLast();
    for (const QByteArray& line : lines)
        journal->apply(line);
    return journal;
}

void RecoveryJournal::apply(const QByteArray& line) {
    const QList<QByteArray> f = line.split(' ');
    const QByteArray& kind = f[0];
    if (kind == "masters" && f.size() == 2) {
        mastersPath = decoded(f[1]);
    } else if (kind == "pin" && f.size() == 3) {
        mastersDevice = f[1].toULongLong();
        mastersInode = f[2].toULongLong();
    } else if (kind == "album" && f.size() == 2) {
        album = QString::fromUtf8(decoded(f[1]));
    } else if (kind == "plan" && f.size() == 7 && f[1].toLongLong() == list.size()) {
        list.append(Entry{decoded(f[2]), decoded(f[3]), f[4].toLongLong(), f[5].toULongLong(),
                          f[6].toULongLong(), ZombieState::Planned, 0});
    } else if (kind == "state" && f.size() >= 3 && f[2].size() == 1) {
        const qsizetype index = f[1].toLongLong();
        if (index >= 0 && index < list.size()) {
            list[index].state = ZombieState(f[2][0]);
            list[index].photoId = f.size() > 3 ? f[3].toLongLong() : 0;
        }
    } else if (kind == "import" && f.size() == 3) {
        albumId = f[1].toLongLong();
        before.clear();
        for (const QByteArray& id : f[2].split(','))
            if (id != "-")
                before.append(id.toLongLong());
    }
}

QSet<qint64> RecoveryJournal::photosNotToClaim() const {
    QSet<qint64> out(before.cbegin(), before.cend());
    for (const Entry& e : list)
        if (e.photoId != 0)
            out.insert(e.photoId);
    return out;
}

void RecoveryJournal::pinMasters(quint64 device, quint64 inode) {
    mastersDevice = device;
    mastersInode = inode;
    pending += "pin " + QByteArray::number(device) + ' ' + QByteArray::number(inode) + '\n';
}

void RecoveryJournal::plan(const Entry& e) {
    pending += "plan " + QByteArray::number(list.size()) + ' ' + encoded(e.original) + ' ' +
               encoded(e.parked) + ' ' + QByteArray::number(e.size) + ' ' + QByteArray::number(e.device) +
               ' ' + QByteArray::number(e.inode) + '\n';
    list.append(e);
    list.last().state = ZombieState::Planned;
}

void RecoveryJournal::record(qsizetype index, ZombieState state, qint64 photoId) {
    list[index].state = state;
    list[index].photoId = photoId;
    pending += "state " + QByteArray::number(index) + ' ' + char(state);
    if (photoId != 0)
        pending += ' ' + QByteArray::number(photoId);
    pending += '\n';
}

void RecoveryJournal::recordImport(qint64 id, const QList<qint64>& photosBefore) {
    albumId = id;
    before = photosBefore;
    QByteArray ids;
    for (const qint64 photo : photosBefore)
        ids += (ids.isEmpty() ? "" : ",") + QByteArray::number(photo);
    pending += "import " + QByteArray::number(id) + ' ' + (ids.isEmpty() ? QByteArray("-") : ids) + '\n';
}

bool RecoveryJournal::sync() {
    QElapsedTimer timer;
    timer.start();
    qsizetype written = 0;
    bool good = file.valid();
    while (good && written < pending.size()) {
        const ssize_t n =
            ::write(file.get(), pending.constData() + written, size_t(pending.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        good = n > 0;
        written += std::max<ssize_t>(n, 0);
    }
    pending.remove(0, written);
    good = good && ::fdatasync(file.get()) == 0;
    syncMs += double(timer.nsecsElapsed()) / 1e6;
    return good;
}

bool RecoveryJournal::close() {
    // Whatever is still in the park, known to the journal or not, keeps it open.
    struct stat st {};
    if (!SafeMove::removeEmptyFolders(parkPath) && ::lstat(parkPath.constData(), &st) == 0)
        return false;
    pending += "closed\n";
    if (!sync())
        return false;
    const QByteArray done = journalPath.chopped(qsizetype(std::strlen(kOpenSuffix))) + kDoneSuffix;
    if (::rename(journalPath.constData(), done.constData()) != 0)
        return false;
    journalPath = done;
    const QByteArray dir = SafeMove::directoryOf(done);
    syncFolder(dir);
    pruneFinished(dir);
    return true;
}
