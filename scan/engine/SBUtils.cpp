/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "scan/engine/SBUtils.h"

#include "platform/FileManager.h"
#include "platform/SystemLog.h"
#include "wire/PhotoAppWire.h"

#include <deque>

namespace {

constexpr const char* kBuildingLists = "Building Lists";
constexpr const char* kIssueReport = "Issue: %1\n-%2\n-%3 of size %4";
constexpr const char* kIssueCount = "Found %1 images with issues";

constexpr const char* kSelectFailed = "it could not be selected: %1";

constexpr const char* kInvalidProperties = "Invalid Properties";
constexpr const char* kInvalidFilename = "Invalid Filename";
constexpr const char* kInvalidPath = "Invalid Path";
constexpr const char* kInvalidDate = "Invalid Date";
constexpr const char* kInvalidId = "Invalid ID";
constexpr const char* kInvalidHeight = "Invalid Height";
constexpr const char* kInvalidWidth = "Invalid Width";

QString latin(const char* text) {
    return QString::fromLatin1(text);
}

QString describeEntry(const TextColumn& list, qsizetype i) {
    if (list.kind(i) == TextColumn::Kind::Null)
        return QStringLiteral("<null>");
    return list.text(i);
}

QString describePhoto(const iPhotoPhoto& photo) {
    return QStringLiteral("<photo %1>").arg(photo.id());
}

// Byte size of the image file of entry i (a link's own size); 0 when it names none. Looked up as
// the issue is reported: only photos with issues are asked about.
qint64 imageSize(const TextColumn& paths, qsizetype i) {
    if (!paths.isText(i))
        return 0;
    return FileManager::sizeOfExistingItem(paths.text(i));
}

} // namespace

SBUtils::SBUtils()
    : SBUtils(iPhotoApplication::applicationWithBundleIdentifier(latin(PhotoAppWire::kBundleIdentifier))) {}

SBUtils::SBUtils(std::shared_ptr<iPhotoApplication> application) : photoApplication(std::move(application)) {}

QList<iPhotoItem> SBUtils::getSelection() const {
    return photoApplication->selection();
}

QList<iPhotoPhoto> SBUtils::getAllImages() const {
    return photoApplication->photoLibraryAlbum().photos();
}

bool SBUtils::loadData(const QList<iPhotoPhoto>& photos, ImageLists& lists, const LoadCalls& calls) {
    startLoad(photos.size(), lists);

    if (calls.started)
        calls.started(photos.size());
    ProgressReporter progress(calls.progress);
    progress.post(0);
    if (!requestProperties(photos, lists, calls, progress))
        return false;
    progress.flush();

    vupLog(latin(kBuildingLists));
    reportImageIssues(photos, lists);
    return true;
}

void SBUtils::startLoad(qsizetype photos, ImageLists& lists) {
    issuePhotos = {};
    issueTexts = {};
    issueIndexById = {};
    failedRequests = {};

    // New lists rather than cleared ones: a reader holding the previous load's lists keeps them.
    lists = {};
    for (TextColumn* list : {&lists.filenameList, &lists.pathList, &lists.originalsPathList})
        list->reserve(photos);
}

