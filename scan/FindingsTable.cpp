/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "scan/FindingsTable.h"

#include "bridge/iPhotoTypes.h"
#include "scan/ScanFindings.h"
#include "scan/ScanFindingsJson.h"
#include "scan/VupMode.h"
#include "scan/helpers.h"

#include <QFile>
#include <QHash>
#include <QLocale>
#include <QSet>

namespace {

using Kind = Finding::Kind;
using Outcome = ScanFindings::Outcome;

// What the report calls the changes the application refused.
const QString kRefusedRemove = QStringLiteral("remove");
const QString kRefusedTag = QStringLiteral("tag %1");

const QString kRemoved = QStringLiteral("removed");
const QString kWouldRemove = QStringLiteral("would remove");
const QString kTagged = QStringLiteral("tagged \"%1\"");
const QString kWouldTag = QStringLiteral("would tag \"%1\"");
const QString kNotRemoved = QStringLiteral("not removed");
const QString kNotTagged = QStringLiteral("not tagged \"%1\"");
const QString kLeftAlone = QStringLiteral("left alone");
const QString kReAdded = QStringLiteral("re-added to album \"%1\"");
const QString kWouldReAdd = QStringLiteral("would be re-added");
const QString kPutBack = QStringLiteral("put back");
const QString kLeftInPlace = QStringLiteral("left in place");
const QString kStillParked = QStringLiteral("still parked");
const QString kGone = QStringLiteral("gone");

const QString kNullImagePath =
    QStringLiteral("its image path is a missing value, so its image file cannot be checked");
const QString kNoImagePath = QStringLiteral("no image path was given for it");
const QString kOnlyNameMissing =
    QStringLiteral("its image file exists; only its file name is a missing value");
const QString kCancelledFirst = QStringLiteral("the scan was cancelled before its changes began");
const QString kEndedFirst = QStringLiteral("the scan ended before Vup got to it");
const QString kNotImported = QStringLiteral("the import did not bring it into the album");
const QString kCancelled = QStringLiteral("the scan was cancelled");
const QString kNotMoved = QStringLiteral("it could not be moved out of the library");
const QString kFinishLater =
    QStringLiteral("photoapp stopped responding; Vup finishes its recovery at its next run");
const QString kPathTaken = QStringLiteral("its place was taken, so it could not be put back");
const QString kNamedByAPhoto = QStringLiteral("a photo names it: it is no zombie");
const QString kAppeared = QStringLiteral("it appeared during the scan");
const QString kNoLongerParked = QStringLiteral("it was no longer where Vup had parked it");
const QString kLinkLeftAlone = QStringLiteral("a symbolic link is never moved or imported");
const QString kDetectionSkipped = QStringLiteral("zombie detection skipped");

// The first package any path of the run lies in: a library's photos all lie in it.
QString libraryOf(const ScanFindings& f) {
    for (const QVariantList* list : {&f.originals, &f.paths}) {
        for (const QVariant& path : *list) {
            if (path.metaType().id() != QMetaType::QString)
                continue;
            if (const std::optional<QString> package = helpers::libraryPackagePath(path.toString()))
                return *package;
        }
    }
    for (const QByteArray& zombie : f.zombies) {
        if (const std::optional<QString> package = helpers::libraryPackagePath(QFile::decodeName(zombie)))
            return *package;
    }
    return {};
}

QString entry(const QVariantList& list, qsizetype i) {
    return i < list.size() ? list.at(i).toString() : QString();
}

bool isText(const QVariant& v) {
    return v.metaType().id() == QMetaType::QString;
}

// Builds the rows of one run; the sets of confirmed changes are looked up once per photo.
class Builder {
public:
    explicit Builder(const ScanFindings& findings) : f(findings) {
        removed = QSet<qsizetype>(f.removed.cbegin(), f.removed.cend());
        taggedMissing = QSet<qsizetype>(f.taggedMissing.cbegin(), f.taggedMissing.cend());
        taggedMasterMissing = QSet<qsizetype>(f.taggedMasterMissing.cbegin(), f.taggedMasterMissing.cend());
        for (const ScanFindings::FailedChange& c : f.failedChanges)
            refused.insert(c.position, &c);
        switch (f.outcome) {
        case Outcome::Cancelled:
            untouched = kCancelledFirst;
            break;
        case Outcome::Completed:
        case Outcome::Incomplete:
            break;
        default:
            untouched = kEndedFirst;
        }
    }

