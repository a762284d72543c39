/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>
#include <sys/types.h>

// A crash log as it was when it was offered: its path and the file that path named then. Reading
// and deleting act only on that same file, so that a log swapped for a link or for another file
// between the offer and the sending is neither sent nor deleted.
class OfferedCrashLog {
public:
    struct Contents {
        QByteArray bytes;
        // Modification date of the file that was read, in milliseconds.
        QDateTime modified;
    };

    OfferedCrashLog() = default;
    // Notes which file `path` names now; when that is no regular file, every later read fails.
    explicit OfferedCrashLog(QString path);

    const QString& path() const { return logPath; }
    QString fileName() const;

    // The whole file, read through one descriptor opened without following links, provided the
    // path still names the offered regular file. Otherwise nothing, and `failure` says why.
    std::optional<Contents> read(QString* failure) const;
    // Whether the path still names the offered file (not a link, not a file put in its place, not
    // a file reached through a folder swapped for a link); `failure` says why not.
    bool isStillTheOfferedFile(QString* failure) const;
    // Deletes the log only while its path still names the offered file; `failure` says why not.
    bool remove(QString* failure) const;

private:
    struct Identity {
        dev_t device;
        ino_t inode;
    };

    QString logPath;
    std::optional<Identity> identity;
};
