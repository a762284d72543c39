/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "scan/zombies/ZombieDetector.h"

#include "bridge/iPhotoTypes.h"
#include "l10n/ShownText.h"
#include "platform/FileAccess.h"
#include "platform/SystemLog.h"
#include "scan/zombies/PathSet.h"
#include "scan/zombies/SafeMove.h"
#include "scan/zombies/ZombieCalls.h"

#include <QFile>
#include <QHash>
#include <QStringEncoder>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace {

using SafeMove::Fd;

constexpr const char* kMastersFolder = "Masters";
constexpr QLatin1StringView kApLibrary(".aplibrary");
constexpr unsigned kEntriesBetweenCancelChecks = 4096;

// Why detection was skipped, in English for the report and the log; the user reads it through
// ZombieDetector::shownReason.
constexpr const char* kSkippedNoMasterPathText = QT_TRANSLATE_NOOP(
    "ZombieDetector",
    "%1 of %2 photos have no master path, so any file in the Masters folder could be theirs.");
constexpr const char* kSkippedOutsideLibraryText = QT_TRANSLATE_NOOP(
    "ZombieDetector", "the master list names files outside this library (in %1 as well as %2).");
constexpr const char* kSkippedUnreadableText =
    QT_TRANSLATE_NOOP("ZombieDetector", "the Masters folder %1 cannot be read (%2).");
constexpr const char* kSkippedLinkedMastersText = QT_TRANSLATE_NOOP(
    "ZombieDetector", "the Masters folder %1 is a link to %2; nothing is moved through it.");
const QString kSkippedNoMasterPath = QString::fromUtf8(kSkippedNoMasterPathText);
const QString kSkippedOutsideLibrary = QString::fromUtf8(kSkippedOutsideLibraryText);
const QString kSkippedUnreadable = QString::fromUtf8(kSkippedUnreadableText);
const QString kSkippedLinkedMasters = QString::fromUtf8(kSkippedLinkedMastersText);
const QString kLogSkipped = QStringLiteral("Zombie detection skipped: %1");
const QString kLogCancelled = QStringLiteral("Zombie detection cancelled: no zombie is recovered");
const QString kLogSameFile = QStringLiteral("Not a zombie: %1 is the master %2 under another spelling");
const QString kLogDetected = QStringLiteral("Detected %1 zombies and %2 links in %3");

struct FileId {
    dev_t device;
    ino_t inode;
    bool operator==(const FileId&) const = default;
};

struct FileIdHash {
    size_t operator()(const FileId& id) const noexcept {
        return std::hash<quint64>()(quint64(id.device) * 0x9E3779B97F4A7C15ull ^ quint64(id.inode));
    }
};

// The file a path names, or with `follow` the one it leads to. Paths below Masters may be too
// long for a path call: those are reached folder by folder.
std::optional<FileId> fileIdOf(const QByteArray& masters, const QByteArray& path, bool follow,
                               nlink_t* links = nullptr) {
    struct stat st {};
    bool found = false;
    if (path.size() < PATH_MAX) {
        found = (follow ? ::stat(path.constData(), &st) : ::lstat(path.constData(), &st)) == 0;
    } else if (path.startsWith(masters + '/')) {
        const QByteArray relative = path.mid(masters.size() + 1);
        const Fd folder = SafeMove::openFolder(masters, SafeMove::directoryOf(relative));
        found = folder.valid() && ::fstatat(folder.get(), SafeMove::lastComponentOf(relative).constData(),
                                            &st, follow ? 0 : AT_SYMLINK_NOFOLLOW) == 0;
    }
    if (!found)
        return std::nullopt;
    if (links)
        *links = st.st_nlink;
    return FileId{st.st_dev, st.st_ino};
}

struct Walk {
    QList<QByteArray> candidates;
    dev_t device = 0; // of Masters itself
    ino_t inode = 0;
    std::vector<bool> isLink;
    std::vector<std::string> referencedLinks; // relative paths of links that photos name
    int rootError = 0;
    bool cancelled = false;
};

