/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "scan/report/FindingsTable.h"

#include <QDateTime>
#include <QString>
#include <optional>

class QIODevice;
struct ScanFindings;

// The findings of the latest run, kept in the user's state folder so that the window shows them
// again at its next launch, until the next run replaces them: one file, replaced whole, holding
// the table the window shows and, after it, the run's JSON report exactly as `vup scan --report`
// writes it, for exporting it later.
namespace LastRunStore {

// $XDG_STATE_HOME/vup/last-run
QString path();

// Replaces the stored run by this one; false with the reason when it cannot be written (the
// previous one is then kept).
bool save(const FindingsTable& table, const ScanFindings& findings, QString* why);

// The stored run; nothing when there is none (`why` stays empty) or it cannot be read (`why`
// says why; the file is left as it is).
std::optional<FindingsTable> load(QString* why);

// Writes the stored run's report to `device`; false with the reason, for the user in their
// language, when the stored run is no longer the one that ended at `ended`, or it cannot be read
// or written.
bool copyReport(const QDateTime& ended, QIODevice& device, QString* why);

} // namespace LastRunStore
