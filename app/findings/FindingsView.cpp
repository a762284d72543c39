/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "app/findings/FindingsView.h"

#include "app/findings/FindingsFilter.h"
#include "app/findings/FindingsModel.h"
#include "app/findings/ShowInFolder.h"
#include "app/findings/ThumbnailCache.h"
#include "platform/FileManagerService.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>

namespace {

constexpr QSize kPicture(64, 48);
constexpr int kRowPadding = 6;
// Typing in the filter waits this long for the next key before 100,000 rows are looked through.
constexpr int kFilterDelayMs = 200;

constexpr const char* kAllKinds = QT_TRANSLATE_NOOP("FindingsView", "All findings");
constexpr const char* kFilterHint =
    QT_TRANSLATE_NOOP("FindingsView", "Filter by name, path, action or reason");
constexpr const char* kShowInFolder = QT_TRANSLATE_NOOP("FindingsView", "Show in &Folder");
constexpr const char* kCopyPath = QT_TRANSLATE_NOOP("FindingsView", "C&opy Path");
constexpr const char* kScanNow = QT_TRANSLATE_NOOP("FindingsView", "Scan &Now");
constexpr const char* kExport = QT_TRANSLATE_NOOP("FindingsView", "E&xport Report...");
constexpr const char* kCount = QT_TRANSLATE_NOOP("FindingsView", "%1 of %2 shown");
constexpr const char* kShowingFirst =
    QT_TRANSLATE_NOOP("FindingsView", "Showing the first %1 of %2 selected items.");
constexpr const char* kCopiedOne = QT_TRANSLATE_NOOP("FindingsView", "Copied 1 path.");
constexpr const char* kCopied = QT_TRANSLATE_N_NOOP("FindingsView", "Copied %n paths.");
constexpr const char* kFilterLabel = QT_TRANSLATE_NOOP("FindingsView", "Fil&ter:");
// The widest action text, measured in the user's language.
constexpr const char* kLongestAction =
    QT_TRANSLATE_NOOP("FindingsView", "re-added to album \"Vup Zombies 0000-00-00-000000\"");
constexpr const char* kOtherLibrary =
    QT_TRANSLATE_NOOP("FindingsView", "Not the library the photo application has open now. %1");
constexpr const char* kNoFileManager = QT_TRANSLATE_NOOP("FindingsView", "No file manager could open %1.");

// Paths keep both ends in sight: the folder they start in and the file they name.
class PathDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->textElideMode = Qt::ElideMiddle;
    }
};

QPushButton* button(const QString& text, const char* name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

} // namespace

FindingsView::FindingsView(QWidget* parent)
    : QWidget(parent), thumbnails(new ThumbnailCache(kPicture, this)),
      findings(new FindingsModel(thumbnails, this)), sorted(new FindingsFilter(findings, this)),
      headline(new QLabel(this)), kindFilter(new QComboBox(this)), textFilter(new QLineEdit(this)),
      textDelay(new QTimer(this)), count(new QLabel(this)), tableView(new QTableView(this)),
      showInFolderButton(button(tr(kShowInFolder), "showInFolderButton", this)),
      copyPathButton(button(tr(kCopyPath), "copyPathButton", this)),
      scanNowButton(button(tr(kScanNow), "scanNowButton", this)),
      exportButton(button(tr(kExport), "exportReportButton", this)), note(new QLabel(this)) {
    setObjectName(QStringLiteral("findingsView"));
    setUpLabelsAndFilters();
    setUpTable();
    const auto [showAction, copyAction] = addRowActions();
    layOut();
    connectUp(showAction, copyAction);
    updateButtons();
}

void FindingsView::setUpLabelsAndFilters() {
    headline->setObjectName(QStringLiteral("findingsHeadline"));
    headline->setWordWrap(true);
    headline->setTextFormat(Qt::PlainText);
    QFont bold = headline->font();
    bold.setBold(true);
    headline->setFont(bold);

    kindFilter->setObjectName(QStringLiteral("findingsKindFilter"));
    kindFilter->addItem(tr(kAllKinds));
    for (int k = 0; k < Finding::kKindCount; ++k)
        kindFilter->addItem(findingKindLabel(Finding::Kind(k)), k);
    textFilter->setObjectName(QStringLiteral("findingsTextFilter"));
    textFilter->setPlaceholderText(tr(kFilterHint));
    textFilter->setClearButtonEnabled(true);
    textDelay->setSingleShot(true);
    textDelay->setInterval(kFilterDelayMs);
    count->setObjectName(QStringLiteral("findingsCount"));
    note->setObjectName(QStringLiteral("findingsNote"));
    note->setTextFormat(Qt::PlainText);
    // A long note wraps beside the buttons rather than widening the window past the screen.
    note->setWordWrap(true);
}

