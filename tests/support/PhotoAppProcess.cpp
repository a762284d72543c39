/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "tests/support/PhotoAppProcess.h"

#include "tests/support/TestBus.h"
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

QString PhotoAppProcess::executable() {
    return QStringLiteral(VUP_PHOTOAPP_EXECUTABLE);
}

PhotoAppProcess::Result PhotoAppProcess::run(const QStringList& args, int timeoutMs) {
    QProcess p;
    setDieWithParent(p);
    p.start(executable(), args);
    Result r;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        r.err = "photoapp did not finish";
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
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
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').constFirst().toLong();
    }
    return -1;
}

PhotoAppProcess::PhotoAppProcess() = default;

PhotoAppProcess::~PhotoAppProcess() {
    if (isRunning())
        stop();
}

bool PhotoAppProcess::serve(const QString& library, const QStringList& extraArgs) {
    process = std::make_unique<QProcess>();
    setDieWithParent(*process);
    process->setProcessChannelMode(QProcess::ForwardedOutputChannel);
    if (errorLog.open())
        process->setStandardErrorFile(errorLog.fileName(), QIODevice::Append);
    process->start(executable(), QStringList{QStringLiteral("serve"), library} + extraArgs);
    if (!process->waitForStarted(10000))
        return false;
    QElapsedTimer timer;
    timer.start();
    QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    while (timer.elapsed() < 10000) {
        if (process->state() == QProcess::NotRunning)
            return false;
        if (bus && bus->isServiceRegistered(QString::fromLatin1(PhotoAppWire::kService)))
            return true;
        QThread::msleep(20);
    }
    return false;
}

bool PhotoAppProcess::stop() {
    if (!process || process->state() == QProcess::NotRunning)
        return process && process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
    ::kill(static_cast<pid_t>(process->processId()), SIGTERM);
    if (!process->waitForFinished(5000)) {
        process->kill();
        process->waitForFinished(5000);
        return false;
    }
    return process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
}

void PhotoAppProcess::kill() {
    if (!process || process->state() == QProcess::NotRunning)
        return;
    process->kill();
    process->waitForFinished(5000);
}

bool PhotoAppProcess::suspend() {
    if (!isRunning())
        return false;
    const qint64 id = process->processId();
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
    return process ? process->processId() : 0;
}

bool PhotoAppProcess::isRunning() const {
    return process && process->state() != QProcess::NotRunning;
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
