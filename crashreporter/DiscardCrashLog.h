#pragma once

#include <QString>

// Moves a crash log to the Trash, logging why when it cannot. Answers whether it was moved.
bool discardCrashLog(const QString& crashLogPath);
