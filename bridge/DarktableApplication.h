/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "bridge/PhotoApplication.h"
#include "bridge/iPhotoBridge.h"

#include <QByteArray>
#include <QDBusConnection>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <memory>
#include <optional>

struct DarktableSession;

// darktable driven through its Lua service on the session bus. Every question is one Lua chunk;
// values enter chunks only as LuaText literals and every text comes back %XX-encoded, so any file
// name survives. Reads, tags, removals and imports go in batches small enough that darktable's
// window keeps responding between them.
class DarktableApplication : public PhotoApplication {
public:
    static constexpr const char* kService = "org.darktable.service";
    static constexpr const char* kPath = "/darktable";
    static constexpr const char* kInterface = "org.darktable.service.Remote";
    static constexpr const char* kErrorLua = "org.darktable.Error.LuaError";
    // Made up by this client when darktable answers without a Lua method.
    static constexpr const char* kErrorNoLua = "org.vup.Vup.Error.NoLua";
    static constexpr int kDefaultTimeoutMs = 10000;
    // Images per read, tag or removal chunk, and files per import chunk (about 75 a second). A
    // chunk costs darktable under a millisecond besides its work, while darktable's window waits
    // for all of it: small batches cost the scan little and keep the window responsive.
    static constexpr int kBatch = 100;
    static constexpr int kImportBatch = 10;

    struct Image {
        qint64 id = -1;
        QByteArray folder;   // native bytes
        QByteArray filename; // native bytes
        QByteArray path() const { return folder + '/' + filename; }
    };
    // What became of one file given to importInPlace.
    struct Import {
        enum class Result { Added, AlreadyKnown, Vanished, Unreadable, Refused } result = Result::Refused;
        qint64 id = -1;
        QString reason; // darktable's words for a refusal; why an unreadable file cannot be read
    };
    // What a tag or a removal did, image by image. An image in neither set got no answer: a request
    // failed (`failure` says why) and it may or may not have been changed.
    struct Changes {
        QSet<qint64> done;              // changed, and seen changed afterwards
        QHash<qint64, QString> refused; // left unchanged, with darktable's words (may be empty)
        QString failure;
    };

    explicit DarktableApplication(const QDBusConnection& bus, int timeoutMs = kDefaultTimeoutMs);
    ~DarktableApplication() override;

    QString displayName() const override { return QStringLiteral("darktable"); }
    PhotoApplicationCapabilities capabilities() const override;
    QString productVersion() const override;
    bool isRunning() const override;
    bool attach(std::function<bool()> interrupted = {}) override;
    void setInterruption(std::function<bool()> interrupted) override;
    void detach() override;
    bool lost() const override;
    bool watch() const override;
    // The Lua API version ("9.0.0"); productVersion() is darktable's own, from the same answer.
    QString version() const override;
    // The library file darktable was started with (its --library, else its configuration's
    // library setting, in its configuration folder unless absolute); empty for a library in memory
    // or when it cannot be told.
    QString libraryPath() const override;

    // Every image, or the lighttable selection, with its file; nothing when a request failed.
    std::optional<QList<Image>> images(bool selectionOnly, QString* failure = nullptr) const;
    qint64 imageCount() const;
    QList<qint64> selectedIds() const;
    bool select(const QList<qint64>& ids) const;
    // Attaches `tag` (created when absent) to each image / takes each out of the library.
    Changes attachTag(const QString& tag, const QList<qint64>& ids) const;
    Changes remove(const QList<qint64>& ids) const;
    // The film-roll folders, native bytes.
    std::optional<QList<QByteArray>> filmRolls() const;
    // Imports each file where it lies, but only while it is still there (an import of a vanished
    // file takes darktable down), and tags the new images. One answer per path, in order; fewer
    // when a request failed (`failure` says why): the answers of the batches before it stand.
    QList<Import> importInPlace(const QList<QByteArray>& paths, const QString& tag,
                                QString* failure = nullptr) const;
    // The names of the tags attached to an image, for tests and checks.
    std::optional<QStringList> tagsOf(qint64 id) const;

    // One chunk: the prelude (dt, vup_enc) is put before `body`. The answer as darktable gave it.
    std::optional<QString> lua(const QByteArray& body, QString* failure = nullptr) const;

    static iPhotoPhoto photoWithId(qint64 id) { return iPhotoPhoto(nullptr, id); }
    // The longest wait for one chunk's answer so far, in milliseconds; for measurements.
    double longestCallMs() const;

private:
    std::optional<QList<Image>> imagesWithIds(const QList<qint64>& ids, QString* failure) const;
    // The images a Lua loop head (setting `id`) names, as one chunk.
    std::optional<QList<Image>> imageBatch(const QByteArray& loop, QString* failure) const;
    Changes eachImage(const QByteArray& action, const QByteArray& confirm, const QList<qint64>& ids) const;
    std::shared_ptr<DarktableSession> state;
};
