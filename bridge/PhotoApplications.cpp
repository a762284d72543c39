/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "bridge/PhotoApplications.h"

#include "bridge/DarktableApplication.h"
#include "wire/PhotoAppWire.h"

#include <QDBusConnectionInterface>

namespace PhotoApplications {

QString name(Kind kind) {
    return kind == Kind::Darktable ? QStringLiteral("darktable") : QStringLiteral("photoapp");
}

std::optional<Kind> kindNamed(const QString& text) {
    for (const Kind kind : {Kind::PhotoApp, Kind::Darktable})
        if (text == name(kind))
            return kind;
    return std::nullopt;
}

QString serviceName(Kind kind) {
    return QString::fromLatin1(kind == Kind::Darktable ? DarktableApplication::kService
                                                       : PhotoAppWire::kBundleIdentifier);
}

QList<Kind> running(const QDBusConnection& bus) {
    QList<Kind> found;
    const QDBusConnectionInterface* daemon = bus.interface();
    if (!daemon)
        return found;
    for (const Kind kind : {Kind::PhotoApp, Kind::Darktable})
        if (daemon->isServiceRegistered(serviceName(kind)).value())
            found.append(kind);
    return found;
}

std::optional<Kind> choose(const QList<Kind>& runningNow, std::optional<Kind> asked) {
    if (asked)
        return asked;
    if (runningNow.size() > 1)
        return std::nullopt;
    return runningNow.isEmpty() ? Kind::PhotoApp : runningNow.constFirst();
}

} // namespace PhotoApplications
