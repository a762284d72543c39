#pragma once

#include "scan/ScanFindings.h"

#include <QJsonObject>

// The findings of a run as the JSON report written by `vup scan --report`: each photo with an
// issue (position, id, file name, image and master path, the sets it is in, what was done to it),
// the zombies and the counts. A value the application reported as missing is null.
QJsonObject scanFindingsToJson(const ScanFindings& findings);

// Short stable names of the ways a run ends, as used in the report and the terminal.
QString outcomeName(ScanFindings::Outcome outcome);