    QList<Finding> rows() {
        QList<Finding> out;
        out.reserve(f.missingImage.size() + f.missingMaster.size() + f.unchecked.size() + f.zombies.size() +
                    f.recovery.linksLeftAlone.size());
        // The three ascending lists merged, so that the photos keep the order of the photo list.
        qsizetype a = 0, b = 0, c = 0;
        const auto next = [](const QList<qsizetype>& l, qsizetype k) {
            return k < l.size() ? l.at(k) : std::numeric_limits<qsizetype>::max();
        };
        const auto nextUnchecked = [this](qsizetype k) {
            return k < f.unchecked.size() ? f.unchecked.at(k).position
                                          : std::numeric_limits<qsizetype>::max();
        };
        while (a < f.missingImage.size() || b < f.missingMaster.size() || c < f.unchecked.size()) {
            const qsizetype i =
                std::min({next(f.missingImage, a), next(f.missingMaster, b), nextUnchecked(c)});
            if (nextUnchecked(c) == i)
                out.append(uncheckedRow(f.unchecked.at(c++)));
            if (next(f.missingImage, a) == i) {
                out.append(imageRow(i));
                ++a;
            }
            if (next(f.missingMaster, b) == i) {
                out.append(masterRow(i));
                ++b;
            }
        }
        appendZombies(out);
        for (const QByteArray& link : f.recovery.linksLeftAlone)
            out.append(fileRow(Kind::LinkLeftAlone, link, link, kLeftAlone, kLinkLeftAlone));
        return out;
    }

private:
    Finding photoRow(Kind kind, qsizetype i) const {
        Finding r;
        r.kind = kind;
        r.position = i;
        r.id = i < f.photos.size() ? f.photos.at(i).id() : -1;
        r.fileName = entry(f.filenames, i);
        r.imagePath = entry(f.paths, i);
        r.masterPath = entry(f.originals, i);
        return r;
    }

    Finding uncheckedRow(const ScanFindings::Unchecked& u) const {
        Finding r = photoRow(Kind::Unchecked, u.position);
        r.id = u.id;
        r.action = kLeftAlone;
        r.reason = u.reason;
        return r;
    }

    // Why a photo whose image is missing was tagged: only a path naming a file that is gone lets
    // a photo be removed, and with no usable path there is no file to look for.
    QString imageReason(qsizetype i, bool wasTagged) const {
        const QVariant path = i < f.paths.size() ? f.paths.at(i) : QVariant();
        if (isNullMarker(path))
            return kNullImagePath;
        if (!isText(path) || path.toString().isEmpty())
            return kNoImagePath;
        return f.deleteMode && wasTagged ? kOnlyNameMissing : QString();
    }

    // The row of one issue of a photo: the change made, the change refused, or nothing.
    Finding issueRow(Kind kind, qsizetype i, const QString& keyword, bool removable, bool tagged) const {
        Finding r = photoRow(kind, i);
        const bool dry = f.dryRun;
        if (removable && removed.contains(i)) {
            r.action = dry ? kWouldRemove : kRemoved;
            return r;
        }
        if (tagged) {
            r.action = (dry ? kWouldTag : kTagged).arg(keyword);
            return r;
        }
        const QString tagAction = kRefusedTag.arg(keyword);
        for (auto it = refused.constFind(i); it != refused.cend() && it.key() == i; ++it) {
            const ScanFindings::FailedChange& c = **it;
            if (c.action == tagAction || (removable && c.action == kRefusedRemove)) {
                r.kind = Kind::ChangeRefused;
                r.action = c.action == kRefusedRemove ? kNotRemoved : kNotTagged.arg(keyword);
                r.reason = c.reason;
                return r;
            }
        }
        r.action = kLeftAlone;
        r.reason = untouched;
        return r;
    }

