/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "scan/report/ScanFindingsJson.h"

#include "bridge/iPhotoTypes.h"
#include "scan/report/ZombieSummary.h"

#include <QBuffer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <algorithm>
#include <iterator>

namespace {

QJsonValue entryValue(const TextColumn& list, qsizetype i) {
    if (i >= list.size())
        return QJsonValue(QJsonValue::Undefined);
    if (list.kind(i) == TextColumn::Kind::Null)
        return QJsonValue(QJsonValue::Null);
    return QJsonValue(list.text(i));
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
    case O::AnotherScan:
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
    case O::AnotherScan:
        return QStringLiteral("another scan");
    default:
        return {};
    }
}

namespace {

// Writes the report's JSON text to a device as it goes: the small members as one object, then the
// lists that grow with the library one entry at a time, so that the report of a run with 100,000
// findings never stands in memory as a whole. Everything is indented as QJsonDocument indents.
class ReportStream {
public:
    explicit ReportStream(QIODevice& d) : device(d) {}

    void head(const QJsonObject& members) {
        buffer = QJsonDocument(members).toJson(QJsonDocument::Indented);
        buffer.chop(3); // "\n}\n"
        open = !members.isEmpty();
    }

    // `item(k)` answers the k-th entry of the list.
    template <typename Item> void list(const char* key, qsizetype size, Item item) {
        buffer += open ? ",\n    \"" : "\n    \"";
        open = true;
        buffer += key;
        buffer += "\": [";
        for (qsizetype k = 0; k < size; ++k) {
            buffer += k ? ",\n" : "\n";
            indent(item(k));
            if (buffer.size() > kChunk)
                flush();
        }
        buffer += size ? "\n    ]" : "]";
    }

    bool finish() {
        buffer += "\n}\n";
        flush();
        return good;
    }

private:
    static constexpr qsizetype kChunk = 1 << 16;

    void indent(const QJsonValue& value) {
        // A lone value is written as the only member of a list, whose brackets are then dropped.
        QByteArray text =
            value.isObject()
                ? QJsonDocument(value.toObject()).toJson(QJsonDocument::Indented)
                : QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact).chopped(1).mid(1);
        if (text.endsWith('\n'))
            text.chop(1);
        buffer += "        ";
        buffer += text.replace('\n', "\n        ");
    }

    void flush() {
        good = good && device.write(buffer) == buffer.size();
        buffer.clear();
    }

    QIODevice& device;
    QByteArray buffer;
    bool open = false;
    bool good = true;
};

// The photos with an issue, in ascending order of position (the two ascending sets merged), each
// with the sets it is in and what was done to it.
class IssuePhotos {
public:
    explicit IssuePhotos(const ScanFindings& findings)
        : f(findings), missingImage(f.missingImage.cbegin(), f.missingImage.cend()),
          missingMaster(f.missingMaster.cbegin(), f.missingMaster.cend()),
          removed(f.removed.cbegin(), f.removed.cend()),
          taggedMissing(f.taggedMissing.cbegin(), f.taggedMissing.cend()),
          taggedMasterMissing(f.taggedMasterMissing.cbegin(), f.taggedMasterMissing.cend()) {
        positions.reserve(f.missingImage.size() + f.missingMaster.size());
        std::set_union(f.missingImage.cbegin(), f.missingImage.cend(), f.missingMaster.cbegin(),
                       f.missingMaster.cend(), std::back_inserter(positions));
    }

    qsizetype size() const { return positions.size(); }

    QJsonValue at(qsizetype k) const {
        const qsizetype i = positions.at(k);
        QJsonArray sets;
        if (missingImage.contains(i))
            sets.append(QStringLiteral("missingImage"));
        if (missingMaster.contains(i))
            sets.append(QStringLiteral("missingMaster"));
        QJsonArray actions;
        if (removed.contains(i))
            actions.append(QStringLiteral("removed"));
        if (taggedMissing.contains(i))
            actions.append(QStringLiteral("tagged Vup Missing"));
        if (taggedMasterMissing.contains(i))
            actions.append(QStringLiteral("tagged Vup Master Missing"));
        return QJsonValue(QJsonObject{
            {QStringLiteral("position"), qint64(i)},
            {QStringLiteral("id"), i < f.photos.size() ? f.photos.at(i).id() : qint64(-1)},
            {QStringLiteral("imageFilename"), entryValue(f.filenames, i)},
            {QStringLiteral("imagePath"), entryValue(f.paths, i)},
            {QStringLiteral("originalPath"), entryValue(f.originals, i)},
            {QStringLiteral("sets"), sets},
            {QStringLiteral("actions"), actions},
        });
    }

private:
    const ScanFindings& f;
    QList<qsizetype> positions;
    const QSet<qsizetype> missingImage, missingMaster, removed, taggedMissing, taggedMasterMissing;
};

// Everything but the lists: outcome, options, recovery, counts and timings.
QJsonObject reportHead(const ScanFindings& f) {
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
    QJsonObject head{
        {QStringLiteral("outcome"), outcomeName(f.outcome)},
        {QStringLiteral("application"), f.application},
        {QStringLiteral("timings"), timings},
        {QStringLiteral("mode"), f.selectionMode ? QStringLiteral("selection") : QStringLiteral("library")},
        {QStringLiteral("delete"), f.deleteMode},
        {QStringLiteral("dryRun"), f.dryRun},
        {QStringLiteral("recovery"), recoveryToJson(f.recovery)},
        {QStringLiteral("zombieDetectionSkipped"), f.zombieDetectionSkipped},
        {QStringLiteral("resumedRecovery"), f.resumedRecovery},
        {QStringLiteral("counts"), counts},
    };
    if (const QString refusal = refusalName(f.outcome); !refusal.isEmpty())
        head.insert(QStringLiteral("refusal"), refusal);
    if (!f.failure.isEmpty())
        head.insert(QStringLiteral("failure"), f.failure);
    return head;
}

} // namespace

bool writeScanReport(QIODevice& device, const ScanFindings& f) {
    const IssuePhotos photos(f);
    const auto unchecked = [&](qsizetype k) {
        const ScanFindings::Unchecked& u = f.unchecked.at(k);
        return QJsonValue(QJsonObject{
            {QStringLiteral("position"), qint64(u.position)},
            {QStringLiteral("id"), u.id},
            {QStringLiteral("reason"), u.reason},
        });
    };
    const auto failed = [&](qsizetype k) {
        const ScanFindings::FailedChange& c = f.failedChanges.at(k);
        return QJsonValue(QJsonObject{
            {QStringLiteral("position"), qint64(c.position)},
            {QStringLiteral("id"), c.id},
            {QStringLiteral("action"), c.action},
            {QStringLiteral("reason"), c.reason},
        });
    };
    // JSON holds text: a name that is not UTF-8 shows its undecodable bytes as U+FFFD here; the
    // listing on standard output and the CSV table keep the bytes.
    const auto zombie = [&](qsizetype k) {
        return QJsonValue(QFile::decodeName(f.zombies.at(k)));
    };

    ReportStream out(device);
    out.head(reportHead(f));
    out.list("photos", photos.size(), [&](qsizetype k) { return photos.at(k); });
    out.list("unchecked", f.unchecked.size(), unchecked);
    out.list("failed", f.failedChanges.size(), failed);
    out.list("zombies", f.zombies.size(), zombie);
    return out.finish();
}

QJsonObject scanFindingsToJson(const ScanFindings& f) {
    QBuffer text;
    text.open(QIODevice::WriteOnly);
    writeScanReport(text, f);
    return QJsonDocument::fromJson(text.data()).object();
}
