/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "scan/report/FindingsTable.h"
#include "scan/report/ScanFindings.h"

#include <QObject>
#include <QPointer>
#include <QThreadPool>
#include <optional>

class FindingsView;
class QBoxLayout;
class QWidget;

// Puts the findings of every run into the main window: the table is made and the run is kept in
// the state folder on a worker thread, so the window never waits for a large run; the run kept
// there comes back at launch until the next one ends. Exports the report on the same worker.
class FindingsPresenter : public QObject {
    Q_OBJECT
public:
    enum class Format { Json, Csv };

    // The view goes into `layout` at `index`, hidden until there is a run to show.
    FindingsPresenter(QWidget* window, QBoxLayout* layout, int index);
    ~FindingsPresenter() override;

    FindingsView* view() const { return findingsView; }

    // A run is about to start with these options; they are what acting on a preview repeats.
    void runStarting(bool recoverZombies);
    // Shows and keeps the run's findings; a run that checked no photo leaves the earlier ones
    // shown and kept, with a note saying so.
    void runEnded(const ScanFindings& findings);
    // Shows the run kept from an earlier session, unless a run has ended since.
    void restoreLastRun();

    // Asks where to save the report and in which form.
    void chooseExport();
    // Writes the shown run's report to `path`; exported() tells how it went.
    void exportReport(const QString& path, Format format);

signals:
    // A run's findings are on screen.
    void shown();
    void exported(bool saved, const QString& path);
    // "Scan Now" on a preview: a real run of the same kind, with the same options.
    void scanNowRequested(const FindingsTable::Summary& preview);

private:
    void present(FindingsTable table, std::optional<ScanFindings> findings);

    QPointer<QWidget> window;
    FindingsView* findingsView; // owned by the window
    bool recoverZombiesAsked = false;
    // The shown run's own findings, when it ran in this session: the report is written from them.
    std::optional<ScanFindings> live;
    // Counts the runs shown, so that a table made for an earlier one is not shown after a later.
    quint64 generation = 0;
    QThreadPool worker;
};
