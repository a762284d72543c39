/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "bridge/iPhotoBridge.h"
#include "scan/engine/ProgressReporter.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <algorithm>
#include <functional>
#include <memory>
#include <span>

// The scan's bridge to the photo application: the photo list, the per-photo image property lists
// (entry i of every list belongs to photo i of the latest load), tagging single photos and the
// log of photos whose properties came back incomplete.
//
// Used from the scan thread only, one run at a time.
class SBUtils {
public:
    // A photo of the latest load whose `properties` request failed: position and reason.
    struct FailedRequest {
        qsizetype position = -1;
        QString reason;
    };

    SBUtils();
    // Shares the engine's application object, so that a run pins one process for both.
    explicit SBUtils(std::shared_ptr<iPhotoApplication> application);
    SBUtils(const SBUtils&) = delete;
    SBUtils& operator=(const SBUtils&) = delete;

    // What a load tells the user and asks of the run. Any of them may be empty: then nothing is
    // told and nothing cancels.
    struct LoadCalls {
        std::function<bool()> cancelled;
        // The load begins: the progress bar counts `photos` steps from here on. Returns once shown.
        std::function<void(qsizetype photos)> started;
        ProgressReporter::Sink progress;
    };

    // The application's current selection as it stands: photos, albums or both.
    QList<iPhotoItem> getSelection() const;
    // Every photo of the library, fetched in one request.
    QList<iPhotoPhoto> getAllImages() const;

    // Fills the image property lists from one `properties` request per photo, with up to
    // requestsInFlight() requests sent ahead of the answer being read. False when the user
    // cancelled or the application was lost; the lists then end before the photo at which
    // loading stopped.
    bool loadData(const QList<iPhotoPhoto>& photos, const LoadCalls& calls = {});
    // How many requests a load keeps on their way at once (at least 1: one at a time).
    static constexpr int kDefaultRequestsInFlight = 128;
    int requestsInFlight() const { return inFlightLimit; }
    void setRequestsInFlight(int limit) { inFlightLimit = std::max(1, limit); }
    // The photos of the latest load whose request failed, in ascending position. Their entries
    // are placeholders: what the application would have said is not known.
    const QList<FailedRequest>& failedPropertyRequests() const { return failedRequests; }

    // Byte size of the file at entry `index` of pathList (a link's own size); 0 when there is none.
    qint64 imagefs(qint64 index) const;
    // Makes the photo the whole selection and assigns the keyword to the selection. True only
    // when the application confirmed both; otherwise `failure` says which step failed and why.
    bool tagImageNoCheck(const iPhotoPhoto& photo, const QString& keyword, QString* failure = nullptr) const;
    void logImageIssue(const iPhotoPhoto& photo, const QString& issue);
    void reportImageIssues() const;
    // A scan finds most issues only after the load, on disk: it closes the report itself, with
    // logIssueCount(), once it knows them all.
    void setIssueCountLoggedLater(bool later) { issueCountLater = later; }
    static void logIssueCount(qsizetype photosWithIssues);

    // The image property lists. Entries of the QVariantList lists are a value, or nullMarker()
    // where the application reported a missing value, or the list's placeholder for an absent key.
    const QVariantList& filenameList() const { return filenames; }
    const QVariantList& pathList() const { return paths; }
    const QVariantList& originalsPathList() const { return originalsPaths; }
    const QVariantList& dateList() const { return dates; }
    const QVariantList& idList() const { return ids; }
    const QVariantList& heights() const { return heightValues; }
    const QList<float>& dimsList() const { return dims; }
    const QList<qint64>& sizeList() const { return sizes; }
    const QStringList& hashList() const { return hashes; }
    void setFilenameList(QVariantList l) { filenames = std::move(l); }
    void setPathList(QVariantList l) { paths = std::move(l); }
    void setOriginalsPathList(QVariantList l) { originalsPaths = std::move(l); }
    void setDateList(QVariantList l) { dates = std::move(l); }
    void setIdList(QVariantList l) { ids = std::move(l); }
    void setHeights(QVariantList l) { heightValues = std::move(l); }
    void setDimsList(QList<float> l) { dims = std::move(l); }
    void setSizeList(QList<qint64> l) { sizes = std::move(l); }
    void setHashList(QStringList l) { hashes = std::move(l); }

    const QList<iPhotoPhoto>& selectionList() const { return photoList; }
    const QList<iPhotoPhoto>& imagesWithIssues() const { return issuePhotos; }
    const QList<QStringList>& issueDescriptors() const { return issueTexts; }

    iPhotoApplication& application() const { return *photoApplication; }

private:
    bool issueCountLater = false;
    // One key of a photo's property answer, the list it fills, and what stands in when it is absent.
    struct PropertyColumn {
        QString name; // made once per load: every photo's answer is looked up by it
        QVariantList* list;
        QVariant placeholder;
        const char* issue;
    };

    // The steps of a load, in order.
    void startLoad(const QList<iPhotoPhoto>& photos);
    bool requestProperties(const QList<iPhotoPhoto>& photos, const LoadCalls& calls,
                           ProgressReporter& progress);
    void appendAnswer(const iPhotoPhoto& photo, const QVariantMap& properties,
                      std::span<const PropertyColumn> columns);
    // Throws ConsistencyError when a list does not hold one entry per photo.
    void checkListsLineUp() const;
    void buildDerivedLists();

    std::shared_ptr<iPhotoApplication> photoApplication;
    int inFlightLimit = kDefaultRequestsInFlight;

    QList<iPhotoPhoto> photoList;
    QVariantList filenames, paths, originalsPaths, dates, ids, heightValues, widths;
    QList<float> dims;
    QList<qint64> sizes;
    QStringList hashes;

    QList<FailedRequest> failedRequests;

    QList<iPhotoPhoto> issuePhotos;
    QList<QStringList> issueTexts;
    QHash<qint64, qsizetype> issueIndexById; // photo id -> position in issuePhotos
};
