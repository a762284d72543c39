/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QDialog>
#include <functional>

class QFileDialog;
class QLabel;

// The access prompt in the window. Above a file chooser that takes a file or a folder, it says
// which path cannot be read, whose it is and with what mode, and how to grant access: on Linux,
// choosing a path in a panel grants nothing. Cancel is not an answer: it is logged and the panel
// comes back. Open checks the path again; when it is still unreadable the user may try again or
// go on without it, so the prompt is never a trap.
class AccessPromptPanel final : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kObjectName = "accessPrompt";

    AccessPromptPanel(const QString& path, QWidget* parent);
    ~AccessPromptPanel() override;

    // Runs until the user pressed Open, or until `stop` answers true (the application quits).
    void run(const std::function<bool()>& stop);

    QFileDialog* chooser() const { return fileChooser; }

private:
    QString promptPath;
    QLabel* explanation = nullptr;
    QFileDialog* fileChooser = nullptr;
};
