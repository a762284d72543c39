#include "scan/ScanFindingsJson.h"

#include "bridge/iPhotoTypes.h"
#include "scan/ZombieSummary.h"

#include <QFile>
#include <QJsonArray>
#include <QMap>
#include <QSet>

namespace {

// JSON holds text: a name that is not UTF-8 shows its undecodable bytes as U+FFFD here; the
// listing on standard output keeps the bytes.
QJsonArray zombieNames(const QList<QByteArray>& zombies) {
    QJsonArray names;
    for (const QByteArray& z : zombies)
        names.append(QFile::decodeName(z));
    return names;
}

QJsonValue entryValue(const QVariantList& list, qsizetype i) {
    if (i >= list.size())
        return QJsonValue(QJsonValue::Undefined);
    const QVariant& v = list.at(i);
    if (isNullMarker(v))
        return QJsonValue(QJsonValue::Null);
    return QJsonValue(v.toString());
}

} // namespace

QString outcomeName(ScanFindings::Outcome outcome) {
    using O = ScanFindings::Outcome;
    switch (outcome) {
    case O::NotRun:
        return QStringLiteral("not run");
    case O::Completed:
        return QStringLiteral("completed");
    case O::Incomplete:
        return QStringLiteral("incomplete");
    case O::Failed:
    case O::ListsIncomplete:
        return QStringLiteral("failed");
    case O::Cancelled:
        return QStringLiteral("cancelled");
    case O::VersionRefused:
    case O::KeywordsRefused:
    case O::NothingToProcess:
        return QStringLiteral("refused");
    }
    return {};
}

QString refusalName(ScanFindings::Outcome outcome) {
    using O = ScanFindings::Outcome;
    switch (outcome) {
    case O::VersionRefused:
        return QStringLiteral("version");
    case O::KeywordsRefused:
        return QStringLiteral("keywords");
    case O::NothingToProcess:
        return QStringLiteral("nothing to process");
    default:
        return {};
    }
}

QJsonObject scanFindingsToJson(const ScanFindings& f) {
    // Positions in ascending order, with the sets each one belongs to.
    QMap<qsizetype, QStringList> sets;
    for (const qsizetype i : f.missingImage)
        sets[i].append(QStringLiteral("missingImage"));
    for (const qsizetype i : f.missingMaster)
        sets[i].append(QStringLiteral("missingMaster"));

    const QSet<qsizetype> removed(f.removed.cbegin(), f.removed.cend());
    const QSet<qsizetype> taggedMissing(f.taggedMissing.cbegin(), f.taggedMissing.cend());
    const QSet<qsizetype> taggedMasterMissing(f.taggedMasterMissing.cbegin(), f.taggedMasterMissing.cend());
    QJsonArray photos;
    for (auto it = sets.constBegin(); it != sets.constEnd(); ++it) {
        const qsizetype i = it.key();
        QJsonArray actions;
        if (removed.contains(i))
            actions.append(QStringLiteral("removed"));
        if (taggedMissing.contains(i))
            actions.append(QStringLiteral("tagged Vup Missing"));
        if (taggedMasterMissing.contains(i))
            actions.append(QStringLiteral("tagged Vup Master Missing"));
        QJsonObject photo{
            {QStringLiteral("position"), qint64(i)},
            {QStringLiteral("id"), i < f.photos.size() ? f.photos.at(i).id() : qint64(-1)},
            {QStringLiteral("imageFilename"), entryValue(f.filenames, i)},
            {QStringLiteral("imagePath"), entryValue(f.paths, i)},
            {QStringLiteral("originalPath"), entryValue(f.originals, i)},
            {QStringLiteral("sets"), QJsonArray::fromStringList(it.value())},
            {QStringLiteral("actions"), actions},
        };
        photos.append(photo);
    }

    QJsonArray unchecked;
    for (const ScanFindings::Unchecked& u : f.unchecked)
        unchecked.append(QJsonObject{
            {QStringLiteral("position"), qint64(u.position)},
            {QStringLiteral("id"), u.id},
            {QStringLiteral("reason"), u.reason},
        });
    QJsonArray failed;
    for (const ScanFindings::FailedChange& c : f.failedChanges)
        failed.append(QJsonObject{
            {QStringLiteral("position"), qint64(c.position)},
            {QStringLiteral("id"), c.id},
            {QStringLiteral("action"), c.action},
            {QStringLiteral("reason"), c.reason},
        });

    const QJsonObject counts{
        {QStringLiteral("photos"), qint64(f.photos.size())},
        {QStringLiteral("missingImage"), qint64(f.missingImage.size())},
        {QStringLiteral("missingMaster"), qint64(f.missingMaster.size())},
        {QStringLiteral("issues"), qint64(f.issueCount())},
        {QStringLiteral("removed"), qint64(f.removed.size())},
        {QStringLiteral("taggedMissing"), qint64(f.taggedMissing.size())},
        {QStringLiteral("taggedMasterMissing"), qint64(f.taggedMasterMissing.size())},
        {QStringLiteral("unchecked"), qint64(f.unchecked.size())},
        {QStringLiteral("failed"), qint64(f.failedChanges.size())},
        {QStringLiteral("zombies"), qint64(f.zombies.size())},
    };
    const QJsonObject timings{
        {QStringLiteral("loadingMs"), f.timings.loadingMs},
        {QStringLiteral("zombiesMs"), f.timings.zombiesMs},
        {QStringLiteral("passMs"), f.timings.passMs},
        {QStringLiteral("taggingMs"), f.timings.taggingMs},
    };
    QJsonObject report{
        {QStringLiteral("outcome"), outcomeName(f.outcome)},
        {QStringLiteral("timings"), timings},
        {QStringLiteral("mode"), f.selectionMode ? QStringLiteral("selection") : QStringLiteral("library")},
        {QStringLiteral("delete"), f.deleteMode},
        {QStringLiteral("dryRun"), f.dryRun},
        {QStringLiteral("photos"), photos},
        {QStringLiteral("unchecked"), unchecked},
        {QStringLiteral("failed"), failed},
        {QStringLiteral("zombies"), zombieNames(f.zombies)},
        {QStringLiteral("recovery"), recoveryToJson(f.recovery)},
        {QStringLiteral("zombieDetectionSkipped"), f.zombieDetectionSkipped},
        {QStringLiteral("resumedRecovery"), f.resumedRecovery},
        {QStringLiteral("counts"), counts},
    };
    if (const QString refusal = refusalName(f.outcome); !refusal.isEmpty())
        report.insert(QStringLiteral("refusal"), refusal);
    if (!f.failure.isEmpty())
        report.insert(QStringLiteral("failure"), f.failure);
    return report;
}
