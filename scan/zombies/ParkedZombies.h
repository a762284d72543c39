/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "bridge/iPhotoBridge.h"
#include "scan/zombies/ZombieRecoveryReport.h"

#include <QHash>
#include <chrono>
#include <functional>

class RecoveryJournal;

// Decides the fate of the zombies a recovery journal still has planned or parked, whether the
// run that parked them is at its end or was killed long ago. The file system says where each one
// is; a parked file whose bytes a photo of the journal's album holds leaves the park (recorded in
// the journal first), every other one goes back to its original path, never replacing anything
// there. Nothing the import may have taken is put back without the application's word: with the
// application gone it stays parked. The journal is closed once no file is left parked.
namespace ParkedZombies {

struct Context {
    // Null or not running: what only the application can decide waits.
    const iPhotoApplication* application = nullptr;
    iPhotoAlbum album; // the album the import went to, when the caller knows it
    std::function<bool()> cancelled;
    // A run cancelled during its own import puts back what has not arrived yet; finishing an
    // earlier run's recovery, a cancel leaves what the import may still take parked.
    bool cancelLeavesParked = false;
    std::chrono::milliseconds poll{1000};
};

// The library's copy of each zombie seen arriving, by original path.
using Copies = QHash<QByteArray, QByteArray>;

// True when the application was needed and was gone or did not answer.
bool settle(RecoveryJournal& journal, const Context& context, Copies* copies = nullptr);

// The journal's zombies as the report tells them.
QList<ZombieRecoveryReport::Zombie> reportOf(const RecoveryJournal& journal, const Copies& copies = {});

} // namespace ParkedZombies
