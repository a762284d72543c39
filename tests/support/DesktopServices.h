/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QVariantMap>
#include <memory>

// Small real implementations of the desktop's notification, screen-saver and file manager services, served on
// the test's private session bus from a connection and thread of their own, so calls made from
// the test's main thread or a scan thread reach them like they would reach the desktop's.
class DesktopServices {
public:
    struct Notification {
        QString appIcon;
        QString summary;
        QString body;
        QVariantMap hints;
    };

    DesktopServices();
    ~DesktopServices();

    // A request to the file manager: "ShowItems" or "ShowFolders", with its addresses.
    struct FileManagerRequest {
        QString method;
        QStringList uris;
    };

    // Registers org.freedesktop.ScreenSaver, org.freedesktop.Notifications and
    // org.freedesktop.FileManager1, each when asked for.
    bool start(bool screenSaver, bool notifications, bool fileManager = false);
    void stop();

    QList<Notification> notifications() const;
    QList<FileManagerRequest> fileManagerRequests() const;
    // Cookies handed out by Inhibit, in order.
    QList<uint> inhibited() const;
    // Cookies inhibited and not yet released.
    QList<uint> held() const;
    // The screen saver answers Inhibit only after this long, like a busy desktop service.
    void setInhibitDelay(int milliseconds);

    struct State; // shared with the service objects

private:
    std::shared_ptr<State> state;
    std::unique_ptr<QThread> thread;
    QList<QObject*> services; // live in `thread`, deleted on stop
    QString connectionName;
};
