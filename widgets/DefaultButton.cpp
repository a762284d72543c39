/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "widgets/DefaultButton.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

namespace {

// Key presses nobody below the window took reach the window itself: there Enter is unclaimed.
class EnterFilter final : public QObject {
public:
    EnterFilter(QWidget* window, QPushButton* b) : QObject(window), button(b) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (!enter || modifiers != Qt::NoModifier || !button)
            return QObject::eventFilter(watched, event);
        if (button->isEnabled() && button->isVisible())
            button->click();
        return true;
    }

private:
    QPointer<QPushButton> button;
};

} // namespace

namespace DefaultButton {

void routeEnter(QWidget* window, QPushButton* button) {
    button->setDefault(true);
    window->installEventFilter(new EnterFilter(window, button));
}

} // namespace DefaultButton
