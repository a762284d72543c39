#include "scan/ZombieDetector.h"

#include "bridge/iPhotoTypes.h"
#include "platform/SystemLog.h"
#include "scan/VupDelegate.h"
#include "scan/helpers.h"

#include <QFile>
#include <QHash>
#include <QStringEncoder>
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
    // One pass over the list: holes in it, the library it names, and the referenced set. The
    // set can only be filled once the library is known, and every entry before the first that
    // names a library lies outside it, so nothing is missed.
    qsizetype withoutPath = 0;
    QString package;
    QString prefixText;
    QByteArray prefix;
    PathArena arena;
    std::unordered_set<std::string_view> referenced;
    referenced.reserve(size_t(masterPaths.size()));
    QStringEncoder toNative(QStringEncoder::Utf8);
    QByteArray buffer;
    for (const QVariant& entry : masterPaths) {
        // A photo without a master path may well own a file below Masters: with such a hole in
        // the list, any file could be its master.
        if (isNullMarker(entry) || entry.metaType() != QMetaType::fromType<QString>()) {
            ++withoutPath;
            continue;
        }
        const QString& text = *static_cast<const QString*>(entry.constData());
        if (text.isEmpty()) {
            ++withoutPath;
            continue;
        }
        const qsizetype end = helpers::libraryPackageEnd(text);
        if (end < 0)
            continue;
        if (package.isEmpty()) {
            package = text.left(end);
            prefixText = package + QLatin1Char('/') + QLatin1StringView(kMastersFolder) + QLatin1Char('/');
            prefix = QFile::encodeName(prefixText);
        } else if (QStringView(text).left(end) != package) {
            vupLog(kLogSeveralLibraries.arg(package, text.left(end)));
            return {};
        }
        if (withoutPath > 0 || !text.startsWith(prefixText))
            continue;
        const QStringView relative = QStringView(text).mid(prefixText.size());
        buffer.resize(toNative.requiredSpace(relative.size()));
        const char* written = toNative.appendToBuffer(buffer.data(), relative);
        const std::string_view native(buffer.constData(), size_t(written - buffer.constData()));
        if (!referenced.contains(native))
            referenced.insert(arena.store(native.data(), native.size()));
    }
    if (withoutPath > 0) {
        vupLog(kLogIncompleteList.arg(withoutPath).arg(masterPaths.size()));
        return {};
    }
    if (package.isEmpty()) {
        if (delegate)
            delegate->setRecoverZombies(false);
        return {};
    }

    helpers::fileExists(package, delegate);

    const QByteArray masters = prefix.chopped(1);
    QList<QByteArray> candidates;
    walkMasters(masters, referenced, candidates);
    if (candidates.isEmpty()) {
        vupLog(kLogDetected.arg(0).arg(QFile::decodeName(masters)));
        return candidates;
    }

    // The application may spell a master differently from the walk (a linked folder, "..", a
    // doubled separator). Such a file is no zombie: moving it would pull it from under a photo.
    // Only the spellings the walk did not meet need a look: those outside the Masters prefix
    // and those left in the set; a file met under its own spelling counts through hard links.
    std::unordered_map<FileId, qsizetype, FileIdHash> candidateIds;
    QHash<QByteArray, qsizetype> candidateByPath;
    candidateByPath.reserve(candidates.size());
    bool someHardLinked = false;
    for (qsizetype i = 0; i < candidates.size(); ++i) {
        nlink_t links = 1;
        if (const auto id = fileIdOf(candidates[i], &links)) {
            candidateIds.emplace(*id, i);
            someHardLinked = someHardLinked || links > 1;
        }
        candidateByPath.insert(candidates[i], i);
    }
    std::vector<bool> referencedAfterAll(size_t(candidates.size()), false);
    const auto spare = [&](qsizetype index, const QByteArray& master) {
        if (referencedAfterAll[size_t(index)])
            return;
        referencedAfterAll[size_t(index)] = true;
        vupLog(kLogSameFile.arg(QFile::decodeName(candidates[index]), QFile::decodeName(master)));
    };
    const auto lookAt = [&](const QByteArray& path, bool insideMasters) {
        // A linked folder below Masters through which a master is reached carries that master.
        if (insideMasters) {
            for (qsizetype slash = path.indexOf('/', prefix.size()); slash > 0;
                 slash = path.indexOf('/', slash + 1)) {
                const auto link = candidateByPath.constFind(path.left(slash));
                if (link != candidateByPath.constEnd())
                    spare(*link, path);
            }
        }
        if (const auto id = fileIdOf(path)) {
            const auto hit = candidateIds.find(*id);
            if (hit != candidateIds.end())
                spare(hit->second, path);
        }
    };
    for (const std::string_view unmatched : referenced)
        lookAt(prefix + QByteArray(unmatched.data(), qsizetype(unmatched.size())), true);
    for (const QVariant& entry : masterPaths) {
        const QString& text = *static_cast<const QString*>(entry.constData());
        if (!text.startsWith(prefixText))
            lookAt(QFile::encodeName(text), false);
        else if (someHardLinked)
            lookAt(QFile::encodeName(text), false);
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
