/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "photoapp/Catalogue.h"

#include <QMutex>
#include <QObject>
#include <QThread>
#include <QWaitCondition>
#include <memory>
#include <optional>

// Writes the user's selection to the catalogue on a thread of its own: making 100,000 photos the
// selection takes the catalogue most of a second, which the window must not wait for. Only the
// latest choice matters, so a choice made while an earlier one is written replaces any other
// waiting. Whatever was chosen is written before the writer goes.
class SelectionWriter : public QObject {
    Q_OBJECT
public:
    explicit SelectionWriter(const LibraryPackage& library, QObject* parent = nullptr);
    ~SelectionWriter() override;

    void write(const QList<Catalogue::SelectionItem>& items);
    // A choice is waiting or being written.
    bool isBusy() const;

signals:
    // Everything chosen so far is written; `error` says why the last write failed, if it did.
    void idle(const QString& error);

private:
    void work();

    LibraryPackage library;
    mutable QMutex lock; // guards what follows
    QWaitCondition wake;
    std::optional<QList<Catalogue::SelectionItem>> waiting;
    bool writing = false;
    bool stopping = false;
    std::unique_ptr<QThread> worker;
};
