/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QString>

// A desktop notification through org.freedesktop.Notifications on the session bus, with the
// default sound hint. Without a notification service nothing is delivered and the caller goes on.
namespace UserNotification {

// True when the service accepted the notification.
bool deliver(const QString& title, const QString& informativeText);

} // namespace UserNotification
