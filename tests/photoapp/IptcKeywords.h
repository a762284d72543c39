/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Writes IPTC Keywords into an existing JPEG byte for byte, so tests and benchmarks can craft what
// photoapp's own tools never write: many thousands of keywords, over-long ones, ones holding NUL.
namespace IptcKeywords {

bool write(const QString& jpegPath, const QList<QByteArray>& keywords, QString* error);

} // namespace IptcKeywords
