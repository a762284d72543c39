/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "scan/report/LastRunStore.h"

#include "platform/LibraryFolders.h"
#include "scan/report/ScanFindingsJson.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QSaveFile>

namespace {

constexpr const char* kFolder = "/vup";
constexpr const char* kFile = "/last-run";
constexpr quint32 kMagic = 0x56555052; // "VUPR"
// 2 adds the run's library, 3 its application; older files still read, what they lack unknown.
constexpr quint32 kVersion = 3;
constexpr quint32 kOldestVersion = 1;
constexpr QDataStream::Version kStreamVersion = QDataStream::Qt_6_4;
// The least a stored row takes: its kind and flag, position, id and eight empty byte strings.
constexpr qint64 kLeastRowBytes = 1 + 1 + 8 + 8 + 8 * 4;
constexpr qint64 kCopyChunk = 1 << 16;

// Why the stored run cannot be read: in English for the log, translated when an alert tells it.
constexpr const char* kNotOurs =
    QT_TRANSLATE_NOOP("LastRunStore", "it is not a findings file of this version of Vup");
constexpr const char* kDamaged = QT_TRANSLATE_NOOP("LastRunStore", "it is damaged or cut short");
constexpr const char* kReplaced = QT_TRANSLATE_NOOP("LastRunStore", "a later run has replaced it");

QString translated(const char* text) {
    return QCoreApplication::translate("LastRunStore", text);
}

// Texts many rows share (actions, reasons, paths repeated in one row) are kept once in memory.
class Reader {
public:
    explicit Reader(QDataStream& s) : in(s) {}

    QByteArray bytes() {
        QByteArray b;
        in >> b;
        return b;
    }
    QString text() { return QString::fromUtf8(bytes()); }
    QString shared() {
        const QByteArray b = bytes();
        auto it = known.constFind(b);
        if (it == known.cend())
            it = known.insert(b, QString::fromUtf8(b));
        return *it;
    }
    template <typename T> T value() {
        T v{};
        in >> v;
        return v;
    }

private:
    QDataStream& in;
    QHash<QByteArray, QString> known;
};

void writeSummary(QDataStream& out, const FindingsTable::Summary& s) {
    out << s.outcome.toUtf8() << s.dryRun << s.selectionMode << s.deleteMode << s.recoverZombies
        << qint64(s.ended.toMSecsSinceEpoch()) << s.summary.toUtf8() << s.failure.toUtf8() << s.photos
        << s.changes << s.unchecked << s.refused << s.zombies << s.zombiesReAdded << s.zombiesNotReAdded
        << s.zombieDetectionSkipped.toUtf8() << quint64(s.previewedPhotos.size());
    for (const qint64 id : s.previewedPhotos)
        out << id;
    out << s.library.toUtf8() << s.application.toUtf8();
}

bool readSummary(Reader& in, quint32 version, qint64 fileSize, FindingsTable::Summary& s) {
    s.outcome = in.text();
    s.dryRun = in.value<bool>();
    s.selectionMode = in.value<bool>();
    s.deleteMode = in.value<bool>();
    s.recoverZombies = in.value<bool>();
    s.ended = QDateTime::fromMSecsSinceEpoch(in.value<qint64>());
    s.summary = in.text();
    s.failure = in.text();
    for (qint64* n : {&s.photos, &s.changes, &s.unchecked, &s.refused, &s.zombies, &s.zombiesReAdded,
                      &s.zombiesNotReAdded})
        *n = in.value<qint64>();
    s.zombieDetectionSkipped = in.text();
    const quint64 previewed = in.value<quint64>();
    if (previewed > quint64(fileSize / 8))
        return false;
    s.previewedPhotos.reserve(qsizetype(previewed));
    for (quint64 k = 0; k < previewed; ++k)
        s.previewedPhotos.append(in.value<qint64>());
    if (version >= 2)
        s.library = in.text();
    if (version >= 3)
        s.application = in.text();
    return true;
}

void writeRow(QDataStream& out, const Finding& r) {
    // The two paths are often one and the same: stored once.
    out << quint8(r.kind) << r.aboutMaster << r.position << r.id << r.fileName.toUtf8()
        << r.imagePath.toUtf8() << (r.masterPath == r.imagePath ? QByteArray() : r.masterPath.toUtf8())
        << r.action.toUtf8() << r.reason.toUtf8() << r.native << r.nativeNow;
}

bool readRow(Reader& in, Finding& r) {
    const quint8 kind = in.value<quint8>();
    if (kind >= Finding::kKindCount)
        return false;
    r.kind = Finding::Kind(kind);
    r.aboutMaster = in.value<bool>();
    r.position = in.value<qint64>();
    r.id = in.value<qint64>();
    r.fileName = in.text();
    r.imagePath = in.text();
    const QByteArray master = in.bytes();
    r.masterPath = master.isEmpty() ? r.imagePath : QString::fromUtf8(master);
    r.action = in.shared();
    r.reason = in.shared();
    r.native = in.bytes();
    r.nativeNow = in.bytes();
    return true;
}

// Opens the stored file and reads it up to its report, where the stream then stands; without
// `keepRows` the rows are only stepped over.
std::optional<FindingsTable> readTable(QFile& file, QDataStream& stream, bool keepRows, QString* why) {
    if (!file.open(QIODevice::ReadOnly)) {
        if (file.exists())
            *why = file.errorString();
        return std::nullopt;
    }
    stream.setDevice(&file);
    stream.setVersion(kStreamVersion);
    Reader in(stream);
    const quint32 magic = in.value<quint32>();
    const quint32 version = in.value<quint32>();
    if (magic != kMagic || version < kOldestVersion || version > kVersion) {
        *why = QString::fromUtf8(kNotOurs);
        return std::nullopt;
    }
    FindingsTable table;
    const quint64 rows =
        readSummary(in, version, file.size(), table.summary) ? in.value<quint64>() : ~quint64(0);
    // A count no file of this size can hold is damage, not a reason to allocate.
    if (stream.status() != QDataStream::Ok || rows > quint64(file.size() / kLeastRowBytes)) {
        *why = QString::fromUtf8(kDamaged);
        return std::nullopt;
    }
    if (keepRows)
        table.rows.reserve(qsizetype(rows));
    Finding r;
    for (quint64 k = 0; k < rows; ++k) {
        if (!readRow(in, r) || stream.status() != QDataStream::Ok) {
            *why = QString::fromUtf8(kDamaged);
            return std::nullopt;
        }
        if (keepRows)
            table.rows.append(std::move(r));
    }
    return table;
}

} // namespace

