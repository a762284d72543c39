/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "tests/support/DarktableProcess.h"

#include "bridge/DarktableApplication.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <unistd.h>

bool DarktableProcess::startDisplay() {
    if (display && display->process.state() == QProcess::Running)
        return true;
    // Xvfb picks a free display itself and writes its number to the given descriptor.
    display = std::make_unique<ChildProcess>(QStringLiteral("Xvfb"),
                                             QStringList{QStringLiteral("-displayfd"), QStringLiteral("1"),
                                                         QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                                                         QStringLiteral("-screen"), QStringLiteral("0"),
                                                         QStringLiteral("1280x800x24")});
    if (!display->waitFor({}, "\n", 20000))
        return false;
    displayName = QStringLiteral(":") + QString::fromLatin1(display->out.trimmed());
    return true;
}

bool DarktableProcess::startOnce() {
    darktable.reset();
    // A darktable killed by a test leaves its locks behind, and the next one would wait for it.
    QFile::remove(dir.filePath(QStringLiteral("library.db.lock")));
    QFile::remove(dir.filePath(QStringLiteral("config/data.db.lock")));
    QString program = QStringLiteral("darktable");
    QStringList args{QStringLiteral("--configdir"),     dir.filePath(QStringLiteral("config")),
                     QStringLiteral("--cachedir"),      dir.filePath(QStringLiteral("cache")),
                     QStringLiteral("--library"),       dir.filePath(QStringLiteral("library.db")),
                     QStringLiteral("--disable-opencl")};
    // As root darktable would open any file; without the capabilities that override file modes it
    // is refused what its user's darktable is, and it keeps its pid (setpriv runs it in its place).
    if (::geteuid() == 0) {
        args = QStringList{QStringLiteral("--bounding-set"), QStringLiteral("-dac_override,-dac_read_search"),
                           program} +
               args;
        program = QStringLiteral("setpriv");
    }
    darktable = std::make_unique<ChildProcess>(program, args, QByteArray(), [this](QProcess& p) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), displayName);
        env.insert(QStringLiteral("GDK_BACKEND"), QStringLiteral("x11"));
        env.insert(QStringLiteral("NO_AT_BRIDGE"), QStringLiteral("1"));
        p.setProcessEnvironment(env);
        p.setStandardOutputFile(dir.filePath(QStringLiteral("darktable.log")), QIODevice::Append);
        p.setStandardErrorFile(dir.filePath(QStringLiteral("darktable.log")), QIODevice::Append);
    });
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < kStartTimeoutMs && darktable->process.state() == QProcess::Running) {
        if (lua("return 'up'") == QStringLiteral("up"))
            return true;
        QThread::msleep(250);
    }
    return false;
}

QString DarktableProcess::ensureRunning() {
    if (isRunning() && lua("return 'up'") == QStringLiteral("up"))
        return {};
    return start();
}

QString DarktableProcess::start() {
    if (!dir.isValid())
        return QStringLiteral("no temporary folder for darktable");
    if (!startDisplay())
        return QStringLiteral("Xvfb did not start");
    for (int attempt = 0; attempt < kTries; ++attempt)
        if (startOnce())
            return {};
    darktable.reset();
    return QStringLiteral("darktable did not answer Lua on the test bus within %1 s, %2 tries")
        .arg(kStartTimeoutMs / 1000)
        .arg(kTries);
}

bool DarktableProcess::isRunning() const {
    return darktable && !darktable->process.waitForFinished(0) &&
           darktable->process.state() == QProcess::Running;
}

std::optional<QString> DarktableProcess::lua(const QByteArray& chunk, int timeoutMs) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QString::fromLatin1(DarktableApplication::kService), QString::fromLatin1(DarktableApplication::kPath),
        QString::fromLatin1(DarktableApplication::kInterface), QStringLiteral("Lua"));
    call.setArguments({QString::fromLatin1(chunk)});
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, timeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return std::nullopt;
    return reply.arguments().constFirst().toString();
}
