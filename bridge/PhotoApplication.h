/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QString>
#include <functional>

// How photo applications differ in what a repair may do with them. The engine asks these, never
// the application's name.
struct PhotoApplicationCapabilities {
    // Keywords exist only once an import taught them (the keyword image); otherwise a tag is
    // created the first time it is attached.
    bool keywordsTaughtByImport = true;
    // Unimported files are parked and a copy is imported into a new album; otherwise each file is
    // imported where it lies and tagged.
    bool zombiesImportedAsCopies = true;
    // Removed photos go to a trash the user can empty or restore from; otherwise removal only.
    bool hasTrash = true;
    // version() is the scripting interface's version, not the application's own.
    bool versionIsScriptingInterface = false;
    // Photos keep their original file apart from the image shown, so a run may find masters
    // missing and tag them so. Only an application that says so has them.
    bool keepsMasterFiles = true;
};

// What every photo application Vup repairs answers, whatever else it offers. A run pins the
// process that answers first (attach) and asks no other; a request that cannot reach it marks it
// lost.
class PhotoApplication {
public:
    virtual ~PhotoApplication() = default;

    // The name the user knows it by, as Vup's sentences spell it.
    virtual QString displayName() const = 0;
    // The name the closing summaries give it.
    virtual QString nameInSummaries() const { return displayName(); }
    virtual PhotoApplicationCapabilities capabilities() const = 0;
    // The application's own version, for people; version() may be another number.
    virtual QString productVersion() const = 0;

    virtual bool isRunning() const = 0;
    virtual bool attach(std::function<bool()> interrupted = {}) = 0;
    virtual void setInterruption(std::function<bool()> interrupted) = 0;
    virtual void detach() = 0;
    virtual bool lost() const = 0;
    virtual bool watch() const = 0;
    // Throws BridgeError with the error's name and message when the request fails.
    virtual QString version() const = 0;
    // The folder or file that identifies the library a run works on, for its lock; empty when
    // unknown.
    virtual QString libraryPath() const = 0;
};
