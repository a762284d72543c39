/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QString>
#include <functional>

class QObject;

// A desktop notification through org.freedesktop.Notifications on the session bus, with the
// default sound hint. Without a notification service nothing is delivered and the caller goes on.
namespace UserNotification {

// True when the service accepted the notification. Clicking it (its default action) calls what
// whenActivated was given.
bool deliver(const QString& title, const QString& informativeText);

// Calls `activated` on the thread of `context` when the user clicks one of the notifications this
// process delivered; for as long as `context` lives.
void whenActivated(QObject* context, std::function<void()> activated);

} // namespace UserNotification
