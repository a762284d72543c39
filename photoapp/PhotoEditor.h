/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "photoapp/Catalogue.h"

// Makes an edited version of a photo: a new image file in the library's Modified folder, derived
// from the master's pixels, becomes the photo's image while the master stays its original.
namespace PhotoEditor {

// The new image path, or an empty string (with the reason).
QString makeEditedVersion(Catalogue& catalogue, qint64 photoId, QString* error);

} // namespace PhotoEditor
