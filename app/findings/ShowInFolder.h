/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QByteArray>
#include <QList>
#include <functional>

class QObject;

// Shows files in the desktop's file manager: a file that is there highlighted in its folder, one
// that is gone by the nearest folder that is still there. Without a file manager on the session
// bus, those folders open the way the desktop opens any folder. Paths are bytes and need not be
// UTF-8. Answers at once; the file manager comes up later.
namespace ShowInFolder {

// More would open a window per folder all over the screen.
constexpr qsizetype kMostShown = 20;

// Shows the first kMostShown of `paths`; `unopened` hears of each folder nothing could open.
void show(const QList<QByteArray>& paths, QObject* context,
          const std::function<void(const QByteArray& folder)>& unopened);

} // namespace ShowInFolder
