/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "scan/zombies/SafeMove.h"
#include "scan/zombies/ZombieRecoveryReport.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <memory>

// The durable record of one zombie recovery, kept in the user's state folder
// ($XDG_STATE_HOME/vup/recoveries) beside the run's own park folder. Zombies leave the library
// only once they are planned here and the plan is on disk, so a run killed at any instant leaves
// what the next run needs to put every file where it belongs.
//
// An append-only log of text lines; file names are percent-encoded, so any bytes round-trip. A
// crash can only cut the last line short, and a line without its line feed is ignored. The
// journal is locked while a process works on it; a closed journal is renamed to ".done".
class RecoveryJournal {
public:
    struct Entry {
        QByteArray original; // absolute; may be longer than PATH_MAX
        QByteArray parked;   // relative to the park folder
        qint64 size = -1;
        quint64 device = 0;
        quint64 inode = 0;
        ZombieState state = ZombieState::Planned;
        qint64 photoId = 0; // the photo that holds its bytes, once re-added
    };

    ~RecoveryJournal();
    RecoveryJournal(const RecoveryJournal&) = delete;
    RecoveryJournal& operator=(const RecoveryJournal&) = delete;

    static QByteArray folder();
    // A new journal and its empty park folder, both named "Vupzombies-<stamp>-<pid>-<random>"
    // so that no two runs share them. Null, with the reason, when the state folder is not this
    // user's own or cannot be written.
    static std::unique_ptr<RecoveryJournal> create(const QByteArray& masters, const QString& albumName,
                                                   const QString& stamp, QString* why);
    // The journals left unfinished, oldest first.
    static QList<QByteArray> unfinished();
    // Reopens one for finishing; null when another process works on it or it cannot be read.
    static std::unique_ptr<RecoveryJournal> reopen(const QByteArray& path);

    const QByteArray& path() const { return journalPath; }
    const QByteArray& park() const { return parkPath; }
    const QByteArray& masters() const { return mastersPath; }
    const QString& albumName() const { return album; }
    // The identity of the Masters folder the run walked, when it was recorded: files go back
    // only into that very folder.
    bool mastersPinned() const { return mastersDevice != 0 || mastersInode != 0; }
    quint64 mastersDev() const { return mastersDevice; }
    quint64 mastersIno() const { return mastersInode; }
    bool importSent() const { return albumId != 0; }
    qint64 importAlbumId() const { return albumId; }
    // Photos that cannot vouch for a parked zombie: those the album held before the import and
    // those that already vouched for one.
    QSet<qint64> photosNotToClaim() const;
    const QList<Entry>& entries() const { return list; }
    double syncMilliseconds() const { return syncMs; }

    // Changes are buffered until sync().
    void pinMasters(quint64 device, quint64 inode);
    void plan(const Entry& entry);
    void record(qsizetype index, ZombieState state, qint64 photoId = 0);
    void recordImport(qint64 albumId, const QList<qint64>& photosBefore);
    // Writes what is buffered and waits until it is on disk.
    bool sync();
    // Removes the park's empty folders and, once the park is gone, marks the journal finished and
    // renames it ".done". False, the journal left open, while anything is left in the park.
    bool close();

private:
    RecoveryJournal() = default;
    void apply(const QByteArray& line);

    SafeMove::Fd file;
    QByteArray journalPath;
    QByteArray parkPath;
    QByteArray mastersPath;
    QString album;
    quint64 mastersDevice = 0;
    quint64 mastersInode = 0;
    qint64 albumId = 0;
    QList<qint64> before;
    QList<Entry> list;
    QByteArray pending;
    double syncMs = 0;
};
