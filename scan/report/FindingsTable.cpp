/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "scan/report/FindingsTable.h"

#include "bridge/iPhotoTypes.h"
#include "l10n/ShownText.h"
#include "platform/FileAccess.h"
#include "scan/report/ScanFindings.h"
#include "scan/report/ScanFindingsJson.h"

#include <QCoreApplication>
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

constexpr const char* kRemoved = QT_TRANSLATE_NOOP("Findings", "removed");
constexpr const char* kWouldRemove = QT_TRANSLATE_NOOP("Findings", "would remove");
constexpr const char* kTagged = QT_TRANSLATE_NOOP("Findings", "tagged \"%1\"");
constexpr const char* kWouldTag = QT_TRANSLATE_NOOP("Findings", "would tag \"%1\"");
constexpr const char* kNotRemoved = QT_TRANSLATE_NOOP("Findings", "not removed");
constexpr const char* kNotTagged = QT_TRANSLATE_NOOP("Findings", "not tagged \"%1\"");
constexpr const char* kLeftAlone = QT_TRANSLATE_NOOP("Findings", "left alone");
constexpr const char* kReAdded = QT_TRANSLATE_NOOP("Findings", "re-added to album \"%1\"");
// Imported where it lay, by an application whose albums are tags.
constexpr const char* kReAddedInPlace =
    QT_TRANSLATE_NOOP("Findings", "re-added where it lies, tagged \"%1\"");
constexpr const char* kWouldReAdd = QT_TRANSLATE_NOOP("Findings", "would be re-added");
constexpr const char* kPutBack = QT_TRANSLATE_NOOP("Findings", "put back");
constexpr const char* kLeftInPlace = QT_TRANSLATE_NOOP("Findings", "left in place");
constexpr const char* kStillParked = QT_TRANSLATE_NOOP("Findings", "still parked");
constexpr const char* kGone = QT_TRANSLATE_NOOP("Findings", "gone");

constexpr const char* kNullImagePath =
    QT_TRANSLATE_NOOP("Findings", "its image path is a missing value, so its image file cannot be checked");
constexpr const char* kNoImagePath = QT_TRANSLATE_NOOP("Findings", "no image path was given for it");
constexpr const char* kOnlyNameMissing =
    QT_TRANSLATE_NOOP("Findings", "its image file exists; only its file name is a missing value");
constexpr const char* kCancelledFirst =
    QT_TRANSLATE_NOOP("Findings", "the scan was cancelled before its changes began");
constexpr const char* kEndedFirst = QT_TRANSLATE_NOOP("Findings", "the scan ended before Vup got to it");
constexpr const char* kNotImported =
    QT_TRANSLATE_NOOP("Findings", "the import did not bring it into the album");
constexpr const char* kCancelled = QT_TRANSLATE_NOOP("Findings", "the scan was cancelled");
constexpr const char* kNotMoved = QT_TRANSLATE_NOOP("Findings", "it could not be moved out of the library");
constexpr const char* kFinishLater =
    QT_TRANSLATE_NOOP("Findings", "photoapp stopped responding; Vup finishes its recovery at its next run");
constexpr const char* kPathTaken =
    QT_TRANSLATE_NOOP("Findings", "its place was taken, so it could not be put back");
constexpr const char* kNamedByAPhoto = QT_TRANSLATE_NOOP("Findings", "a photo names it: it is no zombie");
constexpr const char* kAppeared = QT_TRANSLATE_NOOP("Findings", "it appeared during the scan");
constexpr const char* kNoLongerParked =
    QT_TRANSLATE_NOOP("Findings", "it was no longer where Vup had parked it");
constexpr const char* kLinkLeftAlone =
    QT_TRANSLATE_NOOP("Findings", "a symbolic link is never moved or imported");
constexpr const char* kDetectionSkipped = QT_TRANSLATE_NOOP("Findings", "zombie detection skipped");

} // namespace

const char* const kZombieUnreadableText = QT_TRANSLATE_NOOP("Findings", "it cannot be read: %1");

