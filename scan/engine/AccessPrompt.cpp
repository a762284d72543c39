/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "scan/engine/AccessPrompt.h"

#include "platform/SystemLog.h"

#include <QCoreApplication>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kMessage = QT_TRANSLATE_NOOP(
    "AccessPrompt", "Vup Requires read/write access to %1 in order to detect and recover zombies.\n"
                    "Please select it or it's parent folder and hit the Open button.");
constexpr const char* kRefusal = "NSOpenPanel result = %1";
constexpr const char* kOwnerAndMode =
    QT_TRANSLATE_NOOP("AccessPrompt", "%1 belongs to %2 and has the mode %3 (%4). Vup runs as %5.");
constexpr const char* kCannotLook =
    QT_TRANSLATE_NOOP("AccessPrompt", "%1 cannot be looked at: %2. Vup runs as %3.");
constexpr const char* kGrantFolder = QT_TRANSLATE_NOOP(
    "AccessPrompt",
    "Grant read access to this folder, for example with a file manager or chmod, then press Open");
constexpr const char* kGrantFile = QT_TRANSLATE_NOOP(
    "AccessPrompt",
    "Grant read access to this file, for example with a file manager or chmod, then press Open");

QString shown(const char* text) {
    return QCoreApplication::translate("AccessPrompt", text);
}

QString userName(uid_t uid) {
    struct passwd entry {};
    struct passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(uid, &entry, buffer, sizeof buffer, &found) == 0 && found)
        return QString::fromLocal8Bit(found->pw_name);
    return QString::number(uid);
}

// The mode as `ls -l` shows it, e.g. "drwx------".
QString modeText(mode_t mode) {
    QString text = QString(S_ISDIR(mode) ? u'd' : S_ISLNK(mode) ? u'l' : u'-');
    constexpr mode_t bits[] = {S_IRUSR, S_IWUSR, S_IXUSR, S_IRGRP, S_IWGRP,
                               S_IXGRP, S_IROTH, S_IWOTH, S_IXOTH};
    constexpr char16_t letters[] = u"rwxrwxrwx";
    for (int i = 0; i < 9; ++i)
        text += (mode & bits[i]) ? QChar(letters[i]) : QChar(u'-');
    return text;
}

// Path components split the way the prompt needs them: a trailing separator does not count.
QString trimmed(const QString& path) {
    QString p = path;
    while (p.size() > 1 && p.endsWith(u'/'))
        p.chop(1);
    return p;
}

} // namespace

namespace AccessPrompt {

QString message(const QString& path) {
    const QString p = trimmed(path);
    return shown(kMessage).arg(p.mid(p.lastIndexOf(u'/') + 1));
}

QString initialFolder(const QString& path) {
    const QString p = trimmed(path);
    const qsizetype slash = p.lastIndexOf(u'/');
    if (slash < 0)
        return QString();
    return slash == 0 ? QStringLiteral("/") : p.left(slash);
}

void logRefusal(long result) {
    vupLog(QString::fromLatin1(kRefusal).arg(result));
}

QString ownerAndMode(const QString& path) {
    const QString self = userName(::getuid());
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        const int error = errno;
        return shown(kCannotLook).arg(path, QString::fromLocal8Bit(std::strerror(error)), self);
    }
    const QString octal = QStringLiteral("%1").arg(st.st_mode & 07777, 4, 8, QLatin1Char('0'));
    return shown(kOwnerAndMode).arg(path, userName(st.st_uid), modeText(st.st_mode), octal, self);
}

QString explanation(const QString& path) {
    struct stat st {};
    const bool file = ::stat(QFile::encodeName(path).constData(), &st) == 0 && !S_ISDIR(st.st_mode);
    return ownerAndMode(path) + u'\n' + shown(file ? kGrantFile : kGrantFolder);
}

} // namespace AccessPrompt
