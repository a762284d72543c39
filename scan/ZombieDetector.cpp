#include "scan/ZombieDetector.h"

#include "bridge/iPhotoTypes.h"
#include "platform/SystemLog.h"
#include "scan/PathSet.h"
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
#include <vector>

namespace {

constexpr const char* kMastersFolder = "Masters";
constexpr QLatin1StringView kApLibrary(".aplibrary");
const QString kLogIncompleteList = QStringLiteral(
    "Zombie detection skipped: %1 of %2 photos have no master path, so any file could be theirs");
const QString kLogSeveralLibraries =
    QStringLiteral("Zombie detection skipped: the master paths name more than one library (%1 and %2)");
const QString kLogSameFile = QStringLiteral("Not a zombie: %1 is the master %2 under another spelling");
const QString kLogDetected = QStringLiteral("Detected %1 zombies in %2");

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
// members are taken, so what stays untaken afterwards was never found. A folder's files are
// looked up in batches whose table slots are fetched ahead.
void walkMasters(const QByteArray& masters, PathSet& referenced, QList<QByteArray>& candidates) {
    const int root = ::open(masters.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (root < 0)
        return;
    struct File {
        size_t offset;
        size_t length;
        uint64_t hash;
    };
    constexpr size_t kBatch = 256;
    std::vector<File> batch;
    batch.reserve(kBatch);
    std::string names;
    const auto flush = [&] {
        for (const File& f : batch) {
            const std::string_view relative(names.data() + f.offset, f.length);
            if (referenced.take(relative, f.hash))
                continue;
            QByteArray path;
            path.reserve(masters.size() + 1 + qsizetype(relative.size()));
            path.append(masters).append('/').append(relative.data(), qsizetype(relative.size()));
            candidates.append(std::move(path));
        }
        batch.clear();
        names.clear();
    };

    std::vector<std::string> pending{std::string()};
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
            const size_t offset = names.size();
            names.append(folder);
            if (!folder.empty())
                names.push_back('/');
            names.append(e->d_name);
            if (isDirectoryEntry(fd, e)) {
                pending.push_back(names.substr(offset));
                names.resize(offset);
                continue;
            }
            const std::string_view relative(names.data() + offset, names.size() - offset);
            const uint64_t hash = PathSet::hashOf(relative);
            referenced.prefetch(hash);
            batch.push_back({offset, relative.size(), hash});
            if (batch.size() == kBatch)
                flush();
        }
        flush();
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
    bool apLibrary = false;
    PathSet referenced(size_t(masterPaths.size()));
    QStringEncoder toNative(QStringEncoder::Utf8);
    // Encoded and hashed in batches whose table slots are fetched ahead.
    struct Encoded {
        size_t offset;
        size_t length;
        uint64_t hash;
    };
    constexpr size_t kBatch = 256;
    std::vector<Encoded> batch;
    batch.reserve(kBatch);
    std::string buffer;
    const auto insertBatch = [&] {
        for (const Encoded& e : batch)
            referenced.insert(std::string_view(buffer.data() + e.offset, e.length), e.hash);
        batch.clear();
        buffer.clear();
    };
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
        // Below the known Masters folder the library is the known one, unless a ".aplibrary"
        // further on names another: the one search the common case needs.
        const bool belowMasters =
            !prefixText.isEmpty() && text.startsWith(prefixText) &&
            (apLibrary || !QStringView(text).mid(prefixText.size()).contains(kApLibrary));
        if (!belowMasters) {
            const qsizetype end = helpers::libraryPackageEnd(text);
            if (end < 0)
                continue;
            if (package.isEmpty()) {
                package = text.left(end);
                apLibrary = package.endsWith(kApLibrary);
                prefixText =
                    package + QLatin1Char('/') + QLatin1StringView(kMastersFolder) + QLatin1Char('/');
                prefix = QFile::encodeName(prefixText);
            } else if (QStringView(text).left(end) != package) {
                vupLog(kLogSeveralLibraries.arg(package, text.left(end)));
                return {};
            }
            if (!text.startsWith(prefixText))
                continue;
        }
        if (withoutPath > 0)
            continue;
        const QStringView relative = QStringView(text).mid(prefixText.size());
        const size_t offset = buffer.size();
        buffer.resize(offset + size_t(toNative.requiredSpace(relative.size())));
        const char* written = toNative.appendToBuffer(buffer.data() + offset, relative);
        buffer.resize(size_t(written - buffer.data()));
        const uint64_t hash =
            PathSet::hashOf(std::string_view(buffer.data() + offset, buffer.size() - offset));
        referenced.prefetch(hash);
        batch.push_back({offset, buffer.size() - offset, hash});
        if (batch.size() == kBatch)
            insertBatch();
    }
    insertBatch();
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
    referenced.forEachUntaken([&](std::string_view unmatched) {
        lookAt(prefix + QByteArray(unmatched.data(), qsizetype(unmatched.size())), true);
    });
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