    Finding imageRow(qsizetype i) const {
        const bool tagged = taggedMissing.contains(i);
        Finding r = issueRow(Kind::ImageMissing, i, VupMode::kMissingKeyword, f.deleteMode, tagged);
        if (r.reason.isEmpty())
            r.reason = imageReason(i, tagged);
        return r;
    }

    Finding masterRow(qsizetype i) const {
        Finding r = issueRow(Kind::MasterMissing, i, VupMode::kMasterMissingKeyword, false,
                             taggedMasterMissing.contains(i));
        r.aboutMaster = true;
        return r;
    }

    static Finding fileRow(Kind kind, const QByteArray& path, const QByteArray& whereNow,
                           const QString& action, const QString& reason) {
        Finding r;
        r.kind = kind;
        r.aboutMaster = true;
        r.masterPath = QFile::decodeName(path);
        r.fileName = r.masterPath.mid(r.masterPath.lastIndexOf(u'/') + 1);
        r.action = action;
        r.reason = reason;
        r.native = path;
        if (whereNow == path) {
            r.imagePath = r.masterPath;
        } else {
            r.nativeNow = whereNow;
            r.imagePath = QFile::decodeName(whereNow);
        }
        return r;
    }

    void appendZombies(QList<Finding>& out) const {
        const ZombieRecoveryReport& rec = f.recovery;
        QSet<QByteArray> recovered;
        for (const ZombieRecoveryReport::Zombie& z : rec.zombies) {
            recovered.insert(z.path);
            out.append(zombieRow(z));
        }
        // Found but never handed to the recovery: a preview, or a run stopped before it.
        for (const QByteArray& z : f.zombies) {
            if (recovered.contains(z))
                continue;
            out.append(f.dryRun
                           ? fileRow(Kind::Zombie, z, z, kWouldReAdd, QString())
                           : fileRow(Kind::Zombie, z, z, kLeftAlone, rec.cancelled ? kCancelled : untouched));
        }
    }

    Finding zombieRow(const ZombieRecoveryReport::Zombie& z) const {
        const ZombieRecoveryReport& rec = f.recovery;
        switch (z.state) {
        case ZombieState::ReAdded:
            // Its picture and its folder are those of the library's copy, when the run saw it.
            return fileRow(Kind::Zombie, z.path, z.addedAs.isEmpty() ? z.path : z.addedAs,
                           kReAdded.arg(rec.albumName), QString());
        case ZombieState::PutBack:
            return fileRow(Kind::Zombie, z.path, z.path, kPutBack, rec.cancelled ? kCancelled : kNotImported);
        case ZombieState::NotMoved:
            return fileRow(Kind::Zombie, z.path, z.path, kLeftInPlace,
                           rec.cancelled ? kCancelled : kNotMoved);
        case ZombieState::Missing:
            return fileRow(Kind::Zombie, z.path, z.path, kGone, kNoLongerParked);
        case ZombieState::Referenced:
            return fileRow(Kind::Zombie, z.path, z.path, kLeftInPlace, kNamedByAPhoto);
        case ZombieState::Appeared:
            return fileRow(Kind::Zombie, z.path, z.path, kLeftInPlace, kAppeared);
        case ZombieState::Planned:
        case ZombieState::Parked:
            break;
        }
        return fileRow(Kind::Zombie, z.path, z.parkedAt.isEmpty() ? z.path : z.parkedAt, kStillParked,
                       rec.applicationLost ? kFinishLater : kPathTaken);
    }

    const ScanFindings& f;
    QSet<qsizetype> removed, taggedMissing, taggedMasterMissing;
    QMultiHash<qsizetype, const ScanFindings::FailedChange*> refused;
    QString untouched; // why a photo with an issue got no change at all
};

} // namespace

const QString& Finding::path() const {
    return aboutMaster ? masterPath : imagePath;
}

QByteArray Finding::pictureFile() const {
    if (!nativeNow.isEmpty())
        return nativeNow;
    return native.isEmpty() ? QFile::encodeName(imagePath) : native;
}

QByteArray Finding::location() const {
    if (!nativeNow.isEmpty())
        return nativeNow;
    return native.isEmpty() ? QFile::encodeName(path()) : native;
}

