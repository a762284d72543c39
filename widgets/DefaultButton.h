/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

class QPushButton;
class QWidget;

namespace DefaultButton {

// Enter presses `button` from anywhere in `window` except where the focused control takes Enter
// itself (a push button presses itself, a text area starts a new line), as in a dialog. A
// disabled button is not pressed.
void routeEnter(QWidget* window, QPushButton* button);

} // namespace DefaultButton
