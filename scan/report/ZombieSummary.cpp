/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "scan/report/ZombieSummary.h"

#include "scan/report/ScanFindings.h"
#include "scan/zombies/RecoveryResume.h"
#include "scan/zombies/ZombieDetector.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>

namespace {

constexpr const char* kReAdded =
    QT_TRANSLATE_N_NOOP("ZombieSummary", "%n Zombies were detected and re-added to your library.  They are "
                                         "located in the Vup Zombies Album.");
constexpr const char* kWouldReAdd =
    QT_TRANSLATE_N_NOOP("ZombieSummary", "%n zombies would be re-added to your library.");
constexpr const char* kPutBack = QT_TRANSLATE_N_NOOP(
    "ZombieSummary", "%n zombies could not be re-added and were put back where they were.");
constexpr const char* kStillParked = QT_TRANSLATE_N_NOOP("ZombieSummary", "%n are still parked in %1.");
constexpr const char* kFinishLater =
    QT_TRANSLATE_NOOP("ZombieSummary", "Vup finishes their recovery at its next run, with photoapp running.");
constexpr const char* kMissing =
    QT_TRANSLATE_N_NOOP("ZombieSummary", "%n zombies were no longer where Vup had parked them.");
constexpr const char* kLinks =
    QT_TRANSLATE_N_NOOP("ZombieSummary", "%n linked items in the Masters folder were left alone.");
constexpr const char* kLink =
    QT_TRANSLATE_NOOP("ZombieSummary", "1 linked item in the Masters folder was left alone.");
constexpr const char* kSkipped = QT_TRANSLATE_NOOP("ZombieSummary", "Zombie detection was skipped: %1");

QString translated(const char* text) {
    return QCoreApplication::translate("ZombieSummary", text);
}

QString translated(const char* text, qsizetype n) {
    return QCoreApplication::translate("ZombieSummary", text, nullptr, int(n));
}
// Imported in place: nothing was parked, so nothing was put back either.
constexpr const char* kReAddedInPlace = QT_TRANSLATE_N_NOOP(
    "ZombieSummary", "%n Zombies were detected and re-added to your library where they lie.  "
                     "They carry the tag \"%1\".");
constexpr const char* kRefusedInPlace =
    QT_TRANSLATE_N_NOOP("ZombieSummary", "%n zombies were not imported by %1; the report gives its reasons.");
constexpr const char* kVanishedInPlace =
    QT_TRANSLATE_N_NOOP("ZombieSummary", "%n zombies were gone before they could be imported.");
constexpr const char* kLinksInPlace =
    QT_TRANSLATE_N_NOOP("ZombieSummary", "%n linked items in the film-roll folders were left alone.");

QString stateName(ZombieState state) {
    switch (state) {
    case ZombieState::Planned:
        return QStringLiteral("planned");
    case ZombieState::Parked:
        return QStringLiteral("parked");
    case ZombieState::ReAdded:
        return QStringLiteral("imported-verified");
    case ZombieState::PutBack:
        return QStringLiteral("put-back");
    case ZombieState::NotMoved:
        return QStringLiteral("not-moved");
    case ZombieState::Missing:
        return QStringLiteral("missing");
    case ZombieState::Referenced:
        return QStringLiteral("left in place: a photo names it");
    case ZombieState::Appeared:
        return QStringLiteral("left in place: appeared during the scan");
    }
    return {};
}

qsizetype stillParked(const ZombieRecoveryReport& r) {
    return r.count(ZombieState::Parked) + r.count(ZombieState::Planned);
}

} // namespace

QString zombieSummary(const ScanFindings& f) {
    const ZombieRecoveryReport& r = f.recovery;
    QStringList sentences;
    if (!f.resumedRecovery.isEmpty())
        sentences.append(RecoveryResume::shownLines(f.resumedRecovery).split(QLatin1Char('\n')));
    if (!f.zombieDetectionSkipped.isEmpty())
        sentences.append(translated(kSkipped).arg(ZombieDetector::shownReason(f.zombieDetectionSkipped)));
    if (f.dryRun && !f.zombies.isEmpty())
        sentences.append(translated(kWouldReAdd, f.zombies.size()));
    if (r.importedInPlace) {
        if (const qsizetype n = r.count(ZombieState::ReAdded))
            sentences.append(translated(kReAddedInPlace, n).arg(r.albumName));
        if (const qsizetype n = r.count(ZombieState::NotMoved))
            sentences.append(translated(kRefusedInPlace, n).arg(f.application));
        if (const qsizetype n = r.count(ZombieState::Missing))
            sentences.append(translated(kVanishedInPlace, n));
        if (!r.linksLeftAlone.isEmpty())
            sentences.append(translated(kLinksInPlace, r.linksLeftAlone.size()));
        return sentences.isEmpty() ? QString()
                                   : QStringLiteral("\n\n") + sentences.join(QStringLiteral("  "));
    }
    if (const qsizetype n = r.count(ZombieState::ReAdded))
        sentences.append(translated(kReAdded, n));
    if (const qsizetype n = r.count(ZombieState::PutBack) + r.count(ZombieState::NotMoved))
        sentences.append(translated(kPutBack, n));
    if (const qsizetype n = stillParked(r)) {
        sentences.append(translated(kStillParked, n).arg(QFile::decodeName(r.parkFolder)));
        if (r.applicationLost)
            sentences.append(translated(kFinishLater));
    }
    if (const qsizetype n = r.count(ZombieState::Missing))
        sentences.append(translated(kMissing, n));
    // English words one linked item apart from the count; other languages count with %n alone.
    if (!r.linksLeftAlone.isEmpty())
        sentences.append(r.linksLeftAlone.size() == 1 ? translated(kLink)
                                                      : translated(kLinks, r.linksLeftAlone.size()));
    return sentences.isEmpty() ? QString() : QStringLiteral("\n\n") + sentences.join(QStringLiteral("  "));
}

