/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QCoreApplication>
#include <QStringList>
#include <chrono>
#include <functional>
#include <memory>

class iPhotoApplication;

// Makes sure the photo application knows the keywords a scan will assign, before it assigns
// them. A missing keyword is first taught by importing the keyword image (whose embedded
// keywords the application adopts); if keywords are still missing the user is told which and
// how to add them, and the check starts over once the alert is dismissed.
//
// Answers true when the run must stop: the application is not running, stopped answering or was
// replaced (nothing could ever be verified), or the run was cancelled, at any point of a round,
// the import wait included, or nobody can add the keywords the alert names. Answers false once
// every keyword is known; an empty list is known at once.
class KeywordVerification {
public:
    // The title of the alert that names the missing keywords. The alert shows it in the user's
    // language; whoever tells this alert from others by its title recognises either form.
    struct Title {
        const char* source;
        QString shown() const { return QCoreApplication::translate("Alert", source); }
        friend bool operator==(const QString& title, const Title& t) {
            return title == QLatin1StringView(t.source) || title == t.shown();
        }
    };
    static constexpr Title kMissingKeywordsTitle{QT_TRANSLATE_NOOP("Alert", "Missing Keywords")};

    // What the check asks of the run. Either may be empty: then nothing cancels, and nobody is
    // asked, so that missing keywords refuse the run.
    struct Calls {
        std::function<bool()> cancelled;
        // Shows the missing keywords alert and returns once it is dismissed: true when somebody
        // may have added them, false when nobody can.
        std::function<bool(const QString& text, const QString& title)> askToAddKeywords;
    };

    KeywordVerification(std::shared_ptr<const iPhotoApplication> application, Calls calls);

    bool verifyKeywords(const QStringList& keywords, const QString& product);

    // The keyword image among the installed resources.
    static QString keywordImagePath();
    static QString missingKeywordsMessage(const QStringList& missing, const QString& product);

    // For tests: the pause between polls while the application imports.
    void setPollInterval(std::chrono::milliseconds interval);

private:
    QStringList keywordNames() const;
    void waitForImport() const;
    bool mustStop(bool log) const;

    std::shared_ptr<const iPhotoApplication> application;
    Calls calls;
    std::chrono::milliseconds pollInterval{100};
};
