/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "bridge/PhotoApplication.h"
#include "bridge/iPhotoTypes.h"

#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <functional>
#include <memory>
#include <optional>

// Client classes of the photo application's D-Bus service. Every request is bounded by the
// connection's time-out and waits for its answer, but for a photo's properties, which may also be
// sent ahead and taken later (requestProperties). A failed request answers nothing (empty list, empty
// dictionary, 0, false) and never throws, except version(); where the caller must tell why, an
// optional `failure` receives the reason. Objects are small values that name a photo, album or
// keyword by its stable id; they may be used from any thread.

class iPhotoConnection; // shared connection state (bus, service name, time-out)

class iPhotoKeyword {
public:
    iPhotoKeyword() = default;
    QString name() const;
    qint64 id() const { return objectId; }
    bool isValid() const { return connection != nullptr; }
    bool operator==(const iPhotoKeyword& o) const {
        return objectId == o.objectId && isValid() == o.isValid();
    }

private:
    friend class iPhotoApplication;
    iPhotoKeyword(std::shared_ptr<const iPhotoConnection> c, qint64 id)
        : connection(std::move(c)), objectId(id) {}
    std::shared_ptr<const iPhotoConnection> connection;
    qint64 objectId = -1;
};

// A `properties` request on its way: sent when it was made, answered when taken. A thread may
// keep many on their way at once, so that the application works on the next while the answer of
// the last travels back; each is taken at most once, on the thread that made it. Dropping one
// untaken drops its answer.
class iPhotoPendingProperties {
public:
    iPhotoPendingProperties() = default;
    // Waits for the answer; the same contract as iPhotoPhoto::properties(out, failure).
    bool take(QVariantMap& out, QString* failure = nullptr);

private:
    friend class iPhotoPhoto;
    iPhotoPendingProperties(std::shared_ptr<const iPhotoConnection> c, QDBusPendingCall call)
        : connection(std::move(c)), pending(std::move(call)) {}
    std::shared_ptr<const iPhotoConnection> connection;
    std::optional<QDBusPendingCall> pending;
};

class iPhotoPhoto {
public:
    iPhotoPhoto() = default;

    // The property dictionary: values as QVariant (dates as QDateTime, ids as qint64, sizes as int),
    // a missing value as nullMarker(), an absent key not in the map. Empty on failure.
    QVariantMap properties() const;
    // Like properties(), but tells a failed request (false) from an answer.
    bool properties(QVariantMap& out, QString* failure = nullptr) const;
    // Sends the same request without waiting for its answer.
    iPhotoPendingProperties requestProperties() const;
    // True once the photo is the application's whole selection.
    bool select(QString* failure = nullptr) const;
    // True once the application answered that the photo left the album.
    bool removeFrom(const class iPhotoAlbum& album, QString* failure = nullptr) const;

    qint64 id() const { return objectId; }
    bool isValid() const { return connection != nullptr; }
    bool operator==(const iPhotoPhoto& o) const { return objectId == o.objectId && isValid() == o.isValid(); }

private:
    friend class iPhotoApplication;
    friend class DarktableApplication; // its images are named by id alone
    friend class iPhotoAlbum;
    iPhotoPhoto(std::shared_ptr<const iPhotoConnection> c, qint64 id)
        : connection(std::move(c)), objectId(id) {}
    std::shared_ptr<const iPhotoConnection> connection;
    qint64 objectId = -1;
};

class iPhotoAlbum {
public:
    iPhotoAlbum() = default;

    QList<iPhotoPhoto> photos() const;
    qint64 photoCount() const; // one request
    bool select() const;
    QString name() const;
    quint32 type() const; // 0 on failure
    // Starts an import of a file or folder into this album; answers at once.
    bool importFrom(const QString& path, bool forceCopy) const;

    qint64 id() const { return objectId; }
    bool isValid() const { return connection != nullptr; }
    bool operator==(const iPhotoAlbum& o) const { return objectId == o.objectId && isValid() == o.isValid(); }

private:
    friend class iPhotoApplication;
    friend class iPhotoPhoto;
    iPhotoAlbum(std::shared_ptr<const iPhotoConnection> c, qint64 id)
        : connection(std::move(c)), objectId(id) {}
    std::shared_ptr<const iPhotoConnection> connection;
    qint64 objectId = -1;
};

