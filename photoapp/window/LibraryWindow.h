/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "photoapp/window/AlbumListModel.h"
#include "photoapp/window/LibraryMirror.h"
#include "photoapp/window/PhotoGridModel.h"
#include "photoapp/window/SelectionWriter.h"
#include "photoapp/window/ThumbnailLoader.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>

class KeywordsPanel;
class QLabel;
class QLineEdit;
class QListView;

// The library's window: albums in a sidebar, the chosen album's photos in a grid, a search field
// over keywords and file names, and the keywords panel from the "Window" menu. What is selected in
// the grid is the application's selection on the bus, and a selection made over the bus or from
// the command line is shown in the grid.
class LibraryWindow : public QMainWindow {
    Q_OBJECT
public:
    // Nothing, with the reason, when the library's catalogue cannot be read. `importing` tells
    // whether the service beside the window is importing; without a service, nothing is.
    static std::unique_ptr<LibraryWindow> open(const LibraryPackage& library, std::function<bool()> importing,
                                               QString* error);
    ~LibraryWindow() override;

    LibraryMirror& mirror() { return *state; }
    PhotoGridModel& photos() { return *photosModel; }
    QListView& grid() { return *photoGrid; }
    QListView& sidebar() { return *albumList; }
    KeywordsPanel& keywordsPanel();

signals:
    // The user closed the window; whatever serves the library ends with it.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    LibraryWindow(std::unique_ptr<LibraryMirror> mirror, std::function<bool()> importing);
    void buildMenus();
    void showAlbum(qint64 albumId);
    void albumChosen(int row);
    void gridSelectionChanged();
    void writeGridSelection();
    void flushSelection();
    void write(const QList<Catalogue::SelectionItem>& items);
    void selectionWritten(const QString& error);
    void followSelection();
    void showSelection(const QList<Catalogue::SelectionItem>& items);
    void updateStatus();

    std::unique_ptr<LibraryMirror> state;
    std::function<bool()> importing;
    SelectionWriter selectionWriter;
    ThumbnailLoader thumbnails;
    std::unique_ptr<PhotoGridModel> photosModel;
    std::unique_ptr<AlbumListModel> albumsModel;
    QListView* albumList = nullptr;
    QListView* photoGrid = nullptr;
    QLineEdit* search = nullptr;
    QLabel* status = nullptr;
    QPointer<KeywordsPanel> keywords;
    // A rubber band selects row after row: the catalogue is written once the user pauses.
    QTimer selectionWrite;
    QList<Catalogue::SelectionItem> shownSelection; // what the window shows and last wrote
    bool applyingSelection = false;
    bool closeConfirmed = false;
};
