/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "tests/support/PhotoAppProcess.h"

#include "tests/support/ChildProcess.h"
#include "tests/support/ProcessStatus.h"
#include "wire/PhotoAppWire.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusObjectPath>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QThread>
#include <csignal>

PhotoAppProcess::Result PhotoAppProcess::run(const QStringList& args, int timeoutMs) {
    ChildProcess child(executable(), args);
    const int code = child.wait(timeoutMs);
    return {code, child.out, child.err};
}

QJsonObject PhotoAppProcess::dump(const QString& library) {
    const Result r = run({QStringLiteral("dump"), library});
    if (r.exitCode != 0)
        return {};
    return QJsonDocument::fromJson(r.out).object();
}

QDBusMessage PhotoAppProcess::request(const QString& path, const char* interface, const char* method,
                                      const QVariantList& args, int timeoutMs) {
    QDBusMessage m =
        QDBusMessage::createMethodCall(QString::fromLatin1(PhotoAppWire::kService), path,
                                       QString::fromLatin1(interface), QString::fromLatin1(method));
    m.setArguments(args);
    return QDBusConnection::sessionBus().call(m, QDBus::Block, timeoutMs);
}

long PhotoAppProcess::peakKilobytes(qint64 pid) {
    return long(processStatusKilobytes("VmHWM:", pid));
}

PhotoAppProcess::PhotoAppProcess() = default;

PhotoAppProcess::~PhotoAppProcess() {
    if (isRunning())
        stop();
}

bool PhotoAppProcess::serve(const QString& library, const QStringList& extraArgs) {
    if (!errorLog.isOpen() && !errorLog.open())
        return false;
    // Its standard error goes to a file: a pipe nobody drains while the test waits would fill up
    // and stall the service in the middle of a request.
    server = std::make_unique<ChildProcess>(
        executable(), QStringList{QStringLiteral("serve"), library} + extraArgs, QByteArray(),
        [this](QProcess& p) {
            p.setProcessChannelMode(QProcess::ForwardedOutputChannel);
            p.setStandardErrorFile(errorLog.fileName(), QIODevice::Append);
        });
    QElapsedTimer timer;
    timer.start();
    QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    while (timer.elapsed() < 10000) {
        if (!isRunning())
            return false;
        if (bus && bus->isServiceRegistered(QString::fromLatin1(PhotoAppWire::kService)))
            return true;
        QThread::msleep(20);
    }
    return false;
}

bool PhotoAppProcess::stop() {
    if (isRunning())
        ::kill(static_cast<pid_t>(pid()), SIGTERM);
    return server && server->wait(5000) == 0;
}

void PhotoAppProcess::kill() {
    if (server)
        server->wait(0);
}

bool PhotoAppProcess::suspend() {
    if (!isRunning())
        return false;
    const qint64 id = pid();
    ::kill(static_cast<pid_t>(id), SIGSTOP);
    const QString tasks = QStringLiteral("/proc/%1/task").arg(id);
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 5000) {
        bool allStopped = true;
        for (const QString& task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            QFile stat(tasks + QLatin1Char('/') + task + QStringLiteral("/stat"));
            if (!stat.open(QIODevice::ReadOnly))
                continue; // a thread that has ended
            const QByteArray line = stat.readAll();
            // The state follows the command name, which may itself hold parentheses.
            const qsizetype at = line.lastIndexOf(')') + 2;
            allStopped = allStopped && at < line.size() && (line.at(at) == 'T' || line.at(at) == 't');
        }
        if (allStopped)
            return true;
        QThread::msleep(1);
    }
    return false;
}

qint64 PhotoAppProcess::pid() const {
    return server ? server->pid() : 0;
}

bool PhotoAppProcess::isRunning() const {
    return server && server->process.state() != QProcess::NotRunning;
}

QByteArray PhotoAppProcess::standardError() {
    QFile log(errorLog.fileName());
    return log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
}

QStringList objectPaths(const QDBusMessage& reply) {
    QList<QDBusObjectPath> list;
    reply.arguments().value(0).value<QDBusArgument>() >> list;
    QStringList result;
    for (const QDBusObjectPath& p : list)
        result.append(p.path());
    return result;
}
