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
    case O::VersionRefused:
        return QStringLiteral("version refused");
    case O::KeywordsRefused:
        return QStringLiteral("keywords refused");
    case O::NothingToProcess:
        return QStringLiteral("nothing to process");
    case O::ListsIncomplete:
        return QStringLiteral("lists incomplete");
    case O::Failed:
        return QStringLiteral("failed");
    case O::Incomplete:
        return QStringLiteral("incomplete");
    case O::Cancelled:
        return QStringLiteral("cancelled");
    }
    return {};
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

    const QJsonObject counts{
        {QStringLiteral("photos"), qint64(f.photos.size())},
        {QStringLiteral("missingImage"), qint64(f.missingImage.size())},
        {QStringLiteral("missingMaster"), qint64(f.missingMaster.size())},
        {QStringLiteral("issues"), qint64(f.issueCount())},
        {QStringLiteral("removed"), qint64(f.removed.size())},
        {QStringLiteral("zombies"), qint64(f.zombies.size())},
    };
    const QJsonObject timings{
        {QStringLiteral("loadingMs"), f.timings.loadingMs},
        {QStringLiteral("zombiesMs"), f.timings.zombiesMs},
        {QStringLiteral("passMs"), f.timings.passMs},
        {QStringLiteral("taggingMs"), f.timings.taggingMs},
    };
    return QJsonObject{
        {QStringLiteral("outcome"), outcomeName(f.outcome)},
        {QStringLiteral("timings"), timings},
        {QStringLiteral("mode"), f.selectionMode ? QStringLiteral("selection") : QStringLiteral("library")},
        {QStringLiteral("delete"), f.deleteMode},
        {QStringLiteral("dryRun"), f.dryRun},
        {QStringLiteral("photos"), photos},
        {QStringLiteral("zombies"), zombieNames(f.zombies)},
        {QStringLiteral("recovery"), recoveryToJson(f.recovery)},
        {QStringLiteral("zombieDetectionSkipped"), f.zombieDetectionSkipped},
        {QStringLiteral("resumedRecovery"), f.resumedRecovery},
        {QStringLiteral("counts"), counts},
    };
}
