/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QString>
#include <functional>

class PhotoApplication;

// The first question a scan puts to the photo application: its version. Versions before 9
// are refused, and a version request that fails is the one conversation failure shown to
// the user. Answers true when the run must stop; the user has then been told already, except
// when the request was interrupted or the application was lost, which the run reports itself.
class VersionCheck {
public:
    // What the user is told, instead of the bus's error, when nobody owns the application's name.
    static QString notRunningText(const QString& applicationName);

    // Shows an alert and returns once the user has dismissed it; may be empty (nobody is told).
    using Alert = std::function<void(const QString& text, const QString& title)>;

    static bool versionCheck(const PhotoApplication& application, const Alert& alert);

    // The integer value of the text before the first ".": leading white space skipped, an
    // optional sign, then decimal digits; 0 when no digit follows.
    static int majorVersion(const QString& version);
};
