/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QDBusConnection>
#include <QList>
#include <QString>
#include <optional>

// The photo applications Vup can repair, and which of them runs on the session bus now.
namespace PhotoApplications {

enum class Kind { PhotoApp, Darktable };

// "photoapp", "darktable": the names the user types and reads.
QString name(Kind kind);
std::optional<Kind> kindNamed(const QString& name);
QString serviceName(Kind kind);

// Those whose bus name has an owner, in the order of Kind.
QList<Kind> running(const QDBusConnection& bus = QDBusConnection::sessionBus());

// The application a run should use: the one asked for, else the one running; nothing when both
// run and none was asked for. With neither running, photoapp: its sentences say it is not running.
std::optional<Kind> choose(const QList<Kind>& runningNow, std::optional<Kind> asked);

} // namespace PhotoApplications
