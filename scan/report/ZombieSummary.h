/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>

struct ScanFindings;
struct ZombieRecoveryReport;

// What a run tells about its zombie stage: counts come from the recovery's confirmed outcomes,
// never from what was detected.

// The zombie paragraph of the closing summary: empty when there is nothing to tell, else two line
// feeds and its sentences, two spaces apart.
QString zombieSummary(const ScanFindings& findings);

// The zombie stage did all that was asked of it: detection ran and every zombie is in the album.
bool zombieStageComplete(const ScanFindings& findings);

// The report's "recovery": album, journal, and each zombie's final state.
QJsonObject recoveryToJson(const ZombieRecoveryReport& report);

// The terminal's lines, one per zombie and per link left alone, names as their bytes.
QList<QByteArray> zombieListing(const ScanFindings& findings);