void FindingsView::setUpTable() {
    tableView->setObjectName(QStringLiteral("findingsTable"));
    tableView->setModel(sorted);
    tableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    tableView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the table for the next control instead of walking its cells.
    tableView->setTabKeyNavigation(false);
    tableView->setWordWrap(false);
    tableView->setItemDelegateForColumn(FindingsModel::Path, new PathDelegate(tableView));
    tableView->setIconSize(kPicture);
    tableView->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    tableView->setContextMenuPolicy(Qt::ActionsContextMenu);
    // Every row the same height, fixed: nothing is measured per row, whatever the row count.
    QHeaderView* rowsHeader = tableView->verticalHeader();
    rowsHeader->hide();
    rowsHeader->setSectionResizeMode(QHeaderView::Fixed);
    rowsHeader->setDefaultSectionSize(kPicture.height() + kRowPadding);
    QHeaderView* columns = tableView->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setStretchLastSection(true);
    columns->setSortIndicator(-1, Qt::AscendingOrder);
    tableView->setSortingEnabled(true);
    for (const auto& [column, width] : {std::pair{FindingsModel::Picture, kPicture.width() + kRowPadding},
                                        {FindingsModel::FileName, 130},
                                        {FindingsModel::Issue, 105},
                                        {FindingsModel::Path, 250}})
        tableView->setColumnWidth(column, width);
    // The longest action, a zombie's album with its stamp, is read whole.
    tableView->setColumnWidth(FindingsModel::Action,
                              tableView->fontMetrics().horizontalAdvance(tr(kLongestAction)) +
                                  3 * kRowPadding);
}

std::pair<QAction*, QAction*> FindingsView::addRowActions() {
    auto* showAction = new QAction(tr(kShowInFolder), tableView);
    // Enter on a row does what a double click does.
    showAction->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    showAction->setShortcutContext(Qt::WidgetShortcut);
    auto* copyAction = new QAction(tr(kCopyPath), tableView);
    copyAction->setShortcut(QKeySequence::Copy);
    copyAction->setShortcutContext(Qt::WidgetShortcut);
    tableView->addActions({showAction, copyAction});
    return {showAction, copyAction};
}

