/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "photoapp/window/LibraryWindow.h"

#include "photoapp/window/KeywordsPanel.h"
#include "photoapp/window/PhotoGridDelegate.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

constexpr int kSelectionWriteDelayMs = 120;
constexpr int kSidebarWidth = 240;

using Item = Catalogue::SelectionItem;

// Rows as few selection ranges as possible.
QItemSelection rangesOf(QList<int> rows, const QAbstractItemModel& model) {
    std::sort(rows.begin(), rows.end());
    QItemSelection selection;
    for (qsizetype i = 0; i < rows.size();) {
        qsizetype j = i;
        while (j + 1 < rows.size() && rows.at(j + 1) <= rows.at(j) + 1)
            ++j;
        selection.append(QItemSelectionRange(model.index(rows.at(i), 0), model.index(rows.at(j), 0)));
        i = j + 1;
    }
    return selection;
}

} // namespace

std::unique_ptr<LibraryWindow> LibraryWindow::open(const LibraryPackage& library,
                                                   std::function<bool()> importing, QString* error) {
    std::unique_ptr<LibraryMirror> mirror = LibraryMirror::open(library, error);
    if (!mirror)
        return nullptr;
    return std::unique_ptr<LibraryWindow>(new LibraryWindow(std::move(mirror), std::move(importing)));
}

LibraryWindow::LibraryWindow(std::unique_ptr<LibraryMirror> mirror, std::function<bool()> isImporting)
    : state(std::move(mirror)), importing(std::move(isImporting)), selectionWriter(state->library()),
      photosModel(std::make_unique<PhotoGridModel>(*state, thumbnails)),
      albumsModel(std::make_unique<AlbumListModel>(*state)) {
    setWindowTitle(tr("%1 \u2014 photoapp").arg(QFileInfo(state->library().root()).completeBaseName()));
    setObjectName(QStringLiteral("libraryWindow"));

    albumList = new QListView;
    albumList->setObjectName(QStringLiteral("albums"));
    albumList->setModel(albumsModel.get());
    albumList->setSelectionMode(QAbstractItemView::SingleSelection);
    albumList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    albumList->setMinimumWidth(kSidebarWidth / 2);
    albumList->setTextElideMode(Qt::ElideMiddle); // the dated end of a zombie album's name stays
    albumList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    photoGrid = new QListView;
    photoGrid->setObjectName(QStringLiteral("photoGrid"));
    photoGrid->setViewMode(QListView::IconMode);
    photoGrid->setMovement(QListView::Static);
    photoGrid->setResizeMode(QListView::Adjust);
    photoGrid->setUniformItemSizes(true);
    photoGrid->setGridSize(PhotoGridDelegate::cellSize());
    photoGrid->setItemDelegate(new PhotoGridDelegate(photoGrid));
    photoGrid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    photoGrid->setSelectionRectVisible(true);
    photoGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    photoGrid->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    photoGrid->setModel(photosModel.get());

    search = new QLineEdit;
    search->setObjectName(QStringLiteral("search"));
    search->setPlaceholderText(tr("Search keywords and file names"));
    search->setClearButtonEnabled(true);
    search->setMaximumWidth(320);

    auto* top = new QHBoxLayout;
    top->addStretch();
    top->addWidget(search);
    auto* right = new QWidget;
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 6, 6, 0);
    rightLayout->addLayout(top);
    rightLayout->addWidget(photoGrid);
    auto* splitter = new QSplitter;
    splitter->addWidget(albumList);
    splitter->addWidget(right);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({kSidebarWidth, 760});
    setCentralWidget(splitter);
    status = new QLabel;
    status->setObjectName(QStringLiteral("status"));
    statusBar()->addWidget(status, 1);
    buildMenus();
    // Within the screen: at a large scale factor the usual size would put the search field and
    // the status line out of reach on a small screen.
    QSize size(1000, 700);
    if (const QScreen* shownOn = screen())
        size = size.boundedTo(shownOn->availableGeometry().size() * 0.9);
    resize(size);

    selectionWrite.setSingleShot(true);
    selectionWrite.setInterval(kSelectionWriteDelayMs);
    connect(&selectionWrite, &QTimer::timeout, this, &LibraryWindow::writeGridSelection);
    connect(&selectionWriter, &SelectionWriter::idle, this, &LibraryWindow::selectionWritten);
    connect(photoGrid->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &LibraryWindow::gridSelectionChanged);
    connect(albumList, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& i) { albumChosen(i.row()); });
    connect(albumList->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& i) { albumChosen(i.row()); });
    connect(search, &QLineEdit::textChanged, photosModel.get(), &PhotoGridModel::setFilter);
    connect(state.get(), &LibraryMirror::selectionChanged, this, &LibraryWindow::followSelection);
    // Read afresh, the grid starts over; what was selected is selected again.
    connect(state.get(), &LibraryMirror::reloaded, this, [this] { showSelection(state->selection()); });
    // The sidebar is rebuilt when albums come: the shown one stays chosen.
    connect(albumsModel.get(), &QAbstractItemModel::modelReset, this,
            [this] { showAlbum(photosModel->album()); });
    for (const auto& signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(photosModel.get(), signal, this, &LibraryWindow::updateStatus);
    connect(photosModel.get(), &QAbstractItemModel::modelReset, this, &LibraryWindow::updateStatus);
    connect(photosModel.get(), &PhotoGridModel::filterChanged, this, &LibraryWindow::updateStatus);

    // What the catalogue has selected is shown as it is: opening the window changes nothing.
    photosModel->showAlbum(state->libraryAlbumId());
    showSelection(state->selection());
    showAlbum(photosModel->album());
    photoGrid->setFocus();
    updateStatus();
}

