/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

struct ScanFindings;

// One thing a run found, and what it did (or, in a preview, would do) about it. A photo in both
// issue sets gives two findings, one per issue, as the summary counts it.
struct Finding {
    enum class Kind : quint8 {
        ImageMissing,
        MasterMissing,
        Unchecked,
        ChangeRefused, // the application refused the tag or the removal
        Zombie,
        LinkLeftAlone, // a symbolic link below Masters that no photo names
    };
    static constexpr int kKindCount = 6;

    Kind kind = Kind::ImageMissing;
    // The finding is about the file below Masters: a missing master (its change refused or
    // not), a zombie or a link.
    bool aboutMaster = false;
    qint64 position = -1; // in the run's photo list; -1 for zombies and links
    qint64 id = -1;       // the photo's id; -1 when none is known
    QString fileName;
    QString imagePath;  // for zombies and links: where the file is now
    QString masterPath; // for zombies and links: the file's path below Masters
    QString action;
    QString reason;
    // Zombies and links: the file's path below Masters as its bytes (it need not be UTF-8), and
    // where it is now when that differs (the park, for a zombie still parked). Empty for photos,
    // whose paths the application gives as text.
    QByteArray native;
    QByteArray nativeNow;

    // The path the finding is about: the image for an image that is missing or could not be
    // checked, the master for a missing master, the file itself for a zombie or link.
    const QString& path() const;
    // The file its picture comes from, as bytes: the image of a photo (the edited one, for a
    // missing master), the file itself for a zombie or link.
    QByteArray pictureFile() const;
    // What "Show in Folder" shows: the path the finding is about, as bytes.
    QByteArray location() const;
};

// Everything a findings view shows of one run.
struct FindingsTable {
    struct Summary {
        QString outcome; // as the report names it: "completed", "incomplete", ...
        bool dryRun = false;
        bool selectionMode = false;
        bool deleteMode = false;
        bool recoverZombies = false; // as the user asked, for acting on a preview
        QDateTime ended;
        // The library package the run looked at, as its photos' paths name it; empty when the
        // run read no path inside a package.
        QString library;
        QString application; // the photo application's name, as the report gives it
        QString summary;     // the closing alert's text
        QString failure;
        qint64 photos = 0;
        qint64 changes = 0; // tags and removals confirmed (would be made, in a preview)
        qint64 unchecked = 0;
        qint64 refused = 0;
        qint64 zombies = 0; // found
        qint64 zombiesReAdded = 0;
        qint64 zombiesNotReAdded = 0;   // put back, left in place, still parked or gone
        QString zombieDetectionSkipped; // why; empty when detection ran or was not asked for
        // The photos a selection preview looked at: acting on it must find the same selection.
        QList<qint64> previewedPhotos;
    };

    Summary summary;
    QList<Finding> rows;
};

// Why a zombie the application cannot read was left where it lies; %1 is the system's reason. In
// English, as rows hold it.
extern const char* const kZombieUnreadableText;

// The findings of a run, photos first in the order of the photo list, then zombies and links.
FindingsTable findingsTable(const ScanFindings& findings);

// "image missing", "master missing", "unchecked", "change refused", "zombie", "linked item": the
// report's names, in English.
QString findingKindName(Finding::Kind kind);
// The same in the user's language, as the findings view shows it.
QString findingKindLabel(Finding::Kind kind);
// A finding's action or reason in the user's language. Rows hold English, as the report and the
// stored last run keep it; a text the table did not make (the application's refusal) stays as it is.
QString findingTextShown(const QString& text);

// A run's outcome as the report names it ("completed", "cancelled"...), in the user's language.
QString findingsOutcomeShown(const QString& outcome);
// The line above the findings, in the user's language: what ran on which library, how it ended in
// words, and the counts its summary gives.
QString findingsHeadline(const FindingsTable::Summary& summary);
