/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QString>
#include <QTextStream>

// Recovers `zombies` small JPEG zombies into a real photoapp on a private bus, with the library and
// the state folder under `folder` (a disk, so that syncing costs what it costs), and prints the
// whole recovery next to the part of it spent writing and syncing the recovery journal.
// Answers 0 when every zombie was re-added.
int benchRecovery(int zombies, const QString& folder, QTextStream& out);