bool zombieStageComplete(const ScanFindings& f) {
    return f.zombieDetectionSkipped.isEmpty() && f.recovery.complete();
}

QJsonObject recoveryToJson(const ZombieRecoveryReport& r) {
    // JSON holds text: a name that is not UTF-8 shows its undecodable bytes as U+FFFD here; the
    // terminal's listing keeps the bytes.
    QJsonArray zombies;
    for (const ZombieRecoveryReport::Zombie& z : r.zombies) {
        QJsonObject zombie{{QStringLiteral("path"), QFile::decodeName(z.path)},
                           {QStringLiteral("state"), stateName(z.state)}};
        if (!z.parkedAt.isEmpty())
            zombie.insert(QStringLiteral("parkedAt"), QFile::decodeName(z.parkedAt));
        if (const auto refusal = r.refusals.constFind(z.path); refusal != r.refusals.constEnd())
            zombie.insert(QStringLiteral("refusal"), *refusal);
        zombies.append(zombie);
    }
    QJsonArray links;
    for (const QByteArray& link : r.linksLeftAlone)
        links.append(QFile::decodeName(link));
    const QJsonObject counts{
        {QStringLiteral("reAdded"), qint64(r.count(ZombieState::ReAdded))},
        {QStringLiteral("putBack"), qint64(r.count(ZombieState::PutBack))},
        {QStringLiteral("notMoved"), qint64(r.count(ZombieState::NotMoved))},
        {QStringLiteral("stillParked"), qint64(stillParked(r))},
        {QStringLiteral("missing"), qint64(r.count(ZombieState::Missing))},
        {QStringLiteral("leftInPlace"), qint64(r.leftInPlace())},
        {QStringLiteral("linksLeftAlone"), qint64(r.linksLeftAlone.size())},
    };
    return QJsonObject{
        {QStringLiteral("album"), r.albumName},
        {QStringLiteral("journal"), QFile::decodeName(r.journal)},
        {QStringLiteral("parkFolder"), QFile::decodeName(r.parkFolder)},
        {QStringLiteral("complete"), r.complete()},
        {QStringLiteral("cancelled"), r.cancelled},
        {QStringLiteral("applicationLost"), r.applicationLost},
        {QStringLiteral("zombies"), zombies},
        {QStringLiteral("linksLeftAlone"), links},
        {QStringLiteral("counts"), counts},
    };
}

namespace {

// The listing's words; each zombie's state stays the report's name for it, so that the two match.
constexpr const char* kWouldRecover = QT_TRANSLATE_NOOP("ZombieSummary", "would recover zombie: %1");
constexpr const char* kZombieState = QT_TRANSLATE_NOOP("ZombieSummary", "zombie %1: %2");
constexpr const char* kParkedZombieState = QT_TRANSLATE_NOOP("ZombieSummary", "zombie %1: %2 (from %3)");
constexpr const char* kLinkListed = QT_TRANSLATE_NOOP("ZombieSummary", "linked item left alone: %1");

// The translation, as UTF-8, with each %N replaced by its bytes at once: names keep every byte,
// and a name holding "%2" stays as it is.
QByteArray listed(const char* format, const QList<QByteArray>& values) {
    const QByteArray text = translated(format).toUtf8();
    QByteArray out;
    out.reserve(text.size() + 64);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text.at(i + 1) : '\0';
        if (text.at(i) == '%' && next >= '1' && next - '0' <= values.size()) {
            out += values.at(next - '1');
            ++i;
            continue;
        }
        out += text.at(i);
    }
    return out;
}

} // namespace

QList<QByteArray> zombieListing(const ScanFindings& f) {
    QList<QByteArray> lines;
    if (f.dryRun) {
        for (const QByteArray& z : f.zombies)
            lines.append(listed(kWouldRecover, {z}));
    }
    for (const ZombieRecoveryReport::Zombie& z : f.recovery.zombies) {
        const QByteArray state = stateName(z.state).toLatin1();
        lines.append(z.parkedAt.isEmpty() ? listed(kZombieState, {state, z.path})
                                          : listed(kParkedZombieState, {state, z.parkedAt, z.path}));
    }
    for (const QByteArray& link : f.recovery.linksLeftAlone)
        lines.append(listed(kLinkListed, {link}));
    return lines;
}
