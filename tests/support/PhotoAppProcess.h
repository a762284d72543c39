/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QByteArray>
#include <QDBusMessage>
#include <QJsonObject>
#include <QStringList>
#include <QTemporaryFile>
#include <memory>

class ChildProcess;

// Runs the real photoapp program for tests: one-shot subcommands, and `serve` as a child process
// on the test's session bus, stopped by its own process id.
class PhotoAppProcess {
public:
    struct Result {
        int exitCode = -1;
        QByteArray out;
        QByteArray err;
    };

    static QString executable() { return QStringLiteral(VUP_PHOTOAPP_EXECUTABLE); }
    // Runs `photoapp ARGS...` to completion (`timeoutMs` at most).
    static Result run(const QStringList& args, int timeoutMs = 60000);
    // `photoapp dump LIBRARY` parsed; an empty object on failure.
    static QJsonObject dump(const QString& library);
    // A request to the photo application serving on the test's bus, answered or failed within
    // `timeoutMs`.
    static QDBusMessage request(const QString& path, const char* interface, const char* method,
                                const QVariantList& args = {}, int timeoutMs = 10000);
    // The most memory a process has held (VmHWM), in kilobytes; -1 when it cannot be read.
    static long peakKilobytes(qint64 pid);

    PhotoAppProcess();
    ~PhotoAppProcess();
    PhotoAppProcess(const PhotoAppProcess&) = delete;
    PhotoAppProcess& operator=(const PhotoAppProcess&) = delete;

    // `photoapp serve LIBRARY EXTRA...`; true once it owns the bus name (10 s at most).
    bool serve(const QString& library, const QStringList& extraArgs = {});
    // SIGTERM, then SIGKILL if it does not exit in 5 s. True when it exited with status 0.
    bool stop();
    // SIGKILL at once, as a crash would.
    void kill();
    // SIGSTOP, as a hung application; true once every thread of it has stopped. A stop reaches
    // the threads one by one: until then one of them may still answer a request.
    bool suspend();
    qint64 pid() const;
    bool isRunning() const;
    // What the service wrote to its standard error so far.
    QByteArray standardError();

private:
    std::unique_ptr<ChildProcess> server;
    QTemporaryFile errorLog;
};

// The object paths an `ao` answer carries.
QStringList objectPaths(const QDBusMessage& reply);

// `photoapp ARGS...` to completion, each argument taken as text.
template <typename... Args> PhotoAppProcess::Result photoapp(const Args&... args) {
    return PhotoAppProcess::run({QString(args)...});
}