namespace {

// Rows hold the English: the report, the CSV and the stored last run read them. The view translates
// them as it shows them (findingTextShown).
QString en(const char* text) {
    return QString::fromUtf8(text);
}

// The first package any path of the run lies in: a library's photos all lie in it.
QString libraryOf(const ScanFindings& f) {
    for (const TextColumn* list : {&f.originals, &f.paths}) {
        QString path;
        for (qsizetype i = 0; i < list->size(); ++i) {
            if (!list->isText(i))
                continue;
            list->textInto(i, path);
            if (const std::optional<QString> package = FileAccess::libraryPackagePath(path))
                return *package;
        }
    }
    for (const QByteArray& zombie : f.zombies) {
        if (const std::optional<QString> package = FileAccess::libraryPackagePath(QFile::decodeName(zombie)))
            return *package;
    }
    return {};
}

QString entry(const TextColumn& list, qsizetype i) {
    return i < list.size() ? list.text(i) : QString();
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
            untouched = en(kCancelledFirst);
            break;
        case Outcome::Completed:
        case Outcome::Incomplete:
            break;
        default:
            untouched = en(kEndedFirst);
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
            out.append(fileRow(Kind::LinkLeftAlone, link, link, en(kLeftAlone), en(kLinkLeftAlone)));
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
        r.action = en(kLeftAlone);
        r.reason = u.reason;
        return r;
    }

    // Why a photo whose image is missing was tagged: only a path naming a file that is gone lets
    // a photo be removed, and with no usable path there is no file to look for.
    QString imageReason(qsizetype i, bool wasTagged) const {
        const bool listed = i < f.paths.size();
        if (listed && f.paths.kind(i) == TextColumn::Kind::Null)
            return en(kNullImagePath);
        if (!listed || !f.paths.isText(i) || f.paths.text(i).isEmpty())
            return en(kNoImagePath);
        return f.deleteMode && wasTagged ? en(kOnlyNameMissing) : QString();
    }

    // The row of one issue of a photo: the change made, the change refused, or nothing.
    Finding issueRow(Kind kind, qsizetype i, const QString& keyword, bool removable, bool tagged) const {
        Finding r = photoRow(kind, i);
        const bool dry = f.dryRun;
        if (removable && removed.contains(i)) {
            r.action = dry ? en(kWouldRemove) : en(kRemoved);
            return r;
        }
        if (tagged) {
            r.action = en(dry ? kWouldTag : kTagged).arg(keyword);
            return r;
        }
        const QString tagAction = kRefusedTag.arg(keyword);
        for (auto it = refused.constFind(i); it != refused.cend() && it.key() == i; ++it) {
            const ScanFindings::FailedChange& c = **it;
            if (c.action == tagAction || (removable && c.action == kRefusedRemove)) {
                r.kind = Kind::ChangeRefused;
                r.action = c.action == kRefusedRemove ? en(kNotRemoved) : en(kNotTagged).arg(keyword);
                r.reason = c.reason;
                return r;
            }
        }
        r.action = en(kLeftAlone);
        r.reason = untouched;
        return r;
    }

    Finding imageRow(qsizetype i) const {
        const bool tagged = taggedMissing.contains(i);
        Finding r = issueRow(Kind::ImageMissing, i, QString::fromLatin1(ScanFindings::kMissingKeyword),
                             f.deleteMode, tagged);
        if (r.reason.isEmpty())
            r.reason = imageReason(i, tagged);
        return r;
    }

