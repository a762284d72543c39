#include "scan/ZombieDetector.h"

#include "bridge/iPhotoTypes.h"
#include "platform/SystemLog.h"
#include "scan/VupDelegate.h"
#include "scan/helpers.h"

#include <QFile>
#include <QHash>
#include <algorithm>
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
#include <unordered_set>
#include <vector>

namespace {

constexpr const char* kMastersFolder = "Masters";
const QString kLogIncompleteList = QStringLiteral("Zombie detection skipped: %1 of %2 photos have no master "
                                                  "path, so a referenced file could be taken for a "
                                                  "zombie");
const QString kLogSeveralLibraries =
    QStringLiteral("Zombie detection skipped: the master paths name more than one library (%1 and %2)");
const QString kLogSameFile = QStringLiteral("Not a zombie: %1 is the master %2 under another spelling");
const QString kLogDetected = QStringLiteral("Detected %1 zombies in %2");

// Stable storage for the referenced paths: the set holds views into it, and chunks never move.
class PathArena {
public:
    std::string_view store(const char* data, size_t size) {
        if (chunks.empty() || used + size > chunkSize) {
            const size_t want = std::max(kChunk, size);
            chunks.push_back(std::make_unique<char[]>(want));
            chunkSize = want;
            used = 0;
        }
        char* at = chunks.back().get() + used;
        memcpy(at, data, size);
        used += size;
        return {at, size};
    }

private:
    static constexpr size_t kChunk = size_t(1) << 20;
    std::vector<std::unique_ptr<char[]>> chunks;
    size_t chunkSize = 0;
    size_t used = 0;
};

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

std::optional<FileId> fileIdOf(const QByteArray& path, nlink_t* links = nullptr) {
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0)
        return std::nullopt;
    if (links)
        *links = st.st_nlink;
    return FileId{st.st_dev, st.st_ino};
}

