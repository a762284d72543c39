/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "photoapp/window/LibraryMirror.h"

namespace {

// Well under the second in which a change should show.
constexpr int kPollIntervalMs = 200;
// Past this many changes at once, reading everything afresh is the cheaper way.
constexpr int kMostChangesApplied = 20000;

// The keywords Vup marks photos with whose image or master file is gone.
const QString kFlagKeywords[] = {QStringLiteral("Vup Missing"), QStringLiteral("Vup Master Missing")};

bool flags(const QString& name) {
    for (const QString& flag : kFlagKeywords) {
        if (name.compare(flag, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace

std::unique_ptr<LibraryMirror> LibraryMirror::open(const LibraryPackage& library, QString* error) {
    std::unique_ptr<Catalogue> catalogue = Catalogue::open(library, error);
    if (!catalogue)
        return nullptr;
    std::unique_ptr<ChangeLog> changeLog = ChangeLog::open(library, error);
    if (!changeLog)
        return nullptr;
    std::unique_ptr<LibraryMirror> mirror(new LibraryMirror(std::move(catalogue), std::move(changeLog)));
    mirror->load();
    return mirror;
}

LibraryMirror::LibraryMirror(std::unique_ptr<Catalogue> catalogue, std::unique_ptr<ChangeLog> changeLog)
    : writer(std::move(catalogue)), log(std::move(changeLog)) {
    connect(&poll, &QTimer::timeout, this, &LibraryMirror::refresh);
    poll.start(kPollIntervalMs);
}

LibraryMirror::~LibraryMirror() = default;

void LibraryMirror::load() {
    // The mark comes first: a change made while the rest is read is read again with the next
    // batch, and applying a change twice leaves what applying it once does.
    seen = log->last();
    photos.clear();
    const QList<ChangeLog::PhotoRow> rows = log->photos();
    photos.reserve(rows.size());
    for (const ChangeLog::PhotoRow& row : rows)
        photos.insert(row.id, Photo{row.fileName, row.storedImagePath, {}});
    for (const auto& [photoId, keywordId] : log->photoKeywords()) {
        if (const auto it = photos.find(photoId); it != photos.end())
            it->keywordIds.append(keywordId);
    }
    keywordNamesById.clear();
    flaggingKeywords.clear();
    for (const Catalogue::Keyword& k : writer->keywords())
        setKeyword(k.id, k.name);
    albumList = writer->albums();
    selected = writer->selection();
}

void LibraryMirror::refresh() {
    if (refreshing || !log->othersCommitted())
        return;
    refreshing = true;
    const std::optional<QList<ChangeLog::Change>> changes = log->since(seen, kMostChangesApplied);
    if (!changes) {
        load();
        emit reloaded();
    } else if (!changes->isEmpty()) {
        seen = changes->constLast().seq;
        apply(*changes);
    }
    refreshing = false;
}

void LibraryMirror::setKeyword(qint64 id, const std::optional<QString>& name) {
    if (!name) {
        keywordNamesById.remove(id);
        flaggingKeywords.remove(id);
        return;
    }
    keywordNamesById.insert(id, *name);
    if (flags(*name))
        flaggingKeywords.insert(id);
    else
        flaggingKeywords.remove(id);
}

void LibraryMirror::apply(const QList<ChangeLog::Change>& changes) {
    QSet<qint64> changedPhotos;
    QSet<qint64> changedKeywords;
    QList<MembershipChange> memberships;
    bool albumsTouched = false;
    bool selectionTouched = false;
    for (const ChangeLog::Change& c : changes) {
        switch (c.kind) {
        case ChangeLog::Change::Photo:
            changedPhotos.insert(c.a);
            break;
        case ChangeLog::Change::AlbumPhotoAdded:
        case ChangeLog::Change::AlbumPhotoRemoved:
            memberships.append({c.a, c.b, c.kind == ChangeLog::Change::AlbumPhotoAdded});
            break;
        case ChangeLog::Change::Album:
            albumsTouched = true;
            break;
        case ChangeLog::Change::Keyword:
            changedKeywords.insert(c.a);
            break;
        case ChangeLog::Change::PhotoKeywordAdded:
        case ChangeLog::Change::PhotoKeywordRemoved:
            break; // below, once the photos' rows are known
        case ChangeLog::Change::Selection:
            selectionTouched = true;
            break;
        }
    }
    for (const qint64 id : std::as_const(changedPhotos)) {
        const std::optional<ChangeLog::PhotoRow> row = log->photo(id);
        if (!row) {
            photos.remove(id);
            continue;
        }
        Photo& p = photos[id];
        p.fileName = row->fileName;
        p.storedImagePath = row->storedImagePath;
    }
    for (const ChangeLog::Change& c : changes) {
        const bool added = c.kind == ChangeLog::Change::PhotoKeywordAdded;
        if (!added && c.kind != ChangeLog::Change::PhotoKeywordRemoved)
            continue;
        const auto it = photos.find(c.a);
        if (it == photos.end())
            continue;
        if (added && !it->keywordIds.contains(c.b))
            it->keywordIds.append(c.b);
        else if (!added)
            it->keywordIds.removeOne(c.b);
        changedPhotos.insert(c.a);
    }
    for (const qint64 id : std::as_const(changedKeywords)) {
        const std::optional<Catalogue::Keyword> k = writer->keyword(id);
        setKeyword(id, k ? std::optional<QString>(k->name) : std::nullopt);
    }
    if (albumsTouched)
        albumList = writer->albums();
    if (selectionTouched) {
        QList<Catalogue::SelectionItem> now = writer->selection();
        selectionTouched = now != selected;
        selected = std::move(now);
    }

    if (albumsTouched)
        emit albumsChanged();
    if (!changedKeywords.isEmpty())
        emit keywordsChanged();
    if (!changedPhotos.isEmpty())
        emit photosChanged(changedPhotos.values());
    if (!memberships.isEmpty())
        emit membershipsChanged(memberships);
    if (selectionTouched)
        emit selectionChanged();
}

const LibraryMirror::Photo* LibraryMirror::photo(qint64 id) const {
    const auto it = photos.constFind(id);
    return it == photos.cend() ? nullptr : &*it;
}

QString LibraryMirror::imagePath(qint64 photoId) const {
    const Photo* p = photo(photoId);
    return p ? library().toAbsolute(p->storedImagePath) : QString();
}

bool LibraryMirror::isFlagged(qint64 photoId) const {
    const Photo* p = photo(photoId);
    if (!p || flaggingKeywords.isEmpty())
        return false;
    for (const qint64 k : p->keywordIds) {
        if (flaggingKeywords.contains(k))
            return true;
    }
    return false;
}

QStringList LibraryMirror::keywordNames(qint64 photoId) const {
    QStringList names;
    if (const Photo* p = photo(photoId)) {
        for (const qint64 k : p->keywordIds)
            names.append(keywordNamesById.value(k));
    }
    return names;
}

QSet<qint64> LibraryMirror::keywordsContaining(const QString& text) const {
    QSet<qint64> found;
    for (auto it = keywordNamesById.cbegin(); it != keywordNamesById.cend(); ++it) {
        if (it->contains(text, Qt::CaseInsensitive))
            found.insert(it.key());
    }
    return found;
}