namespace LastRunStore {

QString path() {
    return LibraryFolders::userLibrary() + QLatin1StringView(kFolder) + QLatin1StringView(kFile);
}

bool save(const FindingsTable& table, const ScanFindings& findings, QString* why) {
    const QString folder = LibraryFolders::userLibrary() + QLatin1StringView(kFolder);
    if (!QDir().mkpath(folder)) {
        *why = QStringLiteral("cannot create %1").arg(folder);
        return false;
    }
    QSaveFile file(path());
    // It names the user's files: for their eyes only.
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner)) {
        *why = file.errorString();
        return false;
    }
    QDataStream out(&file);
    out.setVersion(kStreamVersion);
    out << kMagic << kVersion;
    writeSummary(out, table.summary);
    out << quint64(table.rows.size());
    for (const Finding& r : table.rows)
        writeRow(out, r);
    if (out.status() != QDataStream::Ok || !writeScanReport(file, findings) || !file.commit()) {
        *why = file.errorString();
        return false;
    }
    return true;
}

std::optional<FindingsTable> load(QString* why) {
    QFile file(path());
    QDataStream stream;
    return readTable(file, stream, true, why);
}

bool copyReport(const QDateTime& ended, QIODevice& device, QString* why) {
    QFile file(path());
    QDataStream stream;
    const std::optional<FindingsTable> stored = readTable(file, stream, false, why);
    if (!stored) {
        for (const char* reason : {kNotOurs, kDamaged}) {
            if (*why == QLatin1StringView(reason))
                *why = translated(reason);
        }
        return false;
    }
    if (stored->summary.ended != ended) {
        *why = translated(kReplaced);
        return false;
    }
    QByteArray chunk;
    while (!(chunk = file.read(kCopyChunk)).isEmpty()) {
        if (device.write(chunk) != chunk.size()) {
            *why = device.errorString();
            return false;
        }
    }
    return true;
}

} // namespace LastRunStore
