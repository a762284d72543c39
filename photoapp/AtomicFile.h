/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

// A new file in a folder that appears there only whole and on disk, under a name no other file
// held: it is written nameless (or under a hidden temporary name where the file system cannot make
// nameless files), synced, then linked in under the first free name. Until publish() succeeds,
// destroying it leaves nothing behind, and a process killed meanwhile leaves at most the hidden
// temporary file.
class AtomicFile {
public:
    explicit AtomicFile(const QString& folder);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // `stop` is asked between chunks; a stopped write fails.
    bool write(const QByteArray& bytes, const std::function<bool()>& stop = {});
    // Syncs the file and gives it the first free name of nameFor(0), nameFor(1)...; answers its
    // absolute path, or an empty string. `beforeName` is told each absolute path just before the
    // file may take it (false gives up), `notTaken` each one it could not take.
    QString publish(const std::function<QString(int)>& nameFor,
                    const std::function<bool(const QString&)>& beforeName = {},
                    const std::function<void(const QString&)>& notTaken = {});

    // After a failure: whether it was for want of room (disk or quota full, size limit reached).
    bool noRoom() const;
    QString errorString() const;

private:
    bool fail(int error);
    bool linkUnder(const QByteArray& name);

    QString folderPath;
    int folderFd = -1;
    int fd = -1;
    QByteArray tempName; // empty for a nameless file
    int lastError = 0;
};
