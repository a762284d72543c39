/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "scan/report/ScanFindings.h"

#include <QJsonObject>

class QIODevice;

// The findings of a run as the JSON report written by `vup scan --report`: each photo with an
// issue (position, id, file name, image and master path, the sets it is in, what was done to it),
// the photos it could not check and the changes the application refused, the zombies and the
// counts. A value the application reported as missing is null.
QJsonObject scanFindingsToJson(const ScanFindings& findings);
// The same document written to a device as it is made, in indented form; false when the device
// refused a write.
bool writeScanReport(QIODevice& device, const ScanFindings& findings);

// The report's name of the way a run ended: "completed", "incomplete", "failed", "cancelled" or
// "refused"; and for a refused run, what refused it ("version", "keywords", "nothing to process").
QString outcomeName(ScanFindings::Outcome outcome);
QString refusalName(ScanFindings::Outcome outcome);
