/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QList>
#include <QRegularExpression>
#include <QString>
#include <initializer_list>

// Texts kept in English where a report, a log or the stored last run reads them, and shown in the
// user's language: the English is matched against the formats it may have been made from (each
// marked with QT_TRANSLATE_NOOP in `context`), and the matching format's translation is filled with
// what the English held in its places. A text none of the formats made comes back unchanged, so an
// application's own wording passes through as it came.
class ShownText {
public:
    ShownText(const char* context, std::initializer_list<const char*> formats);

    QString operator()(const QString& english) const;

private:
    struct Format {
        const char* source;
        QString head; // the literal text before the first place: a cheap test before the pattern
        QRegularExpression pattern;
        QList<int> places; // the place numbers (1 for %1...) in the order the English holds them
    };

    const char* context;
    QList<Format> formats;
};