LibraryWindow::~LibraryWindow() {
    flushSelection();
    // The views and the panel go before the models and the mirror they show.
    delete keywords;
    delete takeCentralWidget();
}

KeywordsPanel& LibraryWindow::keywordsPanel() {
    if (!keywords)
        keywords = new KeywordsPanel(*state, this);
    return *keywords;
}

void LibraryWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("Close Window"), QKeySequence::Close, this, &QWidget::close);
    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    edit->addAction(tr("Select All"), QKeySequence::SelectAll, this, [this] {
        photoGrid->setFocus();
        photoGrid->selectAll();
    });
    edit->addAction(tr("Find"), QKeySequence::Find, this, [this] {
        search->setFocus();
        search->selectAll();
    });
    QMenu* window = menuBar()->addMenu(tr("&Window"));
    QAction* manage = window->addAction(tr("Manage My Keywords"), this, [this] {
        KeywordsPanel& panel = keywordsPanel();
        panel.show();
        panel.raise();
        panel.activateWindow();
    });
    manage->setObjectName(QStringLiteral("manageMyKeywords"));
}

void LibraryWindow::showAlbum(qint64 albumId) {
    if (albumsModel->rowOf(albumId) < 0)
        albumId = state->libraryAlbumId();
    if (albumId != photosModel->album())
        photosModel->showAlbum(albumId);
    const QScopedValueRollback guard(applyingSelection, true);
    const QModelIndex row = albumsModel->index(albumsModel->rowOf(albumId));
    if (albumList->currentIndex() != row)
        albumList->setCurrentIndex(row);
    updateStatus();
}

// The user chose an album in the sidebar: it is shown, and it is the selection.
void LibraryWindow::albumChosen(int row) {
    if (applyingSelection)
        return;
    const qint64 album = albumsModel->albumAt(row);
    const QList<Item> chosen{{Item::Kind::Album, album}};
    // A click on the album a change of row already chose.
    if (album == 0 || (album == photosModel->album() && chosen == shownSelection))
        return;
    {
        const QScopedValueRollback guard(applyingSelection, true);
        showAlbum(album);
        photoGrid->clearSelection();
    }
    selectionWrite.stop();
    write(chosen);
}

void LibraryWindow::gridSelectionChanged() {
    updateStatus();
    if (applyingSelection || photosModel->isRearranging())
        return;
    selectionWrite.start();
}

void LibraryWindow::writeGridSelection() {
    // A selection made elsewhere since the user chose is newer than the choice: it stays, and is
    // shown, rather than being overwritten by what it replaced.
    // (While an earlier choice is still being written, the catalogue holds what that replaces.)
    if (!selectionWriter.isBusy()) {
        const QList<Item> known = shownSelection;
        state->refresh(); // shows such a selection through followSelection
        if (shownSelection != known || state->selection() != known) {
            if (state->selection() != shownSelection)
                showSelection(state->selection());
            return;
        }
    }
    QList<int> rows;
    for (const QItemSelectionRange& range : photoGrid->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.append(row);
    }
    std::sort(rows.begin(), rows.end());
    QList<Item> items;
    items.reserve(rows.size());
    for (const int row : std::as_const(rows))
        items.append({Item::Kind::Photo, photosModel->photoAt(row)});
    // No photo chosen: the album the user is looking at is.
    if (items.isEmpty())
        items.append({Item::Kind::Album, photosModel->album()});
    write(items);
}

