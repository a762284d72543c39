/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "widgets/MessageBox.h"

#include <QString>

// The kind of a scan's alert, told by its title: good news informs, a refusal warns, a failure
// is an error. A title not listed keeps the warning every alert had before.
MessageBox::Kind alertKind(const QString& title);
