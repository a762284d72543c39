/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QObject>

class QBoxLayout;
class QComboBox;
class QLabel;
class QWidget;
class VupMode;

// The window's line about the photo application it talks to, and its version. When photoapp and
// darktable both run it offers the choice between them and remembers it; a window that only ever
// sees photoapp stays as it always was.
class ApplicationPicker : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kDefaultsKey = "PhotoApplication";

    // Puts its line at the top of `layout`.
    ApplicationPicker(QBoxLayout* layout, QWidget* parent);

    // Looks at the bus again and points the engine at the application to use. Main thread, with
    // no run under way.
    void refresh(VupMode& vup);
    void setEnabled(bool enabled);

signals:
    // The user picked another application.
    void chosen();

private:
    QWidget* line = nullptr;
    QComboBox* choice = nullptr;
    QLabel* version = nullptr;
    VupMode* engine = nullptr;
};
