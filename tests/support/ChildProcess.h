/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <csignal>
#include <functional>
#include <sys/prctl.h>

// Makes child processes die with their parent, so no orphan keeps a pipe open after a crash.
inline void setDieWithParent(QProcess& process) {
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

// A program the test starts (vup, photoapp, a helper): it dies with the test, reads `input` and
// then a closed standard input, and is killed if it still runs when the object goes. `setup` may
// change its environment or channels before it starts.
class ChildProcess {
public:
    ChildProcess(const QString& program, const QStringList& args, const QByteArray& input = {},
                 const std::function<void(QProcess&)>& setup = {}) {
        setDieWithParent(process);
        if (setup)
            setup(process);
        process.start(program, args);
        process.waitForStarted(10000);
        process.write(input);
        process.closeWriteChannel();
    }
    ~ChildProcess() { wait(0); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Reads standard output until it holds `text` after `after`; false on time-out or exit.
    bool waitFor(const QByteArray& after, const QByteArray& text, int timeoutMs = 60000) {
        QElapsedTimer timer;
        timer.start();
        for (;;) {
            const qsizetype at = out.indexOf(after);
            if (at >= 0 && out.indexOf(text, at + after.size()) >= 0)
                return true;
            if (process.state() == QProcess::NotRunning || timer.elapsed() > timeoutMs)
                return false;
            process.waitForReadyRead(20);
            out += process.readAllStandardOutput();
        }
    }
    // The exit code once it ended, -1 when it crashed or was killed after `timeoutMs` (at once for 0).
    int wait(int timeoutMs = 120000) {
        if (process.error() == QProcess::FailedToStart)
            return -1;
        const bool ended = process.state() == QProcess::NotRunning || process.waitForFinished(timeoutMs);
        if (!ended) {
            process.kill();
            process.waitForFinished();
        }
        out += process.readAllStandardOutput();
        err += process.readAllStandardError();
        return ended && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    qint64 pid() const { return process.processId(); }

    QProcess process;
    QByteArray out; // what it wrote so far, as far as read
    QByteArray err;
};

// How a program ended: exit code (-1 when it crashed or hung) and what it wrote.
struct ProgramRun {
    int exitCode = -1;
    QString out;
    QString err;
};

inline ProgramRun runProgram(const QString& program, const QStringList& args, const QByteArray& input = {},
                             int timeoutMs = 120000) {
    ChildProcess child(program, args, input);
    const int code = child.wait(timeoutMs);
    return {code, QString::fromUtf8(child.out), QString::fromUtf8(child.err)};
}
