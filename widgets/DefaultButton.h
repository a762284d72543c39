/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QList>
#include <functional>

class QPushButton;
class QWidget;

namespace DefaultButton {

// Enter presses `button` when the keyboard is on the window itself or on one of `from` (controls
// that have no use for Enter, such as check boxes), and `allowed` agrees; never from a list, a
// text field or any other control that takes Enter for itself, where a press would act on
// something the user did not aim at. A focused push button still presses itself. A disabled
// button is not pressed.
void routeEnter(QWidget* window, QPushButton* button, const QList<QWidget*>& from,
                std::function<bool()> allowed = {});

} // namespace DefaultButton
