/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "photoapp/window/PhotoGridDelegate.h"

#include "photoapp/window/PhotoGridModel.h"

#include <QPainter>

namespace {

constexpr int kPadding = 6;
constexpr int kTextHeight = 18;
constexpr int kBadge = 20;

} // namespace

QSize PhotoGridDelegate::cellSize() {
    return {ThumbnailLoader::kSize + 2 * kPadding + 12, ThumbnailLoader::kSize + 3 * kPadding + kTextHeight};
}

QSize PhotoGridDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    return cellSize();
}

void PhotoGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    const QRect cell = option.rect;
    const QRect imageArea(cell.left() + kPadding, cell.top() + kPadding, cell.width() - 2 * kPadding,
                          ThumbnailLoader::kSize);
    const QRect textArea(cell.left() + kPadding, imageArea.bottom() + kPadding, cell.width() - 2 * kPadding,
                         kTextHeight);
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette& palette = option.palette;
    painter->save();
    if (selected) {
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        QColor highlight = palette.color(QPalette::Highlight);
        highlight.setAlpha(70);
        painter->setBrush(highlight);
        painter->drawRoundedRect(QRectF(cell).adjusted(2, 2, -2, -2), 6, 6);
    }
    const QImage image = index.data(Qt::DecorationRole).value<QImage>();
    QSize size = image.size();
    if (size.width() > imageArea.width() || size.height() > imageArea.height())
        size.scale(imageArea.size(), Qt::KeepAspectRatio);
    // On the cell's baseline, just above its name, however tall the picture is.
    QRect target(QPoint(), size);
    target.moveCenter(imageArea.center());
    target.moveBottom(imageArea.bottom());
    painter->drawImage(target, image);
    if (selected) {
        painter->setPen(QPen(palette.color(QPalette::Highlight), 3));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(target.adjusted(-1, -1, 1, 1));
    }
    if (index.data(PhotoGridModel::FlaggedRole).toBool()) {
        const QRectF badge(target.right() - kBadge + 4, target.top() - 4, kBadge, kBadge);
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(Qt::white, 2));
        painter->setBrush(QColor(0xd3, 0x2f, 0x2f));
        painter->drawEllipse(badge);
        QFont font = option.font;
        font.setBold(true);
        font.setPixelSize(13);
        painter->setFont(font);
        painter->drawText(badge, Qt::AlignCenter, QStringLiteral("!"));
    }
    painter->setFont(option.font);
    // The highlight behind the name is pale: the ordinary text colour reads best on it.
    painter->setPen(palette.color(QPalette::Text));
    const QString name = index.data(Qt::DisplayRole).toString();
    painter->drawText(textArea, Qt::AlignHCenter | Qt::AlignVCenter,
                      option.fontMetrics.elidedText(name, Qt::ElideMiddle, textArea.width()));
    painter->restore();
}
