/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// Alerts by kind. The icon follows what the alert says; its title is the bold main text and its
// message the informative text; the box is wide enough that a sentence takes one or two lines,
// and its window title is the application's name rather than a copy of the message.
//
// Questions (ask) run modally and answer the index of the chosen button. A test answers the next
// question with setNextAnswer instead of driving a modal loop, and reads what it would have shown.
class MessageBox {
public:
    enum class Kind { Information, Warning, Critical, Question };

    struct Choice {
        QString text;
        QMessageBox::ButtonRole role = QMessageBox::AcceptRole;
    };

    struct Question {
        Kind kind = Kind::Question;
        QString title;
        QString message;
        QStringList choices;
    };

    MessageBox() = delete;

    // A new alert owned by `parent` (by the caller when there is none), not yet shown.
    static QMessageBox* create(Kind kind, const QString& title, const QString& message, QWidget* parent,
                               const QList<Choice>& choices);
    // Shows the question modally over `parent` and answers the chosen button's index. Escape and
    // the title bar's close choose the button with RejectRole, or else the default one. `shown`
    // receives the box just before it comes up, for a caller that must close it when the question no longer
    // applies (closing it counts as that same fallback).
    static int ask(Kind kind, const QString& title, const QString& message, QWidget* parent,
                   const QList<Choice>& choices, int defaultChoice,
                   const std::function<void(QMessageBox*)>& shown = {});

    // The next ask answers `choice` at once, without showing anything; called again, the one after
    // answers the next choice, and so on.
    static void setNextAnswer(int choice);
    // The latest question ask was given, shown or answered in advance, and how many were asked.
    static std::optional<Question> lastQuestion();
    static int askedCount();
    // Forgets the answers not yet given and the questions asked.
    static void reset();

    static QMessageBox::Icon icon(Kind kind);
};
