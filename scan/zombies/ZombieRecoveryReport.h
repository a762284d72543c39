/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <algorithm>

// Where a zombie stands in its recovery. The letters are what the recovery journal writes.
enum class ZombieState : char {
    Planned = 'p',  // in the journal, not moved yet
    Parked = 'k',   // in the park, waiting to be imported or put back
    ReAdded = 'v',  // a photo of the album holds its very bytes; the parked file is gone
    PutBack = 'b',  // back at its original path
    NotMoved = 'n', // never left its original path
    Missing = 'm',  // neither parked nor back: someone else took it away
    // Left in place as no zombie of this run: a photo names it now, or it changed after the photo
    // list was taken (the application may have just imported it).
    Referenced = 'r',
    Appeared = 'a',
};

// What became of the zombies of one run: what the summary, the terminal's listing and the report
// tell.
struct ZombieRecoveryReport {
    struct Zombie {
        QByteArray path;     // its original path (native bytes)
        QByteArray parkedAt; // where it is parked, for those still parked
        QByteArray addedAs;  // the library's copy, for those re-added when this run saw it arrive
        ZombieState state = ZombieState::Planned;
    };

    QString albumName;
    QByteArray journal;    // empty when no journal was written
    QByteArray parkFolder; // this run's own folder beside the journal
    QList<Zombie> zombies;
    // Symbolic links below Masters that no photo names: never moved, never imported.
    QList<QByteArray> linksLeftAlone;
    QHash<QByteArray, QString> refusals; // the application's words for a file it would not import
    bool cancelled = false;
    // The application went away or stopped answering once it may have imported something: what
    // it may hold stays parked for the next run to decide.
    bool applicationLost = false;
    // Zombies were imported where they lie and tagged albumName, rather than parked and copied.
    bool importedInPlace = false;
    double journalMs = 0; // time spent writing and syncing the journal

    qsizetype count(ZombieState state) const {
        return std::count_if(zombies.cbegin(), zombies.cend(),
                             [state](const Zombie& z) { return z.state == state; });
    }
    qsizetype leftInPlace() const { return count(ZombieState::Referenced) + count(ZombieState::Appeared); }
    // Every zombie is in the album; links, and files that turned out to be no zombies, do not
    // count against it.
    bool complete() const {
        return !cancelled && !applicationLost &&
               count(ZombieState::ReAdded) == zombies.size() - leftInPlace();
    }
};