    Finding masterRow(qsizetype i) const {
        Finding r = issueRow(Kind::MasterMissing, i, QString::fromLatin1(ScanFindings::kMasterMissingKeyword),
                             false, taggedMasterMissing.contains(i));
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
            out.append(f.dryRun ? fileRow(Kind::Zombie, z, z, en(kWouldReAdd), QString())
                                : fileRow(Kind::Zombie, z, z, en(kLeftAlone),
                                          rec.cancelled ? en(kCancelled) : untouched));
        }
    }

    Finding zombieRow(const ZombieRecoveryReport::Zombie& z) const {
        const ZombieRecoveryReport& rec = f.recovery;
        switch (z.state) {
        case ZombieState::ReAdded:
            // Its picture and its folder are those of the library's copy, when the run saw it.
            return fileRow(Kind::Zombie, z.path, z.addedAs.isEmpty() ? z.path : z.addedAs,
                           en(rec.importedInPlace ? kReAddedInPlace : kReAdded).arg(rec.albumName),
                           QString());
        case ZombieState::PutBack:
            return fileRow(Kind::Zombie, z.path, z.path, en(kPutBack),
                           rec.cancelled ? en(kCancelled) : en(kNotImported));
        case ZombieState::NotMoved: {
            // Imported where it lies: what kept it out is the application's refusal, or why it
            // could not be read.
            const QString refusal = rec.importedInPlace ? rec.refusals.value(z.path) : QString();
            return fileRow(Kind::Zombie, z.path, z.path, en(kLeftInPlace),
                           rec.cancelled        ? en(kCancelled)
                           : !refusal.isEmpty() ? refusal
                                                : en(kNotMoved));
        }
        case ZombieState::Missing:
            return fileRow(Kind::Zombie, z.path, z.path, en(kGone), en(kNoLongerParked));
        case ZombieState::Referenced:
            return fileRow(Kind::Zombie, z.path, z.path, en(kLeftInPlace), en(kNamedByAPhoto));
        case ZombieState::Appeared:
            return fileRow(Kind::Zombie, z.path, z.path, en(kLeftInPlace), en(kAppeared));
        case ZombieState::Planned:
        case ZombieState::Parked:
            break;
        }
        return fileRow(Kind::Zombie, z.path, z.parkedAt.isEmpty() ? z.path : z.parkedAt, en(kStillParked),
                       rec.applicationLost ? en(kFinishLater) : en(kPathTaken));
    }

    const ScanFindings& f;
    QSet<qsizetype> removed, taggedMissing, taggedMasterMissing;
    QMultiHash<qsizetype, const ScanFindings::FailedChange*> refused;
    QString untouched; // why a photo with an issue got no change at all
};

// "image missing", "master missing", ...: English for the CSV, translated for the view.
const char* kindSource(Kind kind) {
    switch (kind) {
    case Kind::ImageMissing:
        return QT_TRANSLATE_NOOP("Findings", "image missing");
    case Kind::MasterMissing:
        return QT_TRANSLATE_NOOP("Findings", "master missing");
    case Kind::Unchecked:
        return QT_TRANSLATE_NOOP("Findings", "unchecked");
    case Kind::ChangeRefused:
        return QT_TRANSLATE_NOOP("Findings", "change refused");
    case Kind::Zombie:
        return QT_TRANSLATE_NOOP("Findings", "zombie");
    case Kind::LinkLeftAlone:
        return QT_TRANSLATE_NOOP("Findings", "linked item");
    }
    return "";
}

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
    s.application = f.application;
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
    return en(kindSource(kind));
}

QString findingKindLabel(Finding::Kind kind) {
    return QCoreApplication::translate("Findings", kindSource(kind));
}

QString findingTextShown(const QString& text) {
    static const ShownText shown("Findings", {kRemoved,
                                              kWouldRemove,
                                              kTagged,
                                              kWouldTag,
                                              kNotRemoved,
                                              kNotTagged,
                                              kLeftAlone,
                                              kReAdded,
                                              kReAddedInPlace,
                                              kWouldReAdd,
                                              kPutBack,
                                              kLeftInPlace,
                                              kStillParked,
                                              kGone,
                                              kNullImagePath,
                                              kNoImagePath,
                                              kOnlyNameMissing,
                                              kCancelledFirst,
                                              kEndedFirst,
                                              kNotImported,
                                              kCancelled,
                                              kNotMoved,
                                              kFinishLater,
                                              kPathTaken,
                                              kNamedByAPhoto,
                                              kAppeared,
                                              kNoLongerParked,
                                              kLinkLeftAlone,
                                              kZombieUnreadableText});
    static const ShownText unchecked("VupMode",
                                     {ScanFindings::kUncheckedProperties, ScanFindings::kUncheckedImage,
                                      ScanFindings::kUncheckedMaster, ScanFindings::kChangeNotConfirmed});
    const QString translated = shown(text);
    return translated == text ? unchecked(text) : translated;
}

QString findingsOutcomeShown(const QString& outcome) {
    static const ShownText shown(
        "Findings", {QT_TRANSLATE_NOOP("Findings", "completed"), QT_TRANSLATE_NOOP("Findings", "incomplete"),
                     QT_TRANSLATE_NOOP("Findings", "failed"), QT_TRANSLATE_NOOP("Findings", "cancelled"),
                     QT_TRANSLATE_NOOP("Findings", "refused"), QT_TRANSLATE_NOOP("Findings", "not run")});
    return shown(outcome);
}

