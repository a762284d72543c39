/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "bridge/TextColumn.h"
#include "bridge/iPhotoBridge.h"
#include "scan/engine/ProgressReporter.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <functional>
#include <memory>
#include <span>

// The scan's bridge to the photo application: the photo list, loading the properties the scan
// reads of each photo, tagging single photos and the log of photos whose properties came back
// incomplete.
//
// Used from the scan thread only, one run at a time.
class SBUtils {
public:
    // A photo of the latest load whose `properties` request failed: position and reason.
    struct FailedRequest {
        qsizetype position = -1;
        QString reason;
    };

    // What a load read: entry i of each list belongs to photo i of the photos loaded. A value
    // the application reported as missing is a Null entry, a key its answer lacked (or a request
    // that failed) an Absent one.
    struct ImageLists {
        TextColumn filenameList;
        TextColumn pathList;
        TextColumn originalsPathList;
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

    // Fills `lists` from one `properties` request per photo, with up to requestsInFlight()
    // requests sent ahead of the answer being read. False when the user cancelled or the
    // application was lost; the lists then end before the photo at which loading stopped.
    bool loadData(const QList<iPhotoPhoto>& photos, ImageLists& lists, const LoadCalls& calls = {});
    // How many requests a load keeps on their way at once (at least 1: one at a time).
    static constexpr int kDefaultRequestsInFlight = 128;
    int requestsInFlight() const { return inFlightLimit; }
    void setRequestsInFlight(int limit) { inFlightLimit = std::max(1, limit); }
    // The photos of the latest load whose request failed, in ascending position. Their entries
    // are Absent: what the application would have said is not known.
    const QList<FailedRequest>& failedPropertyRequests() const { return failedRequests; }

    // Makes the photo the whole selection and assigns the keyword to the selection. True only
    // when the application confirmed both; otherwise `failure` says which step failed and why.
    bool tagImageNoCheck(const iPhotoPhoto& photo, const QString& keyword, QString* failure = nullptr) const;
    // A scan finds most issues only after the load, on disk: it closes the report itself, with
    // logIssueCount(), once it knows them all.
    void setIssueCountLoggedLater(bool later) { issueCountLater = later; }
    static void logIssueCount(qsizetype photosWithIssues);

    // The photos of the latest load whose answer lacked something, and what each lacked.
    const QList<iPhotoPhoto>& imagesWithIssues() const { return issuePhotos; }
    const QList<QStringList>& issueDescriptors() const { return issueTexts; }

private:
    // A key of a photo's property answer, the list it fills (none: its presence is only checked)
    // and the issue its absence is logged as.
    struct PropertyKey {
        QString name; // made once per load: every photo's answer is looked up by it
        TextColumn* list;
        const char* issue;
    };

    // The steps of a load, in order.
    void startLoad(qsizetype photos, ImageLists& lists);
    bool requestProperties(const QList<iPhotoPhoto>& photos, ImageLists& lists, const LoadCalls& calls,
                           ProgressReporter& progress);
    void appendAnswer(const iPhotoPhoto& photo, const QVariantMap& properties,
                      std::span<const PropertyKey> keys);
    void logImageIssue(const iPhotoPhoto& photo, const QString& issue);
    void reportImageIssues(const QList<iPhotoPhoto>& photos, const ImageLists& lists) const;

    std::shared_ptr<iPhotoApplication> photoApplication;
    int inFlightLimit = kDefaultRequestsInFlight;
    bool issueCountLater = false;

    QList<FailedRequest> failedRequests;

    QList<iPhotoPhoto> issuePhotos;
    QList<QStringList> issueTexts;
    QHash<qint64, qsizetype> issueIndexById; // photo id -> position in issuePhotos
};
