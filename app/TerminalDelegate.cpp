/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "app/TerminalDelegate.h"

#include "app/TerminalText.h"
#include "platform/IdleSleepAssertion.h"
#include "scan/engine/AccessPrompt.h"
#include "scan/engine/KeywordVerification.h"

#include <csignal>
#include <unistd.h>

namespace {

constexpr const char* kAssertionName = "Describe Activity Type";
constexpr int kBarWidth = 40;
constexpr int kRedrawIntervalMs = 100;

std::atomic<bool> interrupted{false};

constexpr int kCancellingSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void onInterrupt(int signal) {
    if (interrupted.exchange(true)) {
        // The second time means now.
        std::signal(signal, SIG_DFL);
        std::raise(signal);
    }
}

// Status lines, alerts and prompts quote names from the library and messages from the bus: their
// own line breaks are kept, nothing in them may command the terminal.
QByteArray out(const QString& text) {
    return terminalSafeLines(text).toLocal8Bit();
}

} // namespace

TerminalDelegate::TerminalDelegate(Options o, std::FILE* in, std::FILE* outFile, QObject* parent)
    : VupDelegate(parent), options(o), input(in), output(outFile),
      interactiveOutput(::isatty(fileno(outFile)) == 1), zombiesWanted(o.recoverZombies) {}

TerminalDelegate::~TerminalDelegate() {
    if (assertionResult == IdleSleepAssertion::kCreated)
        IdleSleepAssertion::release(assertionID);
}

void TerminalDelegate::installInterruptHandler() {
    for (const int signal : kCancellingSignals)
        std::signal(signal, onInterrupt);
}

bool TerminalDelegate::interruptReceived() {
    return interrupted.load();
}

bool TerminalDelegate::cancelled() const {
    return interrupted.load();
}

void TerminalDelegate::prepareForRun() {
    assertionResult = IdleSleepAssertion::create(QString::fromLatin1(kAssertionName), assertionID);
}

void TerminalDelegate::setStatusLabel(const QString& text) {
    endProgressLine();
    std::fprintf(output, "%s\n", out(text).constData());
    std::fflush(output);
}

void TerminalDelegate::cfgProgressBarIndeterminate() {
    indeterminate = true;
}

void TerminalDelegate::cfgProgressBarDeterminate() {
    indeterminate = false;
}

void TerminalDelegate::cfgProgressBarMaxValue(double value) {
    endProgressLine();
    maxValue = value;
    currentValue = 0;
    lastDecile = -1;
}

void TerminalDelegate::cfgProgressBarCurrentValue(double value) {
    currentValue = value;
    drawProgress(false);
}

void TerminalDelegate::stopAnimation() {
    endProgressLine();
    indeterminate = false;
}

void TerminalDelegate::processingComplete() {
    endProgressLine();
    if (assertionResult == IdleSleepAssertion::kCreated) {
        IdleSleepAssertion::release(assertionID);
        assertionResult = IdleSleepAssertion::kNotCreated;
    }
}

void TerminalDelegate::drawProgress(bool force) {
    if (maxValue <= 0)
        return;
    const double fraction = std::clamp(currentValue / maxValue, 0.0, 1.0);
    if (!interactiveOutput) {
        // Plain lines for logs and pipes: one per tenth of the way, and the last one.
        const int decile = static_cast<int>(fraction * 10);
        if (decile == lastDecile && !force)
            return;
        lastDecile = decile;
        std::fprintf(output, "%.0f/%.0f\n", currentValue, maxValue);
        std::fflush(output);
        return;
    }
    const bool last = currentValue >= maxValue;
    if (!force && !last && sinceDraw.isValid() && sinceDraw.elapsed() < kRedrawIntervalMs)
        return;
    sinceDraw.start();
    const int filled = static_cast<int>(fraction * kBarWidth);
    std::fprintf(output, "\r[%s%s] %.0f/%.0f", QByteArray(filled, '#').constData(),
                 QByteArray(kBarWidth - filled, ' ').constData(), currentValue, maxValue);
    std::fflush(output);
    progressLineOpen = true;
}

void TerminalDelegate::endProgressLine() {
    if (!progressLineOpen)
        return;
    drawProgress(true);
    std::fputc('\n', output);
    std::fflush(output);
    progressLineOpen = false;
}

void TerminalDelegate::printBlock(const QString& title, const QString& text) {
    endProgressLine();
    std::fprintf(output, "\n%s\n%s\n\n", out(title).constData(), out(text).constData());
    std::fflush(output);
}

bool TerminalDelegate::readLine(QString& line) {
    char buffer[1024];
    if (!std::fgets(buffer, sizeof buffer, input))
        return false;
    line = QString::fromLocal8Bit(buffer).trimmed();
    return true;
}

void TerminalDelegate::showAlert(const QString& text, const QString& title) {
    printBlock(title, text);
}

void TerminalDelegate::showModalAlert(const QString& text, const QString& title) {
    printBlock(title, text);
    // The keyword alert comes back until the keywords exist. The keyword image was imported
    // before it was shown, so with --yes, or with nobody left on standard input, another round
    // could only import it again: end the run instead.
    const bool keywordAlert = title == KeywordVerification::kMissingKeywordsTitle;
    if (options.assumeYes) {
        if (keywordAlert)
            giveUpOnKeywords();
        return;
    }
    std::fputs(tr("Press Enter to continue. ").toLocal8Bit().constData(), output);
    std::fflush(output);
    QString ignored;
    if (!readLine(ignored) && keywordAlert)
        giveUpOnKeywords();
}

void TerminalDelegate::giveUpOnKeywords() {
    keywordsGivenUp = true;
    std::fputs(tr("vup scan: the photo application still lacks the keywords listed above; add them and scan "
                  "again\n")
                   .toLocal8Bit()
                   .constData(),
               stderr);
    std::fflush(stderr);
}

void TerminalDelegate::askForReadAccess(const QString& path) {
    // The name made safe before it joins the message, whose own line breaks then stay.
    printBlock(QCoreApplication::translate("AccessPrompt", AccessPrompt::kTitle),
               AccessPrompt::message(terminalSafe(path)));
    if (options.assumeYes)
        return;
    for (;;) {
        // The answer stays y or n in every language: the question says which letters it takes.
        std::fputs(tr("Open %1? [y/N] ")
                       .arg(terminalSafe(AccessPrompt::initialFolder(path)))
                       .toLocal8Bit()
                       .constData(),
                   output);
        std::fflush(output);
        QString answer;
        if (!readLine(answer)) {
            // Nobody is left to answer; asking again would spin forever. The caller checks again
            // whether it can read the path, so going on is safe.
            std::fputs(
                tr("\nstandard input closed: going on as if Open was pressed\n").toLocal8Bit().constData(),
                output);
            std::fflush(output);
            return;
        }
        if (answer.startsWith(u'y', Qt::CaseInsensitive))
            return;
        AccessPrompt::logRefusal(0);
    }
}
