/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "crashreporter/ZXNCrashReporter.h"

#include "crashreporter/ZXNException.h"
#include "platform/BundleInfo.h"
#include "platform/LibraryFolders.h"
#include "platform/UserDefaults.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString key(const char* text) {
    return QString::fromLatin1(text);
}

std::optional<QString> configuredSubmissionAddress() {
    const QString defaultsKey = key(ZXNCrashReporter::kCrashSubmissionURLKey);
    if (const auto fromDefaults = UserDefaults::standard().stringForKey(defaultsKey);
        fromDefaults && !fromDefaults->trimmed().isEmpty())
        return fromDefaults->trimmed();
    if (const auto fromBundle = BundleInfo::value(defaultsKey);
        fromBundle && !fromBundle->trimmed().isEmpty())
        return fromBundle->trimmed();
    return std::nullopt;
}

// A log another user wrote, or one in a folder others may write (where anyone could have put it,
// or may yet swap it), is no report of ours: sending it could hand someone else's file to the
// server.
bool isOwnAndGuarded(const QFileInfo& log, const QString& crashLogDirectory) {
    const uid_t user = ::geteuid();
    if (log.ownerId() != user)
        return false;
    // Each folder from the log's up to the crash log folder: the user's or root's, and writable by
    // nobody else (a group write bit counts only for a group other than the user's own).
    const QString top = QDir::cleanPath(crashLogDirectory);
    for (QString folder = log.absolutePath();; folder = QFileInfo(folder).absolutePath()) {
        struct stat info {};
        if (::stat(QFile::encodeName(folder).constData(), &info) != 0)
            return false;
        if ((info.st_uid != user && info.st_uid != 0) || (info.st_mode & S_IWOTH) ||
            ((info.st_mode & S_IWGRP) && info.st_gid != ::getegid()))
            return false;
        if (folder == top || folder.size() <= top.size())
            return true;
    }
}

} // namespace

QString ZXNCrashReporter::displayedAddress(const QUrl& url) {
    return url.toDisplayString(QUrl::RemoveUserInfo);
}

QString ZXNCrashReporter::applicationNameForMatching() {
    if (const auto name = BundleInfo::value(QString::fromLatin1(BundleInfo::kBundleName));
        name && !name->isEmpty())
        return *name;
    // Without a name every application's logs would match the empty prefix.
    return QCoreApplication::instance() ? QCoreApplication::applicationName() : QString();
}

QUrl ZXNCrashReporter::submissionURLFromText(const QString& text) {
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != u"http" && scheme != u"https"))
        return {};
    return url;
}

QStringList ZXNCrashReporter::crashLogDirectories() {
    for (const QString& library : LibraryFolders::userThenMachine()) {
        const QString folder = QDir(library).filePath(key(kCrashLogFolder));
        if (QFileInfo(folder).isDir())
            return {folder};
    }
    return {};
}

QStringList ZXNCrashReporter::crashLogPaths() {
    const QString name = applicationNameForMatching();
    QStringList paths;
    if (name.isEmpty())
        return paths;
    for (const QString& directory : crashLogDirectories()) {
        const QDir base(directory);
        QDirIterator it(directory, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QFileInfo info = it.fileInfo();
            // Only regular files: a folder (or a link) must never be offered, sent or deleted.
            if (info.isSymLink() || !info.isFile())
                continue;
            if (base.relativeFilePath(path).startsWith(name) && isOwnAndGuarded(info, directory))
                paths << path;
        }
    }
    return paths;
}

std::optional<ZXNCrashReporter::NewCrashLog> ZXNCrashReporter::findNewCrashLog() {
    const auto address = configuredSubmissionAddress();
    if (!address)
        throw ZXNException(key(kMissingURLExceptionName), key(kMissingURLExceptionReason));

    UserDefaults& defaults = UserDefaults::standard();
    auto lastReport = defaults.dateForKey(key(kLastCrashReportDateKey));
    if (!lastReport) {
        // Stored with the precision it is read back with, so that the comparison below and the
        // next launch's agree.
        lastReport = QDateTime::fromMSecsSinceEpoch(QDateTime::currentMSecsSinceEpoch(), Qt::UTC);
        defaults.setDate(key(kLastCrashReportDateKey), *lastReport);
    }

    std::optional<QPair<QDateTime, QString>> oldest;
    for (const QString& path : crashLogPaths()) {
        const QDateTime modified = QFileInfo(path).lastModified();
        if (!modified.isValid() || !(*lastReport < modified))
            continue;
        // The oldest first: offering a newer one would move the stored date past the others.
        if (!oldest || modified < oldest->first || (modified == oldest->first && path < oldest->second))
            oldest = qMakePair(modified, path);
    }
    if (!oldest)
        return std::nullopt;
    // The file is noted now: only the file offered here may later be sent or deleted.
    return NewCrashLog{OfferedCrashLog(oldest->second), submissionURLFromText(*address)};
}

void ZXNCrashReporter::checkForNewCrashes(const Presenter& present) {
    if (const auto log = findNewCrashLog())
        present(log->log, log->submissionURL);
}
