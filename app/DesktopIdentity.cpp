/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "app/DesktopIdentity.h"

#include "platform/BundleInfo.h"

#include <QGuiApplication>
#include <QString>

namespace {

constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256, 512};

} // namespace

// The icons live in a static library: naming their resource keeps the linker from dropping it.
static void loadIconResources() {
    Q_INIT_RESOURCE(vup_icons);
}

namespace DesktopIdentity {

QIcon icon() {
    loadIconResources();
    QIcon icon;
    for (const int size : kIconSizes)
        icon.addFile(QStringLiteral(":/icons/vup/%1.png").arg(size), QSize(size, size));
    return icon;
}

void apply() {
    if (const auto identifier = BundleInfo::value(QString::fromLatin1(BundleInfo::kBundleIdentifier)))
        QGuiApplication::setDesktopFileName(*identifier);
    QGuiApplication::setWindowIcon(icon());
}

} // namespace DesktopIdentity
