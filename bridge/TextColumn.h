/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <initializer_list>

// One text property of every photo of a run (its file name, its image path, its master path),
// entry i for photo i, kept small enough for a library of millions: no object per entry. A path's
// folder is stored once for all the entries in it, the rest as UTF-8 in one buffer; an entry
// costs its name's bytes and thirteen more. Copies share their data until one of them changes.
class TextColumn {
public:
    // What the application's answer held for the property.
    enum class Kind : quint8 {
        Text,   // a text (maybe empty)
        Null,   // the application's missing value (nullMarker())
        Absent, // the key was not in the answer, or there was no answer
        Other,  // a value that is not text: no path, whatever its wording
    };

    TextColumn() = default;
    // Each value as append(const QVariant&) takes it.
    TextColumn(std::initializer_list<QVariant> values);
    explicit TextColumn(const QVariantList& values);

    void reserve(qsizetype entries);
    void append(QStringView text);
    void append(const QString& text) { append(QStringView(text)); }
    // A dictionary value: text, the null marker, or another value (kept by its wording).
    void append(const QVariant& value);
    void appendAbsent();

    qsizetype size() const { return kinds.size(); }
    bool isEmpty() const { return kinds.isEmpty(); }
    Kind kind(qsizetype i) const { return Kind(kinds.at(i)); }
    bool isText(qsizetype i) const { return kind(i) == Kind::Text; }
    // The text of a Text entry, the wording of an Other one; "" for Null and Absent.
    QString text(qsizetype i) const;
    // The same into `out`, whose storage is reused: for loops over every entry.
    void textInto(qsizetype i, QString& out) const;
    // The entry as the application's dictionary gave it: a QString for text, nullMarker() for the
    // missing value, "" for an absent key (what the scan has always read there), and for another
    // value its wording as bytes, which no reader takes for a path.
    QVariant at(qsizetype i) const;

private:
    static constexpr quint32 kNoFolder = 0;

    void appendText(QStringView text, Kind kind);
    quint32 folderId(QStringView folder);
    QByteArrayView nameOf(qsizetype i) const;

    QList<quint8> kinds;
    // Per entry: the folder's id (kNoFolder, or its index in `folders` plus one), and where the
    // entry's bytes in `names` end; they begin where the previous entry's end.
    QList<quint32> folderOf;
    QList<qsizetype> nameEnds;
    QByteArray names;
    QList<QString> folders;
    QHash<QString, quint32> folderIds;
    quint32 lastFolder = kNoFolder; // neighbours mostly share a folder: one comparison, no lookup
};
