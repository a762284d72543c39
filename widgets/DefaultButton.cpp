/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "widgets/DefaultButton.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

namespace {

// Key presses nobody below the window took reach the window itself: there Enter is unclaimed.
class EnterFilter final : public QObject {
public:
    EnterFilter(QWidget* w, QPushButton* b, const QList<QWidget*>& sources, std::function<bool()> allow)
        : QObject(w), window(w), button(b), allowed(std::move(allow)) {
        for (QWidget* s : sources)
            from.append(s);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (!enter || modifiers != Qt::NoModifier || !button)
            return QObject::eventFilter(watched, event);
        if (fromMainControl() && (!allowed || allowed()) && button->isEnabled() && button->isVisible())
            button->click();
        return true;
    }

private:
    bool fromMainControl() const {
        const QWidget* focus = QApplication::focusWidget();
        if (!focus || focus == window)
            return true;
        for (const QPointer<QWidget>& w : from) {
            if (w == focus)
                return true;
        }
        return false;
    }

    QWidget* window;
    QPointer<QPushButton> button;
    QList<QPointer<QWidget>> from;
    std::function<bool()> allowed;
};

} // namespace

namespace DefaultButton {

void routeEnter(QWidget* window, QPushButton* button, const QList<QWidget*>& from,
                std::function<bool()> allowed) {
    button->setDefault(true);
    window->installEventFilter(new EnterFilter(window, button, from, std::move(allowed)));
}

} // namespace DefaultButton
