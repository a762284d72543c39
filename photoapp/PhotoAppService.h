/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "photoapp/Catalogue.h"
#include "photoapp/ImportWorker.h"

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <memory>

// The library on the session bus (see DBUS.md). One virtual object answers every path below
// /application, /albums, /photos, /keywords and /control, so a library of any size costs no
// object per photo; each request reads the catalogue afresh through prepared statements. A
// request whose arguments differ from the method's in any way is refused before it does anything.
class PhotoAppService : public QDBusVirtualObject {
    Q_OBJECT
public:
    PhotoAppService(std::unique_ptr<Catalogue> catalogue, QString version, QObject* parent = nullptr);
    ~PhotoAppService() override;

    // Registers the objects, then the well-known name; false (with the reason) when either fails.
    bool registerOn(QDBusConnection bus, QString* error);
    // Takes the objects off the bus again.
    void unregisterFrom(QDBusConnection bus);
    void shutdown();
    bool importing() const { return importer.importing(); }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;
    QString introspect(const QString& path) const override;

private:
    QDBusMessage application(const QDBusMessage& m);
    QDBusMessage albumRequest(const QDBusMessage& m, qint64 id);
    QDBusMessage photoRequest(const QDBusMessage& m, qint64 id);
    QDBusMessage keywordRequest(const QDBusMessage& m, qint64 id);
    QDBusMessage control(const QDBusMessage& m);

    QDBusMessage answer(const QDBusMessage& m);
    void announce(const Importer::Result& result);

    std::unique_ptr<Catalogue> catalogue;
    QString versionText;
    QDBusConnection bus{QString()};
    ImportWorker importer; // last: stopped before the members it uses go
};
