/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QAbstractButton>
#include <QMessageBox>
#include <QTest>

// The message boxes shown over `window` now, oldest first.
inline QList<QMessageBox*> shownAlerts(const QWidget* window) {
    QList<QMessageBox*> shown = window->findChildren<QMessageBox*>();
    shown.removeIf([](const QMessageBox* box) { return !box->isVisible(); });
    return shown;
}

// The first message box shown over `window` within `timeoutMs`; null when none came.
inline QMessageBox* waitForAlert(const QWidget* window, int timeoutMs = 5000) {
    return QTest::qWaitFor([&] { return !shownAlerts(window).isEmpty(); }, timeoutMs)
               ? shownAlerts(window).constFirst()
               : nullptr;
}

// Answers every shown message box with its first button.
inline void dismissAlerts(const QWidget* window) {
    for (QMessageBox* box : shownAlerts(window))
        box->buttons().constFirst()->click();
}
