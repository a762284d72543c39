/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QString>
#include <optional>

class QMainWindow;
class QPushButton;

// The main window's menu bar. Each of the window's buttons is also a menu command, enabled exactly
// when its button is, and choosing it presses the button (Escape cancels a scan); beside them the
// info panel (F1), About and Quit (the desktop's quit keys), which closes the window the way its title bar
// does.
namespace MainMenu {

struct Buttons {
    QPushButton* scanSelection = nullptr;
    QPushButton* scanLibrary = nullptr;
    QPushButton* cancel = nullptr;
    QPushButton* info = nullptr;
};

void build(QMainWindow* window, const Buttons& buttons);

// The About box: the program's name, version, purpose and addresses.
void showAbout(QMainWindow* window);

// A bundle address (product page, support address) a user can reach: nothing when the build
// carries none, or only a placeholder under a domain reserved for examples.
std::optional<QString> reachableAddress(const char* key);

} // namespace MainMenu
