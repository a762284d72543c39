/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "scan/ZombieSummary.h"

#include "scan/ScanFindings.h"

#include <QFile>
#include <QJsonArray>

namespace {

const QString kReAdded = QStringLiteral(
    "%1 Zombies were detected and re-added to your library.  They are located in the Vup Zombies Album.");
const QString kWouldReAdd = QStringLiteral("%1 zombies would be re-added to your library.");
const QString kPutBack =
    QStringLiteral("%1 zombies could not be re-added and were put back where they were.");
const QString kStillParked = QStringLiteral("%1 are still parked in %2.");
const QString kFinishLater =
    QStringLiteral("Vup finishes their recovery at its next run, with photoapp running.");
const QString kMissing = QStringLiteral("%1 zombies were no longer where Vup had parked them.");
const QString kLinks = QStringLiteral("%1 linked items in the Masters folder were left alone.");
const QString kLink = QStringLiteral("1 linked item in the Masters folder was left alone.");
const QString kSkipped = QStringLiteral("Zombie detection was skipped: %1");
// Imported in place: nothing was parked, so nothing was put back either.
const QString kReAddedInPlace = QStringLiteral(
    "%1 Zombies were detected and re-added to your library where they lie.  They carry the tag \"%2\".");
const QString kRefusedInPlace =
    QStringLiteral("%1 zombies were not imported by %2; the report gives its reasons.");
const QString kVanishedInPlace = QStringLiteral("%1 zombies were gone before they could be imported.");
const QString kLinksInPlace = QStringLiteral("%1 linked items in the film-roll folders were left alone.");

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
        sentences.append(f.resumedRecovery.split(QLatin1Char('\n')));
    if (!f.zombieDetectionSkipped.isEmpty())
        sentences.append(kSkipped.arg(f.zombieDetectionSkipped));
    if (f.dryRun && !f.zombies.isEmpty())
        sentences.append(kWouldReAdd.arg(f.zombies.size()));
    if (r.importedInPlace) {
        if (const qsizetype n = r.count(ZombieState::ReAdded))
            sentences.append(kReAddedInPlace.arg(n).arg(r.albumName));
        if (const qsizetype n = r.count(ZombieState::NotMoved))
            sentences.append(kRefusedInPlace.arg(n).arg(f.application));
        if (const qsizetype n = r.count(ZombieState::Missing))
            sentences.append(kVanishedInPlace.arg(n));
        if (!r.linksLeftAlone.isEmpty())
            sentences.append(kLinksInPlace.arg(r.linksLeftAlone.size()));
        return sentences.isEmpty() ? QString()
                                   : QStringLiteral("\n\n") + sentences.join(QStringLiteral("  "));
    }
    if (const qsizetype n = r.count(ZombieState::ReAdded))
        sentences.append(kReAdded.arg(n));
    if (const qsizetype n = r.count(ZombieState::PutBack) + r.count(ZombieState::NotMoved))
        sentences.append(kPutBack.arg(n));
    if (const qsizetype n = stillParked(r)) {
        sentences.append(kStillParked.arg(n).arg(QFile::decodeName(r.parkFolder)));
        if (r.applicationLost)
            sentences.append(kFinishLater);
    }
    if (const qsizetype n = r.count(ZombieState::Missing))
        sentences.append(kMissing.arg(n));
    if (!r.linksLeftAlone.isEmpty())
        sentences.append(r.linksLeftAlone.size() == 1 ? kLink : kLinks.arg(r.linksLeftAlone.size()));
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

QList<QByteArray> zombieListing(const ScanFindings& f) {
    QList<QByteArray> lines;
    if (f.dryRun) {
        for (const QByteArray& z : f.zombies)
            lines.append("would recover zombie: " + z);
    }
    for (const ZombieRecoveryReport::Zombie& z : f.recovery.zombies) {
        const QByteArray state = stateName(z.state).toLatin1();
        lines.append(z.parkedAt.isEmpty() ? "zombie " + state + ": " + z.path
                                          : "zombie " + state + ": " + z.parkedAt + " (from " + z.path + ')');
    }
    for (const QByteArray& link : f.recovery.linksLeftAlone)
        lines.append("linked item left alone: " + link);
    return lines;
}