// One entry of the selection: a photo or an album.
class iPhotoItem {
public:
    enum class Kind { Photo, Album };
    iPhotoItem(iPhotoPhoto p) : itemKind(Kind::Photo), photoValue(std::move(p)) {}
    iPhotoItem(iPhotoAlbum a) : itemKind(Kind::Album), albumValue(std::move(a)) {}
    Kind kind() const { return itemKind; }
    bool isAlbum() const { return itemKind == Kind::Album; }
    const iPhotoPhoto& photo() const { return photoValue; }
    const iPhotoAlbum& album() const { return albumValue; }
    bool operator==(const iPhotoItem& o) const = default;

private:
    Kind itemKind;
    iPhotoPhoto photoValue;
    iPhotoAlbum albumValue;
};

class iPhotoApplication : public PhotoApplication {
public:
    static constexpr int kDefaultTimeoutMs = 25000;
    // While attached: a request unanswered this long makes the bridge ask whether the application
    // answers at all, and that liveness check waits at most kLivenessTimeoutMs. A stalled
    // application is thus known to be gone within about ten seconds of the request.
    static constexpr int kStallCheckMs = 5000;
    static constexpr int kLivenessTimeoutMs = 5000;
    // How often a waiting request looks at the interruption predicate, and how often watch()
    // asks the bus who owns the name.
    static constexpr int kInterruptionPollMs = 100;
    static constexpr int kOwnerCheckIntervalMs = 500;
    // The error names of answers the bridge makes up itself.
    static constexpr const char* kErrorInterrupted = "org.vup.Vup.Error.Interrupted";
    static constexpr const char* kErrorApplicationLost = "org.vup.Vup.Error.ApplicationLost";

    // The application with this bundle identifier on the session bus. Never starts anything.
    static std::shared_ptr<iPhotoApplication> applicationWithBundleIdentifier(const QString& identifier);
    iPhotoApplication(const QDBusConnection& bus, const QString& service, int timeoutMs = kDefaultTimeoutMs);

    // True while some process owns the service name.
    QString displayName() const override { return QStringLiteral("photoapp"); }
    // The summaries it has always been shown keep their words.
    QString nameInSummaries() const override { return QStringLiteral("iPhoto"); }
    PhotoApplicationCapabilities capabilities() const override { return {}; }
    QString productVersion() const override;

    bool isRunning() const override;

    // ---- a run's hold on one application process ----
    // Pins the calling thread's later requests to the process that owns the name now: a
    // restarted application is another application whose object ids may name other photos, so
    // it is never asked anything in this run. A request that fails without an answer from that
    // process, or stays unanswered, is followed by a bounded liveness check; once the process
    // has left, been replaced or stopped answering, lost() holds and nothing more is sent.
    // While `interrupted` answers true, a request that is still waiting gives up with
    // kErrorInterrupted. False (and nothing pinned) when nobody owns the name.
    bool attach(std::function<bool()> interrupted = {}) override;
    void setInterruption(std::function<bool()> interrupted) override;
    void detach() override;
    bool lost() const override;
    // For stretches without requests: asks the bus (not the application) who owns the name, at
    // most every kOwnerCheckIntervalMs, and answers !lost().
    bool watch() const override;

    // Throws BridgeError with the D-Bus error's name and message when the request fails.
    QString version() const override;

    QList<iPhotoItem> selection() const;
    iPhotoAlbum photoLibraryAlbum() const; // invalid on failure
    iPhotoAlbum trashAlbum() const;
    QList<iPhotoAlbum> albums() const;
    iPhotoAlbum newAlbumName(const QString& name) const;
    QList<iPhotoKeyword> keywords() const;
    // The name of every keyword, in the order of keywords(), in one request.
    QStringList keywordNames() const;
    bool assignKeywordString(const QString& keyword, QString* failure = nullptr) const;
    bool importing() const;
    // The library package the application serves, as it spells every path it reports; empty when
    // it does not say.
    QString libraryPath() const override;
    // Per path, in order: whether some photo names it as its image or master now. Nothing when
    // the request failed or the answer does not fit the question.
    std::optional<QList<bool>> referencedPaths(const QStringList& paths) const;
    // The cheapest round trip the service offers; for measurements.
    bool ping() const;

    iPhotoPhoto photoWithId(qint64 id) const;
    iPhotoAlbum albumWithId(qint64 id) const;

private:
    iPhotoAlbum albumAnswer(const class QDBusMessage& reply) const;
    std::shared_ptr<iPhotoConnection> connection;
};
