/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "photoapp/Catalogue.h"

#include <QJsonObject>

// The whole catalogue as one JSON object (see `photoapp --help` for its fields).
namespace CatalogueDump {

QJsonObject dump(Catalogue& catalogue);

} // namespace CatalogueDump