FindingsTable findingsTable(const ScanFindings& f) {
    FindingsTable table;
    FindingsTable::Summary& s = table.summary;
    s.outcome = outcomeName(f.outcome);
    s.dryRun = f.dryRun;
    s.selectionMode = f.selectionMode;
    s.deleteMode = f.deleteMode;
    s.ended = QDateTime::currentDateTime();
    s.library = libraryOf(f);
    s.summary = f.summary;
    s.failure = f.failure;
    s.photos = f.photos.size();
    s.changes = f.changeCount();
    s.unchecked = f.unchecked.size();
    s.refused = f.failedChanges.size();
    s.zombies = f.zombies.size();
    s.zombiesReAdded = f.recovery.count(ZombieState::ReAdded);
    s.zombiesNotReAdded = f.recovery.zombies.size() - s.zombiesReAdded;
    s.zombieDetectionSkipped = f.zombieDetectionSkipped;
    if (f.dryRun && f.selectionMode) {
        s.previewedPhotos.reserve(f.photos.size());
        for (const iPhotoPhoto& p : f.photos)
            s.previewedPhotos.append(p.id());
    }
    table.rows = Builder(f).rows();
    return table;
}

QString findingKindName(Finding::Kind kind) {
    switch (kind) {
    case Kind::ImageMissing:
        return QStringLiteral("image missing");
    case Kind::MasterMissing:
        return QStringLiteral("master missing");
    case Kind::Unchecked:
        return QStringLiteral("unchecked");
    case Kind::ChangeRefused:
        return QStringLiteral("change refused");
    case Kind::Zombie:
        return QStringLiteral("zombie");
    case Kind::LinkLeftAlone:
        return QStringLiteral("linked item");
    }
    return {};
}

namespace {

// "1 photo", "2 photos".
QString counted(qint64 n, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1StringView(n == 1 ? one : many));
}

} // namespace

QString findingsHeadline(const FindingsTable::Summary& s) {
    const QString scan = s.selectionMode ? QStringLiteral("selection scan") : QStringLiteral("library scan");
    QString what = s.dryRun ? QStringLiteral("Preview of a ") + scan : scan;
    what[0] = what[0].toUpper();
    if (!s.library.isEmpty())
        what += QStringLiteral(" of ") + s.library;
    const QString when = s.ended.isValid() ? QLocale().toString(s.ended, QLocale::ShortFormat) : QString();
    // How it ended comes first, in words: counts alone read as success.
    QStringList parts{s.outcome};
    const bool wentToEnd = s.outcome == u"completed" || s.outcome == u"incomplete";
    if (s.dryRun) {
        parts.append(counted(s.changes, "issue", "issues") +
                     (wentToEnd ? QStringLiteral(" would be tagged or removed")
                                : QStringLiteral(" found before it stopped")));
        if (s.unchecked)
            parts.append(counted(s.unchecked, "photo", "photos") + QStringLiteral(" could not be checked"));
        if (s.zombies)
            parts.append(counted(s.zombies, "zombie", "zombies") + QStringLiteral(" would be re-added"));
        if (!s.zombieDetectionSkipped.isEmpty())
            parts.append(kDetectionSkipped);
        parts.append(QStringLiteral("nothing was changed"));
        return QStringLiteral("%1, %2: %3").arg(what, when, parts.join(QStringLiteral(" · ")));
    }
    parts.append(counted(s.changes, "issue", "issues") + QStringLiteral(" tagged or removed"));
    if (s.unchecked)
        parts.append(counted(s.unchecked, "photo", "photos") + QStringLiteral(" could not be checked"));
    if (s.refused)
        parts.append(counted(s.refused, "change", "changes") + QStringLiteral(" refused"));
    if (s.zombiesReAdded)
        parts.append(counted(s.zombiesReAdded, "zombie", "zombies") + QStringLiteral(" re-added"));
    if (s.zombiesNotReAdded)
        parts.append(counted(s.zombiesNotReAdded, "zombie", "zombies") + QStringLiteral(" not re-added"));
    if (!s.zombieDetectionSkipped.isEmpty())
        parts.append(kDetectionSkipped);
    return QStringLiteral("%1, %2: %3").arg(what, when, parts.join(QStringLiteral(" · ")));
}
