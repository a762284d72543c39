/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "scan/engine/SBUtils.h"

#include "bridge/iPhotoTypes.h"
#include "platform/FileManager.h"
#include "platform/SystemLog.h"
#include "scan/engine/ConsistencyError.h"
#include "wire/PhotoAppWire.h"

#include <QDateTime>
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

// Where the consistency check of a load reports from, and what each of its lines checks.
constexpr const char* kLoadOperation = "loadData";
constexpr const char* kLoadSource = "SBUtils-iPhoto";
constexpr const char* kMissingFilenames = "Missing filenames";
constexpr const char* kMissingImageIds = "Missing image ids";
constexpr const char* kMissingFilePaths = "Missing file paths";
constexpr const char* kMissingImageDates = "Missing image dates";
constexpr const char* kMissingImageHeights = "Missing image heights";
constexpr const char* kMissingImageWidths = "Missing image widths";

QString latin(const char* text) {
    return QString::fromLatin1(text);
}

bool isText(const QVariant& v) {
    return v.metaType().id() == QMetaType::QString;
}

QString describeEntry(const QVariant& entry) {
    if (isNullMarker(entry))
        return QStringLiteral("<null>");
    return entry.toString();
}

QString describePhoto(const iPhotoPhoto& photo) {
    return QStringLiteral("<photo %1>").arg(photo.id());
}

// A number entry as a 32-bit signed integer; anything else (the null marker, text) is 0.
qint32 int32Of(const QVariant& v) {
    switch (v.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
        return static_cast<qint32>(v.toLongLong());
    default:
        return 0;
    }
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

bool SBUtils::loadData(const QList<iPhotoPhoto>& photos, const LoadCalls& calls) {
    startLoad(photos);

    if (calls.started)
        calls.started(photos.size());
    ProgressReporter progress(calls.progress);
    progress.post(0);
    if (!requestProperties(photos, calls, progress))
        return false;
    progress.flush();

    checkListsLineUp();
    vupLog(latin(kBuildingLists));
    buildDerivedLists();
    reportImageIssues();
    return true;
}

void SBUtils::startLoad(const QList<iPhotoPhoto>& photos) {
    issuePhotos = {};
    issueTexts = {};
    issueIndexById = {};
    failedRequests = {};

    const qsizetype n = photos.size();
    // New lists rather than cleared ones: a reader holding the previous load's lists keeps them.
    filenames = {};
    paths = {};
    originalsPaths = {};
    dates = {};
    ids = {};
    heightValues = {};
    widths = {};
    dims = {};
    sizes = {};
    hashes = {};
    for (QVariantList* list : {&filenames, &paths, &originalsPaths, &dates, &ids, &heightValues, &widths})
        list->reserve(n);
    dims.reserve(n);
    sizes.reserve(n);
    hashes.reserve(n);
    photoList = photos;
}

bool SBUtils::requestProperties(const QList<iPhotoPhoto>& photos, const LoadCalls& calls,
                                ProgressReporter& progress) {
    // One request per photo; every value of the photo comes from its one answer.
    const PropertyColumn columns[] = {
        {latin(PhotoAppWire::kImageFilename), &filenames, QString(""), kInvalidFilename},
        {latin(PhotoAppWire::kImagePath), &paths, QString(""), kInvalidPath},
        {latin(PhotoAppWire::kOriginalPath), &originalsPaths, QString(""), kInvalidPath},
        {latin(PhotoAppWire::kDate), &dates, QVariant(), kInvalidDate},
        {latin(PhotoAppWire::kId), &ids, QString(""), kInvalidId},
        {latin(PhotoAppWire::kHeight), &heightValues, QVariant(0), kInvalidHeight},
        {latin(PhotoAppWire::kWidth), &widths, QVariant(0), kInvalidWidth},
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
        appendAnswer(photo, properties, columns);
    }
    return true;
}

void SBUtils::appendAnswer(const iPhotoPhoto& photo, const QVariantMap& properties,
                           std::span<const PropertyColumn> columns) {
    for (const PropertyColumn& column : columns) {
        const auto it = properties.constFind(column.name);
        if (it != properties.constEnd()) {
            column.list->append(*it);
            continue;
        }
        // An absent date stands in as the moment the entry was made.
        column.list->append(column.placeholder.isValid() ? column.placeholder
                                                         : QVariant(QDateTime::currentDateTime()));
        logImageIssue(photo, latin(column.issue));
    }
    // An unedited photo's master is its image: one copy of the path serves both lists.
    if (const QVariant& path = paths.constLast(); isText(path) && isText(originalsPaths.constLast()) &&
                                                  originalsPaths.constLast().toString() == path.toString())
        originalsPaths.last() = path;
}

void SBUtils::checkListsLineUp() const {
    const qsizetype n = photoList.size();
    const struct {
        const QVariantList& list;
        int line;
        const char* description;
    } checks[] = {
        {filenames, 175, kMissingFilenames},       {ids, 176, kMissingImageIds},
        {paths, 177, kMissingFilePaths},           {dates, 178, kMissingImageDates},
        {heightValues, 179, kMissingImageHeights}, {widths, 180, kMissingImageWidths},
    };
    for (const auto& check : checks) {
        if (check.list.size() != n)
            throw ConsistencyError(latin(kLoadOperation), latin(kLoadSource), check.line,
                                   latin(check.description));
    }
}

void SBUtils::buildDerivedLists() {
    for (qsizetype i = 0; i < photoList.size(); ++i) {
        const qint32 w = int32Of(widths.at(i));
        const qint32 h = int32Of(heightValues.at(i));
        dims.append(h == 0 ? 0.0f : static_cast<float>(double(w) / double(h)));
        sizes.append(imagefs(i));
        hashes.append(QString(""));
    }
}

qint64 SBUtils::imagefs(qint64 index) const {
    if (index < 0 || index >= paths.size())
        return 0;
    const QVariant& entry = paths.at(index);
    if (!isText(entry))
        return 0;
    return FileManager::sizeOfExistingItem(entry.toString());
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

void SBUtils::reportImageIssues() const {
    // First position of each photo in the photo list, built once rather than searched per issue.
    QHash<qint64, qsizetype> firstPosition;
    if (!issuePhotos.isEmpty()) {
        firstPosition.reserve(photoList.size());
        for (qsizetype k = photoList.size() - 1; k >= 0; --k)
            firstPosition.insert(photoList.at(k).id(), k);
    }
    for (qsizetype j = 0; j < issuePhotos.size(); ++j) {
        const iPhotoPhoto& photo = issuePhotos.at(j);
        const qsizetype k = firstPosition.value(photo.id(), -1);
        const QString filename = k >= 0 && k < filenames.size() ? describeEntry(filenames.at(k)) : QString();
        const QString size = k >= 0 && k < sizes.size() ? QString::number(sizes.at(k)) : QString();
        vupLog(
            latin(kIssueReport)
                .arg(describePhoto(photo),
                     QStringLiteral("(") + issueTexts.at(j).join(QStringLiteral(", ")) + QStringLiteral(")"),
                     filename, size));
    }
    if (!issueCountLater)
        logIssueCount(issuePhotos.size());
}

void SBUtils::logIssueCount(qsizetype photosWithIssues) {
    vupLog(latin(kIssueCount).arg(photosWithIssues));
}
