/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "scan/engine/VupDelegate.h"

#include <QElapsedTimer>
#include <atomic>
#include <cstdio>

// The delegate operations on a terminal, for `vup scan`: status lines, a progress bar (plain
// progress lines when standard output is not a terminal), alerts printed with their title, and
// modal alerts and the access prompt answered on standard input, or at once with --yes.
class TerminalDelegate final : public VupDelegate {
    Q_OBJECT
public:
    struct Options {
        bool selectionMode = false;
        bool autoDelete = false;
        bool recoverZombies = false;
        bool assumeYes = false;
    };

    TerminalDelegate(Options options, std::FILE* in, std::FILE* out, QObject* parent = nullptr);
    ~TerminalDelegate() override;

    void setStatusLabel(const QString& text) override;
    void cfgProgressBarIndeterminate() override;
    void cfgProgressBarDeterminate() override;
    void cfgProgressBarMaxValue(double value) override;
    void cfgProgressBarCurrentValue(double value) override;
    void stopAnimation() override;
    void processingComplete() override;
    void askForReadAccess(const QString& path) override;

    void showAlert(const QString& text, const QString& title) override;
    void showModalAlert(const QString& text, const QString& title) override;

    bool autoDelete() const override { return options.autoDelete; }
    bool selectionMode() const override { return options.selectionMode; }
    bool recoverZombies() const override { return zombiesWanted.load(); }
    bool cancelled() const override;
    void setRecoverZombies(bool value) override { zombiesWanted.store(value); }
    bool keywordsDeclined() const override { return keywordsGivenUp.load(); }

    // Holds the idle-sleep assertion for the run; processingComplete releases it.
    void prepareForRun();
    // Ctrl-C, SIGTERM and SIGHUP cancel the run instead of killing the process mid-request; the
    // same signal a second time ends the process at once.
    static void installInterruptHandler();
    // True once one of those signals came, whether or not the run could still act on it.
    static bool interruptReceived();

private:
    void endProgressLine();
    void drawProgress(bool force);
    void printBlock(const QString& title, const QString& text);
    void giveUpOnKeywords();
    // One line from standard input; false at end of input.
    bool readLine(QString& line);

    Options options;
    std::FILE* input;
    std::FILE* output;
    bool interactiveOutput;
    std::atomic<bool> zombiesWanted;
    // Set when nobody can add the missing keywords: the keyword check then refuses the run.
    std::atomic<bool> keywordsGivenUp{false};

    bool indeterminate = false;
    double maxValue = 0;
    double currentValue = 0;
    int lastDecile = -1;
    bool progressLineOpen = false;
    QElapsedTimer sinceDraw;

    int assertionResult = -1;
    quint32 assertionID = 0;
};