void FindingsView::layOut() {
    auto* filterLabel = new QLabel(tr(kFilterLabel), this);
    filterLabel->setBuddy(textFilter);
    // The desktop's find keys reach the filter from anywhere in the window.
    auto* find = new QAction(this);
    find->setShortcut(QKeySequence::Find);
    find->setShortcutContext(Qt::WindowShortcut);
    addAction(find);
    connect(find, &QAction::triggered, this, [this] {
        textFilter->setFocus(Qt::ShortcutFocusReason);
        textFilter->selectAll();
    });
    auto* filters = new QHBoxLayout;
    filters->addWidget(kindFilter);
    filters->addWidget(filterLabel);
    filters->addWidget(textFilter, 1);
    filters->addWidget(count);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(showInFolderButton);
    buttons->addWidget(copyPathButton);
    buttons->addWidget(note, 1);
    buttons->addWidget(scanNowButton);
    buttons->addWidget(exportButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(headline);
    layout->addLayout(filters);
    layout->addWidget(tableView, 1);
    layout->addLayout(buttons);
}

void FindingsView::connectUp(QAction* showAction, QAction* copyAction) {
    connect(kindFilter, &QComboBox::currentIndexChanged, this, [this] {
        const QVariant k = kindFilter->currentData();
        sorted->setKind(k.isValid() ? std::optional(Finding::Kind(k.toInt())) : std::nullopt);
    });
    connect(textFilter, &QLineEdit::textChanged, textDelay, qOverload<>(&QTimer::start));
    connect(textDelay, &QTimer::timeout, this, [this] { sorted->setText(textFilter->text()); });
    connect(sorted, &QAbstractItemModel::rowsInserted, this, &FindingsView::updateCount);
    connect(sorted, &QAbstractItemModel::rowsRemoved, this, &FindingsView::updateCount);
    connect(sorted, &QAbstractItemModel::modelReset, this, &FindingsView::updateCount);
    connect(sorted, &QAbstractItemModel::layoutChanged, this, &FindingsView::updateCount);
    connect(tableView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &FindingsView::updateButtons);
    connect(tableView, &QAbstractItemView::doubleClicked, this, &FindingsView::showSelectedInFolder);
    connect(showAction, &QAction::triggered, this, &FindingsView::showSelectedInFolder);
    connect(copyAction, &QAction::triggered, this, &FindingsView::copySelectedPaths);
    connect(showInFolderButton, &QPushButton::clicked, this, &FindingsView::showSelectedInFolder);
    connect(copyPathButton, &QPushButton::clicked, this, &FindingsView::copySelectedPaths);
    connect(scanNowButton, &QPushButton::clicked, this, &FindingsView::scanNowRequested);
    connect(exportButton, &QPushButton::clicked, this, &FindingsView::exportRequested);
}

QList<QWidget*> FindingsView::tabOrder() const {
    return {kindFilter,     textFilter,    tableView,   showInFolderButton,
            copyPathButton, scanNowButton, exportButton};
}

FindingsView::~FindingsView() = default;

void FindingsView::showTable(FindingsTable table) {
    shown = std::move(table);
    updateHeadline();
    headline->setToolTip(shown.summary.summary);
    note->clear();
    thumbnails->forget();
    findings->setRows(shown.rows);
    updateCount();
    updateButtons();
}

void FindingsView::updateHeadline() {
    const QString text = findingsHeadline(shown.summary);
    headline->setText(showsOtherLibrary() ? tr(kOtherLibrary).arg(text) : text);
}

void FindingsView::setServedLibrary(const QString& library) {
    servedLibrary = library;
    updateHeadline();
    updateButtons();
}

bool FindingsView::showsOtherLibrary() const {
    return !servedLibrary.isEmpty() && !shown.summary.library.isEmpty() &&
           servedLibrary != shown.summary.library;
}

qint64 FindingsView::firstPhotoId() const {
    for (const Finding& f : shown.rows) {
        if (f.id >= 0)
            return f.id;
    }
    return -1;
}

void FindingsView::setBusy(bool value) {
    busy = value;
    updateButtons();
}

void FindingsView::setNote(const QString& text) {
    note->setText(text);
}

void FindingsView::updateCount() {
    count->setText(
        tr(kCount).arg(QLocale().toString(sorted->rowCount()), QLocale().toString(findings->rowCount())));
}

void FindingsView::updateButtons() {
    const bool selected = tableView->selectionModel()->hasSelection();
    showInFolderButton->setEnabled(selected);
    copyPathButton->setEnabled(selected);
    // Only a preview that ran to its end, of the library open now, is worth repeating for real: a
    // cancelled, failed or refused one did not look at everything.
    const QString& outcome = shown.summary.outcome;
    const bool ranToEnd = outcome == u"completed" || outcome == u"incomplete";
    scanNowButton->setVisible(shown.summary.dryRun);
    scanNowButton->setEnabled(shown.summary.dryRun && ranToEnd && !showsOtherLibrary() && !busy);
    exportButton->setEnabled(shown.summary.ended.isValid());
}

QList<const Finding*> FindingsView::selectedFindings() const {
    QList<const Finding*> result;
    QModelIndexList rows = tableView->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    result.reserve(rows.size());
    for (const QModelIndex& row : rows)
        result.append(&findings->finding(sorted->mapToSource(row).row()));
    return result;
}

void FindingsView::showSelectedInFolder() {
    const QList<const Finding*> selected = selectedFindings();
    QList<QByteArray> paths;
    for (const Finding* f : selected.mid(0, ShowInFolder::kMostShown))
        paths.append(f->location());
    setNote(selected.size() > ShowInFolder::kMostShown
                ? tr(kShowingFirst).arg(ShowInFolder::kMostShown).arg(selected.size())
                : QString());
    ShowInFolder::show(paths, this, [this](const QByteArray& folder) {
        setNote(tr(kNoFileManager).arg(QFile::decodeName(folder)));
    });
}

void FindingsView::copySelectedPaths() {
    const QList<const Finding*> selected = selectedFindings();
    if (selected.isEmpty())
        return;
    // Text for people; the address list names the bytes exactly, for file managers.
    QStringList text;
    QByteArray uris;
    for (const Finding* f : selected) {
        const QByteArray path = f->location();
        text.append(QFile::decodeName(path));
        uris += FileManagerService::fileUri(path).toLatin1() + "\r\n";
    }
    auto* mime = new QMimeData;
    mime->setData(QStringLiteral("text/uri-list"), uris);
    mime->setText(text.join(u'\n'));
    QApplication::clipboard()->setMimeData(mime);
    // English words one path apart from the count; other languages count with %n alone.
    setNote(selected.size() == 1 ? tr(kCopiedOne) : tr(kCopied, nullptr, static_cast<int>(selected.size())));
}
