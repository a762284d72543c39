/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QByteArray>
#include <QList>
#include <functional>

// Zombies of a darktable library: image files lying in its film-roll folders that no image names.
// Each folder is looked at by itself: a subfolder counts only when it is a film roll too, since
// darktable imports folders one by one. Names are native bytes throughout.
namespace DarktableZombies {

struct Detection {
    QList<QByteArray> zombies; // files darktable would import, in folder order
    QList<QByteArray> links;   // links with such a name, left alone
    bool cancelled = false;
};

// True for a name darktable imports as an image: its extension, in any case; never a sidecar.
bool importable(const QByteArray& fileName);

Detection detect(const QList<QByteArray>& filmRolls, const QList<QByteArray>& imagePaths,
                 const std::function<bool()>& cancelled);

} // namespace DarktableZombies
