/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// What a keyword name may be, wherever it comes from: an image's metadata, the bus or the command
// line. The limits keep one crafted image from filling the catalogue or stalling an import.
namespace KeywordRules {

inline constexpr int kMaxKeywordsPerPhoto = 1000;
inline constexpr int kMaxNameBytes = 256; // UTF-8

// Why `name` cannot be a keyword; empty when it can.
QString refusal(const QString& name);

struct Sorted {
    QStringList kept;                       // in the image's order, each name once whatever its case
    int beyondCap = 0;                      // acceptable names left out past kMaxKeywordsPerPhoto
    QList<QPair<QString, QString>> refused; // (name, why)
};

// The keywords an imported photo keeps, in time linear in the number of names.
Sorted sort(const QStringList& names);

} // namespace KeywordRules