// One pass over Masters: every non-folder item not in `referenced` is a candidate; matched
// members are taken, so what stays untaken afterwards was never found. A folder's files are
// looked up in batches whose table slots are fetched ahead.
//
// Only the folder being read is open: the way down is openat() without following links, the
// way back ".." checked against the folder it must lead to, so no depth runs out of descriptors
// or path length.
class MastersWalk {
public:
    MastersWalk(const QByteArray& mastersFolder, PathSet& referencedSet, const ZombieCalls& runCalls,
                Walk& result)
        : masters(mastersFolder), referenced(referencedSet), calls(runCalls), out(result) {
        batch.reserve(kBatch);
    }

    void run() {
        root.reset(::open(masters.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        struct stat st {};
        if (!root.valid() || ::fstat(root.get(), &st) != 0) {
            out.rootError = ::lstat(masters.constData(), &st) == 0 && S_ISLNK(st.st_mode) ? ELOOP : errno;
            return;
        }
        out.device = st.st_dev;
        out.inode = st.st_ino;
        stack.push_back(Frame{});
        while (!stack.empty() && !cancelled()) {
            Frame& top = stack.back();
            if (!dir && !reopen(top))
                top.next = top.subfolders.size();
            if (top.next < top.subfolders.size()) {
                descend(top.subfolders[top.next++]);
                continue;
            }
            DIR* leaving = std::exchange(dir, nullptr);
            stack.pop_back();
            if (leaving && !stack.empty()) {
                const int up = ::openat(::dirfd(leaving), "..", kFolderFlags);
                if (up >= 0 && isFrameFolder(up, stack.back()))
                    dir = ::fdopendir(up);
                else if (up >= 0)
                    ::close(up);
            }
            if (leaving)
                ::closedir(leaving);
        }
        if (dir)
            ::closedir(dir);
        out.cancelled = cancelledSeen;
    }

private:
    static constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    static constexpr size_t kBatch = 256;

    struct Frame {
        std::string relative; // "" for Masters itself
        dev_t device = 0;
        ino_t inode = 0;
        std::vector<std::string> subfolders;
        size_t next = 0;
        bool read = false;
    };
    struct File {
        size_t offset;
        size_t length;
        uint64_t hash;
        bool link;
    };

    bool cancelled() {
        cancelledSeen = cancelledSeen || calls.isCancelled();
        return cancelledSeen;
    }

    static bool isFrameFolder(int fd, const Frame& frame) {
        struct stat st {};
        return ::fstat(fd, &st) == 0 && st.st_dev == frame.device && st.st_ino == frame.inode;
    }

    void descend(const std::string& name) {
        const int fd = ::openat(::dirfd(dir), name.c_str(), kFolderFlags);
        if (fd < 0)
            return; // unreadable folders are passed over
        Frame child;
        child.relative = stack.back().relative.empty() ? name : stack.back().relative + '/' + name;
        DIR* opened = open(fd, child.device, child.inode);
        if (!opened)
            return;
        ::closedir(dir);
        dir = opened;
        stack.push_back(std::move(child));
        readFolder(stack.back());
    }

    // The frame's folder again, from Masters down, when the way back up did not lead to it (it
    // was moved meanwhile): what it still holds is walked only if it is still where it was.
    bool reopen(Frame& frame) {
        Fd fd(::dup(root.get()));
        for (size_t at = 0; fd.valid() && at < frame.relative.size();) {
            size_t end = frame.relative.find('/', at);
            if (end == std::string::npos)
                end = frame.relative.size();
            fd.reset(::openat(fd.get(), frame.relative.substr(at, end - at).c_str(), kFolderFlags));
            at = end + 1;
        }
        if (!fd.valid())
            return false;
        if (frame.read && !isFrameFolder(fd.get(), frame))
            return false;
        dev_t device = 0;
        ino_t inode = 0;
        dir = open(::dup(fd.get()), device, inode);
        if (!dir)
            return false;
        if (!frame.read) {
            frame.device = device;
            frame.inode = inode;
            readFolder(frame);
        }
        return true;
    }

    static DIR* open(int fd, dev_t& device, ino_t& inode) {
        struct stat st {};
        DIR* opened = fd >= 0 && ::fstat(fd, &st) == 0 ? ::fdopendir(fd) : nullptr;
        if (!opened) {
            if (fd >= 0)
                ::close(fd);
            return nullptr;
        }
        device = st.st_dev;
        inode = st.st_ino;
        return opened;
    }

    void readFolder(Frame& frame) {
        frame.read = true;
        unsigned sinceCheck = 0;
        while (const dirent* e = ::readdir(dir)) {
            if (e->d_name[0] == '.')
                continue; // hidden items, and everything below them
            if (++sinceCheck == kEntriesBetweenCancelChecks) {
                sinceCheck = 0;
                if (cancelled())
                    break;
            }
            unsigned char type = e->d_type;
            if (type == DT_UNKNOWN) {
                struct stat st {};
                // An item whose kind cannot be read counts as a file.
                type = ::fstatat(::dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 ? DT_REG
                       : S_ISDIR(st.st_mode)                                             ? DT_DIR
                       : S_ISLNK(st.st_mode)                                             ? DT_LNK
                                                                                         : DT_REG;
            }
            if (type == DT_DIR) {
                frame.subfolders.emplace_back(e->d_name);
                continue;
            }
            const size_t offset = names.size();
            names.append(frame.relative);
            if (!frame.relative.empty())
                names.push_back('/');
            names.append(e->d_name);
            const std::string_view relative(names.data() + offset, names.size() - offset);
            const uint64_t hash = PathSet::hashOf(relative);
            referenced.prefetch(hash);
            batch.push_back({offset, relative.size(), hash, type == DT_LNK});
            if (batch.size() == kBatch)
                flush();
        }
        flush();
    }

    void flush() {
        for (const File& f : batch) {
            const std::string_view relative(names.data() + f.offset, f.length);
            if (referenced.take(relative, f.hash)) {
                if (f.link)
                    out.referencedLinks.emplace_back(relative);
                continue;
            }
            QByteArray path;
            path.reserve(masters.size() + 1 + qsizetype(relative.size()));
            path.append(masters).append('/').append(relative.data(), qsizetype(relative.size()));
            out.candidates.append(std::move(path));
            out.isLink.push_back(f.link);
        }
        batch.clear();
        names.clear();
    }

    const QByteArray& masters;
    PathSet& referenced;
    const ZombieCalls& calls;
    Walk& out;
    Fd root;
    DIR* dir = nullptr; // the folder of stack.back(), when open
    std::vector<Frame> stack;
    std::vector<File> batch;
    std::string names;
    bool cancelledSeen = false;
};

// The master paths of the library as the walk needs them: the library they name, its Masters
// prefix, and the set of referenced paths below it.
struct ReferencedMasters {
    explicit ReferencedMasters(size_t expected) : referenced(expected) {}

    qsizetype withoutPath = 0; // entries with no master path
    QString package;
    QString prefixText;
    QByteArray prefix;
    bool apLibrary = false;
    PathSet referenced;
    QString outsideLibrary; // why detection cannot run when the list names a second library
};

// Paths below Masters go into the referenced set encoded and hashed in batches whose table slots
// are fetched ahead.
class BatchedInsert {
public:
    explicit BatchedInsert(PathSet& set) : referenced(set) { batch.reserve(kBatch); }

    void add(QStringView relative) {
        const size_t offset = buffer.size();
        buffer.resize(offset + size_t(toNative.requiredSpace(relative.size())));
        const char* written = toNative.appendToBuffer(buffer.data() + offset, relative);
        buffer.resize(size_t(written - buffer.data()));
        const uint64_t hash =
            PathSet::hashOf(std::string_view(buffer.data() + offset, buffer.size() - offset));
        referenced.prefetch(hash);
        batch.push_back({offset, buffer.size() - offset, hash});
        if (batch.size() == kBatch)
            flush();
    }

    void flush() {
        for (const Encoded& e : batch)
            referenced.insert(std::string_view(buffer.data() + e.offset, e.length), e.hash);
        batch.clear();
        buffer.clear();
    }

private:
    struct Encoded {
        size_t offset;
        size_t length;
        uint64_t hash;
    };
    static constexpr size_t kBatch = 256;

    PathSet& referenced;
    QStringEncoder toNative{QStringEncoder::Utf8};
    std::vector<Encoded> batch;
    std::string buffer;
};

// One pass over the list: holes in it, the library it names, and the referenced set. The set can
// only be filled once the library is known, and every entry before the first that names a library
// lies outside it, so nothing is missed.
void setPackage(ReferencedMasters& out, const QString& package) {
    out.package = package;
    out.apLibrary = out.package.endsWith(kApLibrary);
    out.prefixText = out.package + QLatin1Char('/') + QLatin1StringView(kMastersFolder) + QLatin1Char('/');
    out.prefix = QFile::encodeName(out.prefixText);
}

void readMasterPaths(const TextColumn& masterPaths, ReferencedMasters& out) {
    BatchedInsert inserter(out.referenced);
    QString text;
    for (qsizetype i = 0; i < masterPaths.size(); ++i) {
        // A photo without a master path may well own a file below Masters: with such a hole in
        // the list, any file could be its master.
        if (!masterPaths.isText(i)) {
            ++out.withoutPath;
            continue;
        }
        masterPaths.textInto(i, text);
        if (text.isEmpty()) {
            ++out.withoutPath;
            continue;
        }
        // Below the known Masters folder the library is the known one, unless a ".aplibrary"
        // further on names another: the one search the common case needs.
        const bool belowMasters =
            !out.prefixText.isEmpty() && text.startsWith(out.prefixText) &&
            (out.apLibrary || !QStringView(text).mid(out.prefixText.size()).contains(kApLibrary));
        if (!belowMasters) {
            const qsizetype end = FileAccess::libraryPackageEnd(text);
            if (end < 0)
                continue;
            if (out.package.isEmpty()) {
                setPackage(out, text.left(end));
            } else if (QStringView(text).left(end) != out.package) {
                out.outsideLibrary = kSkippedOutsideLibrary.arg(out.package, text.left(end));
                return;
            }
            if (!text.startsWith(out.prefixText))
                continue;
        }
        if (out.withoutPath == 0)
            inserter.add(QStringView(text).mid(out.prefixText.size()));
    }
    inserter.flush();
}

// The application may spell a master differently from the walk (a linked folder, a link to the
// file, "..", a doubled separator). Such a file is no zombie: moving it would pull it from under a
// photo. Only the spellings the walk did not meet need a look: those outside the Masters prefix,
// those left in the set and the links it met; a file met under its own spelling counts through
// hard links.
class OtherSpellings {
public:
    OtherSpellings(const QByteArray& mastersFolder, const QByteArray& mastersPrefix,
                   const QList<QByteArray>& walkCandidates)
        : masters(mastersFolder), prefix(mastersPrefix), candidates(walkCandidates),
          referencedAfterAll(size_t(walkCandidates.size()), false) {
        candidateByPath.reserve(candidates.size());
        for (qsizetype i = 0; i < candidates.size(); ++i) {
            nlink_t links = 1;
            if (const auto id = fileIdOf(masters, candidates[i], false, &links)) {
                candidateIds.emplace(*id, i);
                someHardLinked = someHardLinked || links > 1;
            }
            candidateByPath.insert(candidates[i], i);
        }
    }

    void check(const Walk& walk, const ReferencedMasters& refs, const TextColumn& masterPaths) {
        for (const std::string& link : walk.referencedLinks)
            spareFileOf(prefix + QByteArray(link.data(), qsizetype(link.size())), true);
        refs.referenced.forEachUntaken([&](std::string_view unmatched) {
            lookAt(prefix + QByteArray(unmatched.data(), qsizetype(unmatched.size())), true);
        });
        // Every entry is a path here: a list with holes was never walked.
        QString text;
        for (qsizetype i = 0; i < masterPaths.size(); ++i) {
            masterPaths.textInto(i, text);
            if (!text.startsWith(refs.prefixText) || someHardLinked)
                lookAt(QFile::encodeName(text), false);
        }
    }

    bool spared(qsizetype index) const { return referencedAfterAll[size_t(index)]; }

private:
    void spare(qsizetype index, const QByteArray& master) {
        if (referencedAfterAll[size_t(index)])
            return;
        referencedAfterAll[size_t(index)] = true;
        vupLog(kLogSameFile.arg(QFile::decodeName(candidates[index]), QFile::decodeName(master)));
    }

    void spareFileOf(const QByteArray& path, bool follow) {
        if (const auto id = fileIdOf(masters, path, follow)) {
            const auto hit = candidateIds.find(*id);
            if (hit != candidateIds.end())
                spare(hit->second, path);
        }
    }

    void lookAt(const QByteArray& path, bool insideMasters) {
        // A linked folder below Masters through which a master is reached carries that master.
        if (insideMasters) {
            for (qsizetype slash = path.indexOf('/', prefix.size()); slash > 0;
                 slash = path.indexOf('/', slash + 1)) {
                const auto link = candidateByPath.constFind(path.left(slash));
                if (link != candidateByPath.constEnd())
                    spare(*link, path);
            }
        }
        spareFileOf(path, false);
        spareFileOf(path, true);
    }

    const QByteArray& masters;
    const QByteArray& prefix;
    const QList<QByteArray>& candidates;
    std::unordered_map<FileId, qsizetype, FileIdHash> candidateIds;
    QHash<QByteArray, qsizetype> candidateByPath;
    std::vector<bool> referencedAfterAll;
    bool someHardLinked = false;
};

} // namespace

ZombieDetection ZombieDetector::detectZombies(const TextColumn& masterPaths, const ZombieCalls& calls,
                                              const QString& libraryFolder) {
    ZombieDetection result;
    const auto skip = [&result](const QString& why) {
        result.skipped = why;
        vupLog(kLogSkipped.arg(why));
        return result;
    };
    ReferencedMasters refs(size_t(masterPaths.size()));
    if (!libraryFolder.isEmpty())
        setPackage(refs, libraryFolder);
    readMasterPaths(masterPaths, refs);
    if (!refs.outsideLibrary.isEmpty())
        return skip(refs.outsideLibrary);
    if (refs.withoutPath > 0)
        return skip(kSkippedNoMasterPath.arg(refs.withoutPath).arg(masterPaths.size()));
    if (refs.package.isEmpty()) {
        if (calls.noLibrary)
            calls.noLibrary();
        return result;
    }

    FileAccess::fileExists(refs.package, calls.accessPrompt);

    const QByteArray masters = refs.prefix.chopped(1);
    Walk walk;
    MastersWalk(masters, refs.referenced, calls, walk).run();
    if (walk.cancelled) {
        vupLog(kLogCancelled);
        result.cancelled = true;
        return result;
    }
    // A Masters that is a link leads out of the library, or at least out of what it pinned.
    if (walk.rootError == ELOOP) {
        char target[PATH_MAX] = {};
        const ssize_t n = ::readlink(masters.constData(), target, sizeof target - 1);
        return skip(kSkippedLinkedMasters.arg(QFile::decodeName(masters),
                                              QFile::decodeName(QByteArray(target, n > 0 ? n : 0))));
    }
    // No Masters folder holds no zombie; one that cannot be read may hold any number.
    if (walk.rootError != 0 && walk.rootError != ENOENT)
        return skip(kSkippedUnreadable.arg(QFile::decodeName(masters),
                                           QString::fromLocal8Bit(std::strerror(walk.rootError))));
    result.masters = masters;
    result.mastersDevice = walk.device;
    result.mastersInode = walk.inode;
    QList<QByteArray>& candidates = walk.candidates;
    if (candidates.isEmpty()) {
        vupLog(kLogDetected.arg(0).arg(0).arg(QFile::decodeName(masters)));
        return result;
    }

    OtherSpellings spellings(masters, refs.prefix, candidates);
    spellings.check(walk, refs, masterPaths);
    for (qsizetype i = 0; i < candidates.size(); ++i) {
        if (!spellings.spared(i))
            (walk.isLink[size_t(i)] ? result.links : result.zombies).append(std::move(candidates[i]));
    }
    vupLog(kLogDetected.arg(result.zombies.size()).arg(result.links.size()).arg(QFile::decodeName(masters)));
    return result;
}

QString ZombieDetector::shownReason(const QString& skipped) {
    static const ShownText shown("ZombieDetector", {kSkippedNoMasterPathText, kSkippedOutsideLibraryText,
                                                    kSkippedUnreadableText, kSkippedLinkedMastersText});
    return shown(skipped);
}