bool isDirectoryEntry(int dirFd, const dirent* e) {
    if (e->d_type == DT_DIR)
        return true;
    if (e->d_type != DT_UNKNOWN)
        return false;
    struct stat st {};
    // An item whose kind cannot be read counts as a file.
    return ::fstatat(dirFd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
}

// One pass over Masters: every non-folder item not in `referenced` is a candidate; matched
// entries are taken out of `referenced`, so what stays there afterwards was never found.
void walkMasters(const QByteArray& masters, std::unordered_set<std::string_view>& referenced,
                 QList<QByteArray>& candidates) {
    const int root = ::open(masters.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (root < 0)
        return;
    std::vector<std::string> pending{std::string()};
    std::string relative;
    while (!pending.empty()) {
        const std::string folder = std::move(pending.back());
        pending.pop_back();
        const int fd = folder.empty()
                           ? ::dup(root)
                           : ::openat(root, folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue; // unreadable folders are passed over
        DIR* dir = ::fdopendir(fd);
        if (!dir) {
            ::close(fd);
            continue;
        }
        while (const dirent* e = ::readdir(dir)) {
            if (e->d_name[0] == '.')
                continue; // hidden items, and everything below them
            relative.assign(folder);
            if (!relative.empty())
                relative.push_back('/');
            relative.append(e->d_name);
            if (isDirectoryEntry(fd, e)) {
                pending.push_back(relative);
                continue;
            }
            const auto hit = referenced.find(relative);
            if (hit != referenced.end()) {
                referenced.erase(hit);
                continue;
            }
            QByteArray path;
            path.reserve(masters.size() + 1 + qsizetype(relative.size()));
            path.append(masters).append('/').append(relative.data(), qsizetype(relative.size()));
            candidates.append(std::move(path));
        }
        ::closedir(dir);
    }
    ::close(root);
}

} // namespace

QList<QByteArray> ZombieDetector::detectZombies(const QVariantList& masterPaths, VupDelegate* delegate) {
    // A photo without a master path may well own a file below Masters: with such a hole in the
    // reference list, any file could be its master.
    const auto hasText = [](const QVariant& entry) {
        return !isNullMarker(entry) && entry.metaType() == QMetaType::fromType<QString>() &&
               !entry.toString().isEmpty();
    };
    const qsizetype withoutPath = std::count_if(masterPaths.cbegin(), masterPaths.cend(),
                                                [&](const QVariant& entry) { return !hasText(entry); });
    if (withoutPath > 0) {
        vupLog(kLogIncompleteList.arg(withoutPath).arg(masterPaths.size()));
        return {};
    }

    QString package;
    for (const QVariant& entry : masterPaths) {
        const std::optional<QString> own = helpers::libraryPackagePath(entry.toString());
        if (!own)
            continue;
        if (package.isEmpty()) {
            package = *own;
        } else if (*own != package) {
            vupLog(kLogSeveralLibraries.arg(package, *own));
            return {};
        }
    }
    if (package.isEmpty()) {
        if (delegate)
            delegate->setRecoverZombies(false);
        return {};
    }

    helpers::fileExists(package, delegate);

    const QByteArray masters = QFile::encodeName(package) + '/' + kMastersFolder;
    const QByteArray prefix = masters + '/';
    const auto relativeView = [&prefix](const QByteArray& path) {
        return std::string_view(path.constData() + prefix.size(), size_t(path.size() - prefix.size()));
    };
    PathArena arena;
    std::unordered_set<std::string_view> referenced;
    referenced.reserve(size_t(masterPaths.size()));
    for (const QVariant& entry : masterPaths) {
        const QByteArray path = QFile::encodeName(entry.toString());
        if (path.startsWith(prefix)) {
            const std::string_view relative = relativeView(path);
            if (!referenced.contains(relative))
                referenced.insert(arena.store(relative.data(), relative.size()));
        }
    }

    QList<QByteArray> candidates;
    walkMasters(masters, referenced, candidates);
    if (candidates.isEmpty())
        return candidates;

    // The application may spell a master differently from the walk (a linked folder, "..", a
    // doubled separator). Such a file is no zombie: moving it would pull it from under a photo.
    std::unordered_map<FileId, qsizetype, FileIdHash> candidateIds;
    bool someHardLinked = false;
    for (qsizetype i = 0; i < candidates.size(); ++i) {
        nlink_t links = 1;
        if (const auto id = fileIdOf(candidates[i], &links)) {
            candidateIds.emplace(*id, i);
            someHardLinked = someHardLinked || links > 1;
        }
    }
    QHash<QByteArray, qsizetype> candidateByPath;
    candidateByPath.reserve(candidates.size());
    for (qsizetype i = 0; i < candidates.size(); ++i)
        candidateByPath.insert(candidates[i], i);
    std::vector<bool> referencedAfterAll(size_t(candidates.size()), false);
    const auto spare = [&](qsizetype index, const QString& master) {
        if (referencedAfterAll[size_t(index)])
            return;
        referencedAfterAll[size_t(index)] = true;
        vupLog(kLogSameFile.arg(QFile::decodeName(candidates[index]), master));
    };
    for (const QVariant& entry : masterPaths) {
        const QByteArray path = QFile::encodeName(entry.toString());
        // A file found under its own spelling is a candidate only through another hard link.
        const bool matchedByText = path.startsWith(prefix) && !referenced.contains(relativeView(path));
        if (matchedByText && !someHardLinked)
            continue;
        // A linked folder below Masters through which a master is reached carries that master.
        if (!matchedByText && path.startsWith(prefix)) {
            for (qsizetype slash = path.indexOf('/', prefix.size()); slash > 0;
                 slash = path.indexOf('/', slash + 1)) {
                const auto link = candidateByPath.constFind(path.left(slash));
                if (link != candidateByPath.constEnd())
                    spare(*link, entry.toString());
            }
        }
        const auto id = fileIdOf(path);
        if (!id)
            continue;
        const auto hit = candidateIds.find(*id);
        if (hit != candidateIds.end())
            spare(hit->second, entry.toString());
    }

    QList<QByteArray> zombies;
    zombies.reserve(candidates.size());
    for (qsizetype i = 0; i < candidates.size(); ++i) {
        if (!referencedAfterAll[size_t(i)])
            zombies.append(std::move(candidates[i]));
    }
    vupLog(kLogDetected.arg(zombies.size()).arg(QFile::decodeName(masters)));
    return zombies;
}
