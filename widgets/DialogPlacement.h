/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

class QSize;
class QWidget;

namespace DialogPlacement {

// Sizes `window` to its laid-out size and centres it over `anchor` (over the anchor's screen when
// there is no visible anchor), shrinking and moving it as far as needed for the whole window,
// frame included, to lie within the screen's available area. Call it before showing the window.
void placeOver(QWidget* window, const QWidget* anchor);

// Resizes a window that may already be on screen towards `wanted`, as far as its screen's
// available area holds it frame included, and moves it only as far as needed to bring it whole
// into that area.
void resizeWithin(QWidget* window, const QSize& wanted);

} // namespace DialogPlacement
