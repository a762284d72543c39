/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "scan/zombies/RecoveryResume.h"

#include "bridge/iPhotoBridge.h"
#include "l10n/ShownText.h"
#include "platform/SystemLog.h"
#include "scan/zombies/ParkedZombies.h"
#include "scan/zombies/RecoveryJournal.h"
#include "scan/zombies/SafeMove.h"

#include <QFile>
#include <QStringList>
#include <sys/stat.h>

namespace {

// The lines go to the log and the report in English; shownLines translates them for the user.
constexpr const char* kFinishedText = QT_TRANSLATE_NOOP(
    "RecoveryResume",
    "Vup finished an interrupted zombie recovery: %1 re-added, %2 put back, %3 still parked in %4.");
constexpr const char* kWaitingText = QT_TRANSLATE_NOOP(
    "RecoveryResume", "Vup could not finish an interrupted zombie recovery without photoapp: "
                      "%1 re-added, %2 put back, %3 still parked in %4.");
constexpr const char* kUnfinishedText =
    QT_TRANSLATE_NOOP("RecoveryResume", "Vup found an interrupted zombie recovery of %1 zombies in %2; the "
                                        "next scan with photoapp running will finish it.");
const QString kFinished = QString::fromUtf8(kFinishedText);
const QString kWaiting = QString::fromUtf8(kWaitingText);
const QString kUnfinished = QString::fromUtf8(kUnfinishedText);

qsizetype countOf(const RecoveryJournal& journal, std::initializer_list<ZombieState> states) {
    qsizetype n = 0;
    for (const RecoveryJournal::Entry& e : journal.entries())
        n += std::find(states.begin(), states.end(), e.state) != states.end();
    return n;
}

bool parkedCopyExists(const RecoveryJournal& journal, const RecoveryJournal::Entry& e) {
    struct stat st {};
    return ::lstat((journal.park() + '/' + e.parked).constData(), &st) == 0;
}

// What the user is told is what the disk holds at the end: a copy still in the park is still
// parked, whatever the journal says of it.
QString outcomeLine(const QString& format, const RecoveryJournal& journal) {
    qsizetype reAdded = 0;
    for (const RecoveryJournal::Entry& e : journal.entries())
        reAdded += e.state == ZombieState::ReAdded && !parkedCopyExists(journal, e);
    return format.arg(reAdded)
        .arg(countOf(journal, {ZombieState::PutBack, ZombieState::NotMoved}))
        .arg(SafeMove::filesBelow(journal.park()))
        .arg(QFile::decodeName(journal.park()));
}

} // namespace

namespace RecoveryResume {

bool anyUnfinished() {
    return !RecoveryJournal::unfinished().isEmpty();
}

QString describeUnfinished() {
    return finishInterrupted(nullptr, true, {});
}

QString finishInterrupted(const std::shared_ptr<const iPhotoApplication>& application, bool dryRun,
                          const std::function<bool()>& cancelled, std::chrono::milliseconds poll) {
    QStringList lines;
    // Only the application serving a journal's library can say what its import took.
    const QByteArray served =
        application && !dryRun ? QFile::encodeName(application->libraryPath()) + "/Masters" : QByteArray();
    for (const QByteArray& path : RecoveryJournal::unfinished()) {
        if (cancelled && cancelled())
            break;
        const std::unique_ptr<RecoveryJournal> journal = RecoveryJournal::reopen(path);
        if (!journal)
            continue;
        const QString park = QFile::decodeName(journal->park());
        if (dryRun) {
            lines.append(
                kUnfinished.arg(countOf(*journal, {ZombieState::Planned, ZombieState::Parked})).arg(park));
            continue;
        }
        ParkedZombies::Context context;
        context.application = journal->masters() == served ? application.get() : nullptr;
        context.cancelled = cancelled;
        context.cancelLeavesParked = true;
        context.poll = poll;
        const bool lost = ParkedZombies::settle(*journal, context);
        const QString line = outcomeLine(lost ? kWaiting : kFinished, *journal);
        vupLog(line);
        lines.append(line);
    }
    return lines.join(QLatin1Char('\n'));
}

QString shownLines(const QString& lines) {
    static const ShownText shown("RecoveryResume", {kFinishedText, kWaitingText, kUnfinishedText});
    QStringList out;
    for (const QString& line : lines.split(QLatin1Char('\n')))
        out.append(shown(line));
    return out.join(QLatin1Char('\n'));
}

} // namespace RecoveryResume
