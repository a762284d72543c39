/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "app/AlertKinds.h"

#include <QCoreApplication>

namespace {

using Kind = MessageBox::Kind;

// Titles are marked in the context "Alert" wherever they are written, so that a title reaches here
// in English or in the user's language alike.
struct KnownTitle {
    const char* title;
    Kind kind;
};
constexpr KnownTitle kTitles[] = {
    {QT_TRANSLATE_NOOP("Alert", "Success"), Kind::Information},
    {QT_TRANSLATE_NOOP("Alert", "Interrupted Zombie Recovery"), Kind::Information},
    {QT_TRANSLATE_NOOP("Alert", "Unable To Process"), Kind::Warning},
    {QT_TRANSLATE_NOOP("Alert", "Unsupported Version"), Kind::Warning},
    {QT_TRANSLATE_NOOP("Alert", "Missing Keywords"), Kind::Warning},
    {QT_TRANSLATE_NOOP("Alert", "Scan Incomplete"), Kind::Warning},
    {QT_TRANSLATE_NOOP("Alert", "Error"), Kind::Critical},
    {QT_TRANSLATE_NOOP("Alert", "Unable To Continue"), Kind::Critical},
};

} // namespace

MessageBox::Kind alertKind(const QString& title) {
    for (const KnownTitle& known : kTitles) {
        if (title == QLatin1StringView(known.title) ||
            title == QCoreApplication::translate("Alert", known.title))
            return known.kind;
    }
    return Kind::Warning;
}