bool SBUtils::requestProperties(const QList<iPhotoPhoto>& photos, ImageLists& lists, const LoadCalls& calls,
                                ProgressReporter& progress) {
    // One request per photo; every value of the photo comes from its one answer. The scan reads
    // three of them; the others are only checked for, as the issue log has always told them.
    const PropertyKey keys[] = {
        {latin(PhotoAppWire::kImageFilename), &lists.filenameList, kInvalidFilename},
        {latin(PhotoAppWire::kImagePath), &lists.pathList, kInvalidPath},
        {latin(PhotoAppWire::kOriginalPath), &lists.originalsPathList, kInvalidPath},
        {latin(PhotoAppWire::kDate), nullptr, kInvalidDate},
        {latin(PhotoAppWire::kId), nullptr, kInvalidId},
        {latin(PhotoAppWire::kHeight), nullptr, kInvalidHeight},
        {latin(PhotoAppWire::kWidth), nullptr, kInvalidWidth},
    };

    // Answers are taken in photo order while the requests of the photos after it are on their way:
    // the application and the bus then never wait for this thread between two photos.
    const qsizetype n = photos.size();
    std::deque<iPhotoPendingProperties> inFlight;
    qsizetype sent = 0;
    QVariantMap properties;
    QString failure;
    for (qsizetype i = 0; i < n; ++i) {
        progress.post(double(i + 1));
        // Once the application is gone every answer would be a failure, not a fact about a photo.
        // Answers already on their way for this photo and later ones are dropped with the queue.
        if ((calls.cancelled && calls.cancelled()) || photoApplication->lost())
            return false;
        // The flag was read just now: no request goes out after a cancel. Requests go out in
        // batches of half the limit, so the bus connection's thread wakes once per batch.
        if (sent - i <= inFlightLimit / 2) {
            for (; sent < n && sent - i < inFlightLimit; ++sent)
                inFlight.push_back(photos.at(sent).requestProperties());
        }
        const iPhotoPhoto& photo = photos.at(i);
        const bool answered = inFlight.front().take(properties, &failure);
        inFlight.pop_front();
        if (!answered) {
            logImageIssue(photo, latin(kInvalidProperties));
            failedRequests.append({i, failure});
        }
        appendAnswer(photo, properties, keys);
    }
    return true;
}

void SBUtils::appendAnswer(const iPhotoPhoto& photo, const QVariantMap& properties,
                           std::span<const PropertyKey> keys) {
    for (const PropertyKey& key : keys) {
        const auto it = properties.constFind(key.name);
        const bool present = it != properties.constEnd();
        if (key.list) {
            if (present)
                key.list->append(*it);
            else
                key.list->appendAbsent();
        }
        if (!present)
            logImageIssue(photo, latin(key.issue));
    }
}

bool SBUtils::tagImageNoCheck(const iPhotoPhoto& photo, const QString& keyword, QString* failure) const {
    // Without the photo selected the keyword would land on whatever the selection was before.
    QString why;
    if (!photo.select(&why)) {
        if (failure)
            *failure = latin(kSelectFailed).arg(why);
        return false;
    }
    if (!photoApplication->assignKeywordString(keyword, &why)) {
        if (failure)
            *failure = why;
        return false;
    }
    return true;
}

void SBUtils::logImageIssue(const iPhotoPhoto& photo, const QString& issue) {
    const auto it = issueIndexById.constFind(photo.id());
    if (it != issueIndexById.constEnd()) {
        issueTexts[*it].append(issue);
        return;
    }
    issueIndexById.insert(photo.id(), issuePhotos.size());
    issuePhotos.append(photo);
    issueTexts.append(QStringList{issue});
}

void SBUtils::reportImageIssues(const QList<iPhotoPhoto>& photos, const ImageLists& lists) const {
    // Each photo is described by its first position in the photo list: one pass over the list,
    // looking up only the few photos with issues.
    QList<qsizetype> firstPosition(issuePhotos.size(), -1);
    qsizetype unplaced = issuePhotos.size();
    for (qsizetype k = 0; k < photos.size() && unplaced > 0; ++k) {
        const auto it = issueIndexById.constFind(photos.at(k).id());
        if (it != issueIndexById.constEnd() && firstPosition.at(*it) < 0) {
            firstPosition[*it] = k;
            --unplaced;
        }
    }
    const TextColumn& filenames = lists.filenameList;
    for (qsizetype j = 0; j < issuePhotos.size(); ++j) {
        const qsizetype k = firstPosition.at(j);
        const bool listed = k >= 0 && k < filenames.size();
        const QString filename = listed ? describeEntry(filenames, k) : QString();
        const QString size = listed ? QString::number(imageSize(lists.pathList, k)) : QString();
        vupLog(
            latin(kIssueReport)
                .arg(describePhoto(issuePhotos.at(j)),
                     QStringLiteral("(") + issueTexts.at(j).join(QStringLiteral(", ")) + QStringLiteral(")"),
                     filename, size));
    }
    if (!issueCountLater)
        logIssueCount(issuePhotos.size());
}

void SBUtils::logIssueCount(qsizetype photosWithIssues) {
    vupLog(latin(kIssueCount).arg(photosWithIssues));
}
