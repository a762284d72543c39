/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "tests/support/TestBus.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

// How a program the test ran ended: exit code (-1 when it crashed, hung or never started) and
// what it wrote.
struct ProgramRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs `program ARGS...` to completion with `input` on its standard input, in the test's own
// environment; one that outlives `timeoutMs` is killed.
inline ProgramRun runProgram(const QString& program, const QStringList& args, const QByteArray& input = {},
                             int timeoutMs = 120000) {
    QProcess process;
    setDieWithParent(process);
    process.start(program, args);
    if (!process.waitForStarted(10000))
        return {};
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}
