/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "crashreporter/DiscardCrashLog.h"

#include "platform/SystemLog.h"
#include "platform/Trash.h"

namespace {
constexpr const char* kNoFileReference = "ZXNCrashReporter: Unable to create FSRef for file %1";
constexpr const char* kTrashFailed = "ZXNCrashReporter: Unable to move %1 to trash: %2";
} // namespace

bool discardCrashLog(const OfferedCrashLog& crashLog) {
    const QString& path = crashLog.path();
    if (!Trash::itemExists(path)) {
        vupLog(QString::fromLatin1(kNoFileReference).arg(path));
        return false;
    }
    if (QString reason; !crashLog.isStillTheOfferedFile(&reason)) {
        vupLog(QString::fromLatin1(kTrashFailed).arg(path, reason));
        return false;
    }
    if (const int status = Trash::moveToTrash(path); status != 0) {
        vupLog(QString::fromLatin1(kTrashFailed).arg(path, QString::number(status)));
        return false;
    }
    return true;
}
