/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QString>

// Generates a demo library: real small JPEGs in a real package, with the troubles a scan looks
// for. Every file is one of a handful of pictures encoded once, made distinct by a comment of its
// own and written on other threads while the catalogue is filled in one transaction, so that a
// million photos take a minute or two rather than ten.
namespace DemoLibrary {

struct Options {
    int photos = 40;
    int missingImages = 3;  // photos whose image (and master) file is gone
    int missingMasters = 2; // edited photos whose master is gone while the edited image remains
    int zombies = 2;        // image files in Masters/ that no photo names
};

struct Summary {
    int photos = 0;
    int missingImages = 0;
    int missingMasters = 0;
    int zombies = 0;
};

bool generate(const QString& libraryPath, const Options& options, Summary* summary, QString* error);

} // namespace DemoLibrary
