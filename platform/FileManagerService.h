/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

class QObject;

// The desktop's file manager, reached through org.freedesktop.FileManager1 on the session bus:
// ShowItems opens the folders of the items with the items highlighted, ShowFolders opens folders.
// Calls do not wait: `done` runs later on the calling thread with true once a file manager
// accepted the request, false when none answered or it refused. Nothing runs once `context` is
// gone.
namespace FileManagerService {

enum class Request { ShowItems, ShowFolders };

void show(Request request, const QStringList& uris, QObject* context, std::function<void(bool)> done);

// A file:// address naming the path's bytes exactly, whether or not they are UTF-8.
QString fileUri(const QByteArray& path);

} // namespace FileManagerService
