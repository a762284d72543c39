/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "widgets/DialogPlacement.h"

#include <QGuiApplication>
#include <QLayout>
#include <QMargins>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace {

// The frame the window manager draws around a window is known only once the window is shown:
// before that, take the anchor's, or else a title bar and thin borders as the style draws them.
QMargins frameOf(const QWidget* window, const QWidget* anchor) {
    const auto margins = [](const QWidget* w) {
        const QRect frame = w->frameGeometry();
        const QRect inner = w->geometry();
        return QMargins(inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                        frame.bottom() - inner.bottom());
    };
    if (window->isVisible())
        return margins(window);
    if (anchor && anchor->isVisible() && anchor->frameGeometry() != anchor->geometry())
        return margins(anchor);
    const int border = window->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, window);
    const int titleBar = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
    return QMargins(border, titleBar + border, border, border);
}

QScreen* screenFor(const QWidget* window, const QWidget* anchor) {
    if (anchor && anchor->isVisible() && anchor->screen())
        return anchor->screen();
    if (window->screen())
        return window->screen();
    return QGuiApplication::primaryScreen();
}

} // namespace

namespace DialogPlacement {

void placeOver(QWidget* window, const QWidget* anchor) {
    window->ensurePolished();
    if (QLayout* layout = window->layout())
        layout->activate();
    const QScreen* screen = screenFor(window, anchor);
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QMargins frame = frameOf(window, anchor);
    const QSize room = area.size().shrunkBy(frame);

    // The size the layout will insist on once shown, so that the centring holds afterwards.
    QSize size = window->size().expandedTo(window->minimumSizeHint()).boundedTo(room);
    if (window->layout() && window->layout()->hasHeightForWidth())
        size.setHeight(
            qMin(qMax(size.height(), window->layout()->totalHeightForWidth(size.width())), room.height()));
    window->resize(size);

    QRect outer(QPoint(0, 0), size.grownBy(frame));
    const bool overAnchor = anchor && anchor->isVisible();
    outer.moveCenter(overAnchor ? anchor->frameGeometry().center() : area.center());
    outer.moveLeft(qBound(area.left(), outer.left(), area.right() + 1 - outer.width()));
    outer.moveTop(qBound(area.top(), outer.top(), area.bottom() + 1 - outer.height()));
    // A top-level window's position is that of its frame.
    window->move(outer.topLeft());
}

} // namespace DialogPlacement

namespace DialogPlacement {

void resizeWithin(QWidget* window, const QSize& wanted) {
    const QScreen* screen = screenFor(window, nullptr);
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QMargins frame = frameOf(window, nullptr);
    const QSize size = wanted.expandedTo(window->minimumSizeHint()).boundedTo(area.size().shrunkBy(frame));
    window->resize(size);
    QRect outer(window->frameGeometry().topLeft(), size.grownBy(frame));
    outer.moveLeft(qBound(area.left(), outer.left(), area.right() + 1 - outer.width()));
    outer.moveTop(qBound(area.top(), outer.top(), area.bottom() + 1 - outer.height()));
    window->move(outer.topLeft());
}

} // namespace DialogPlacement
