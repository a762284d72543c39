/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "scan/report/FindingsTable.h"

#include <QWidget>
#include <utility>

class FindingsFilter;
class QAction;
class FindingsModel;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTimer;
class ThumbnailCache;

// What a run found, in the main window: a line with the run's counts, a filter by issue kind and
// by text, the table (picture, file name, issue, path, action, reason; sorted by any column) and
// the actions on the selected rows. Acting on a preview and exporting are asked for by signals.
class FindingsView : public QWidget {
    Q_OBJECT
public:
    explicit FindingsView(QWidget* parent = nullptr);
    ~FindingsView() override;

    void showTable(FindingsTable table);
    const FindingsTable::Summary& summary() const { return shown.summary; }
    const QList<Finding>& rows() const { return shown.rows; }
    // While a scan runs, a preview cannot be acted on.
    void setBusy(bool busy);
    // A line under the table: what the last action did.
    void setNote(const QString& text);
    // The library the photo application has open now (empty: not known). Findings of another
    // library say so, and a preview of it cannot be acted on here.
    void setServedLibrary(const QString& library);
    bool showsOtherLibrary() const;
    // The id of the first photo listed; -1 when no row names a photo.
    qint64 firstPhotoId() const;

    QTableView* table() const { return tableView; }
    // The view's controls top to bottom, as the keyboard should reach them.
    QList<QWidget*> tabOrder() const;
    FindingsModel* model() const { return findings; }
    FindingsFilter* filter() const { return sorted; }
    // The selected findings, in the order shown.
    QList<const Finding*> selectedFindings() const;

    void showSelectedInFolder();
    void copySelectedPaths();

signals:
    void scanNowRequested();
    void exportRequested();

private:
    void setUpLabelsAndFilters();
    void setUpTable();
    // Show in Folder and Copy Path on the table's rows, with their keys.
    std::pair<QAction*, QAction*> addRowActions();
    void layOut();
    void connectUp(QAction* showAction, QAction* copyAction);
    void updateCount();
    void updateButtons();
    void updateHeadline();

    FindingsTable shown;
    bool busy = false;
    QString servedLibrary;
    ThumbnailCache* thumbnails;
    FindingsModel* findings;
    FindingsFilter* sorted;
    QLabel* headline;
    QComboBox* kindFilter;
    QLineEdit* textFilter;
    QTimer* textDelay;
    QLabel* count;
    QTableView* tableView;
    QPushButton* showInFolderButton;
    QPushButton* copyPathButton;
    QPushButton* scanNowButton;
    QPushButton* exportButton;
    QLabel* note;
};