namespace {

// "1 photo could not be checked", "2 photos could not be checked": English words a count of one
// apart from the %n form; other languages count with %n alone.
QString counted(qint64 n, const char* one, const char* many) {
    return n == 1 ? QCoreApplication::translate("Findings", one)
                  : QCoreApplication::translate("Findings", many, nullptr, int(n));
}

// What ran on which library, as one sentence for each case so that a language can order it.
QString whatRan(const FindingsTable::Summary& s) {
    const bool named = !s.library.isEmpty();
    const char* text = nullptr;
    if (s.dryRun && s.selectionMode)
        text = named ? QT_TRANSLATE_NOOP("Findings", "Preview of a selection scan of %1")
                     : QT_TRANSLATE_NOOP("Findings", "Preview of a selection scan");
    else if (s.dryRun)
        text = named ? QT_TRANSLATE_NOOP("Findings", "Preview of a library scan of %1")
                     : QT_TRANSLATE_NOOP("Findings", "Preview of a library scan");
    else if (s.selectionMode)
        text = named ? QT_TRANSLATE_NOOP("Findings", "Selection scan of %1")
                     : QT_TRANSLATE_NOOP("Findings", "Selection scan");
    else
        text = named ? QT_TRANSLATE_NOOP("Findings", "Library scan of %1")
                     : QT_TRANSLATE_NOOP("Findings", "Library scan");
    const QString what = QCoreApplication::translate("Findings", text);
    return named ? what.arg(s.library) : what;
}

} // namespace

QString findingsHeadline(const FindingsTable::Summary& s) {
    const QString when = s.ended.isValid() ? QLocale().toString(s.ended, QLocale::ShortFormat) : QString();
    // How it ended comes first, in words: counts alone read as success.
    QStringList parts{findingsOutcomeShown(s.outcome)};
    const bool wentToEnd = s.outcome == u"completed" || s.outcome == u"incomplete";
    if (s.dryRun) {
        parts.append(
            wentToEnd
                ? counted(s.changes, QT_TRANSLATE_NOOP("Findings", "1 issue would be tagged or removed"),
                          QT_TRANSLATE_N_NOOP("Findings", "%n issues would be tagged or removed"))
                : counted(s.changes, QT_TRANSLATE_NOOP("Findings", "1 issue found before it stopped"),
                          QT_TRANSLATE_N_NOOP("Findings", "%n issues found before it stopped")));
    } else {
        parts.append(counted(s.changes, QT_TRANSLATE_NOOP("Findings", "1 issue tagged or removed"),
                             QT_TRANSLATE_N_NOOP("Findings", "%n issues tagged or removed")));
    }
    if (s.unchecked)
        parts.append(counted(s.unchecked, QT_TRANSLATE_NOOP("Findings", "1 photo could not be checked"),
                             QT_TRANSLATE_N_NOOP("Findings", "%n photos could not be checked")));
    if (s.dryRun) {
        if (s.zombies)
            parts.append(counted(s.zombies, QT_TRANSLATE_NOOP("Findings", "1 zombie would be re-added"),
                                 QT_TRANSLATE_N_NOOP("Findings", "%n zombies would be re-added")));
    } else {
        if (s.refused)
            parts.append(counted(s.refused, QT_TRANSLATE_NOOP("Findings", "1 change refused"),
                                 QT_TRANSLATE_N_NOOP("Findings", "%n changes refused")));
        if (s.zombiesReAdded)
            parts.append(counted(s.zombiesReAdded, QT_TRANSLATE_NOOP("Findings", "1 zombie re-added"),
                                 QT_TRANSLATE_N_NOOP("Findings", "%n zombies re-added")));
        if (s.zombiesNotReAdded)
            parts.append(counted(s.zombiesNotReAdded, QT_TRANSLATE_NOOP("Findings", "1 zombie not re-added"),
                                 QT_TRANSLATE_N_NOOP("Findings", "%n zombies not re-added")));
    }
    if (!s.zombieDetectionSkipped.isEmpty())
        parts.append(QCoreApplication::translate("Findings", kDetectionSkipped));
    if (s.dryRun)
        parts.append(QCoreApplication::translate("Findings", "nothing was changed"));
    //: %1 what ran on which library, %2 when it ended, %3 how it ended and its counts
    return QCoreApplication::translate("Findings", "%1, %2: %3")
        .arg(whatRan(s), when, parts.join(QStringLiteral(" · ")));
}