void LibraryWindow::flushSelection() {
    if (!selectionWrite.isActive())
        return;
    selectionWrite.stop();
    writeGridSelection();
}

void LibraryWindow::write(const QList<Item>& items) {
    shownSelection = items;
    selectionWriter.write(items);
}

void LibraryWindow::selectionWritten(const QString& error) {
    if (!error.isEmpty())
        statusBar()->showMessage(tr("The selection could not be saved: %1").arg(error), 10000);
    state->refresh();
    // A selection made elsewhere while this one was written, and written after it, is shown now.
    followSelection();
}

// The selection changed in the catalogue: shown unless it is what this window wrote, or the user
// has chosen again since and that choice is about to be written or being written.
void LibraryWindow::followSelection() {
    if (selectionWrite.isActive() || selectionWriter.isBusy() || state->selection() == shownSelection)
        return;
    showSelection(state->selection());
}

void LibraryWindow::showSelection(const QList<Item>& items) {
    shownSelection = items;
    const QScopedValueRollback guard(applyingSelection, true);
    if (items.size() == 1 && items.constFirst().kind == Item::Kind::Album) {
        showAlbum(items.constFirst().id);
        photoGrid->clearSelection();
        return;
    }
    QList<qint64> ids;
    for (const Item& item : items) {
        if (item.kind == Item::Kind::Photo)
            ids.append(item.id);
    }
    const auto held = [this, &ids] {
        return std::all_of(ids.cbegin(), ids.cend(),
                           [this](qint64 id) { return photosModel->albumHolds(id); });
    };
    // Shown where they all are: this album, else the library, else the Trash.
    if (!held())
        showAlbum(state->libraryAlbumId());
    if (!held() && !ids.isEmpty() && !photosModel->albumHolds(ids.constFirst()))
        showAlbum(state->trashAlbumId());
    if (std::any_of(ids.cbegin(), ids.cend(), [this](qint64 id) { return photosModel->rowOf(id) < 0; }) &&
        !search->text().isEmpty())
        search->clear(); // a selected photo the search hides would be selected unseen
    QList<int> rows;
    for (const qint64 id : std::as_const(ids)) {
        if (const int row = photosModel->rowOf(id); row >= 0)
            rows.append(row);
    }
    photoGrid->selectionModel()->select(rangesOf(rows, *photosModel), QItemSelectionModel::ClearAndSelect);
    if (!rows.isEmpty()) {
        const QModelIndex first = photosModel->index(*std::min_element(rows.cbegin(), rows.cend()));
        photoGrid->selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
        photoGrid->scrollTo(first);
    }
}

void LibraryWindow::updateStatus() {
    const qsizetype total = photosModel->albumSize();
    const int shown = photosModel->rowCount();
    // English says "1 photo" where a count would say "1 photos"; other languages count with %n.
    QString text = total == 0   ? tr("No photos")
                   : total == 1 ? tr("1 photo")
                                : tr("%Ln photos", nullptr, static_cast<int>(total));
    if (total > 0 && !photosModel->filter().isEmpty())
        text = tr("%Ln of %1 match \u201c%2\u201d", nullptr, shown).arg(text, photosModel->filter());
    qsizetype selected = 0;
    for (const QItemSelectionRange& range : photoGrid->selectionModel()->selection())
        selected += range.height();
    if (selected > 0)
        text += tr(", %Ln selected", nullptr, static_cast<int>(selected));
    status->setText(text);
}

void LibraryWindow::closeEvent(QCloseEvent* event) {
    if (!closeConfirmed && importing && importing()) {
        event->ignore();
        auto* box = new QMessageBox(QMessageBox::Question, windowTitle(), tr("An import is in progress."),
                                    QMessageBox::Cancel, this);
        box->setInformativeText(
            tr("Closing the window stops the photo application: the import ends after the file "
               "it is copying, and the photos imported so far stay in the library."));
        QPushButton* stop = box->addButton(tr("Stop Import and Close"), QMessageBox::DestructiveRole);
        box->setDefaultButton(QMessageBox::Cancel);
        box->setAttribute(Qt::WA_DeleteOnClose);
        connect(box, &QMessageBox::buttonClicked, this, [this, stop](QAbstractButton* clicked) {
            if (clicked != stop)
                return;
            closeConfirmed = true;
            close();
        });
        box->open();
        return;
    }
    flushSelection();
    QMainWindow::closeEvent(event);
    emit closed();
}
