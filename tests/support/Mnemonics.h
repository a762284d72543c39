/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QAbstractButton>
#include <QKeySequence>
#include <QMenuBar>
#include <QStringList>
#include <QWidget>

// What is wrong with the keyboard access of one window: every button and check box needs a
// mnemonic, and no two controls of the window (menu titles included) may share one. Controls of
// the window's own dialogs do not count.
inline QStringList mnemonicProblems(const QWidget* window) {
    QStringList problems;
    QStringList texts;
    for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->window() == window && !button->text().isEmpty())
            texts.append(button->text());
    }
    if (const auto* bar = window->findChild<QMenuBar*>()) {
        for (const QAction* menu : bar->actions())
            texts.append(menu->text());
    }
    QList<QKeySequence> seen;
    for (const QString& text : std::as_const(texts)) {
        const QKeySequence key = QKeySequence::mnemonic(text);
        if (key.isEmpty())
            problems.append(QStringLiteral("no mnemonic: ") + text);
        else if (seen.contains(key))
            problems.append(QStringLiteral("shared mnemonic: ") + text);
        seen.append(key);
    }
    return problems;
}
