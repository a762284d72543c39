/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "photoapp/window/KeywordsPanel.h"

#include <QAbstractItemDelegate>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr const char* kTitle = QT_TRANSLATE_NOOP("KeywordsPanel", "Keywords");
constexpr const char* kEditKeywords = QT_TRANSLATE_NOOP("KeywordsPanel", "Edit Keywords");
constexpr const char* kDone = QT_TRANSLATE_NOOP("KeywordsPanel", "OK");

} // namespace

// A list that tells whether a name is being typed in it.
class KeywordListView : public QListView {
public:
    using QListView::QListView;
    bool isEditing() const { return state() == EditingState; }
};

KeywordsPanel::KeywordsPanel(LibraryMirror& m, QWidget* parent) : QDialog(parent), mirror(m), model(m) {
    setWindowTitle(tr(kTitle));
    setObjectName(QStringLiteral("keywordsPanel"));
    list = new KeywordListView(this);
    list->setObjectName(QStringLiteral("keywordList"));
    list->setModel(&model);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    list->setUniformItemSizes(true);

    addButton = new QPushButton(QStringLiteral("+"), this);
    addButton->setObjectName(QStringLiteral("addKeyword"));
    addButton->setToolTip(tr("Add a keyword"));
    removeButton = new QPushButton(QStringLiteral("\u2212"), this);
    removeButton->setObjectName(QStringLiteral("removeKeyword"));
    removeButton->setToolTip(tr("Remove the chosen keyword"));
    removeButton->setAccessibleName(tr("Remove Keyword"));
    for (QPushButton* b : {addButton, removeButton}) {
        b->setFixedWidth(b->sizeHint().height() + 8);
        b->setAutoDefault(false);
    }
    editButton = new QPushButton(tr(kEditKeywords), this);
    editButton->setObjectName(QStringLiteral("editKeywords"));
    editButton->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(addButton);
    buttons->addWidget(removeButton);
    buttons->addStretch();
    buttons->addWidget(editButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list);
    layout->addLayout(buttons);
    resize(320, 420);
    setEditing(false);

    connect(editButton, &QPushButton::clicked, this, [this] { setEditing(!isEditing()); });
    connect(addButton, &QPushButton::clicked, this, &KeywordsPanel::add);
    connect(removeButton, &QPushButton::clicked, this, &KeywordsPanel::removeChosen);
    auto* removeKey = new QShortcut(QKeySequence::Delete, list);
    removeKey->setContext(Qt::WidgetShortcut);
    connect(removeKey, &QShortcut::activated, this, [this] {
        if (isEditing())
            removeChosen();
    });
    connect(&model, &KeywordListModel::refused, this, &KeywordsPanel::tell);
    connect(&model, &KeywordListModel::written, this, [this](qint64 id) {
        showAfterRefresh = id;
        refreshSoon();
    });
    // A keyword to come that is left without a name goes; the list catches up with changes that
    // came while a name was being typed.
    connect(list->itemDelegate(), &QAbstractItemDelegate::closeEditor, this, [this] {
        QTimer::singleShot(0, this, [this] {
            model.dropPending();
            if (stale)
                refresh();
        });
    });
    connect(&mirror, &LibraryMirror::keywordsChanged, this, &KeywordsPanel::refreshSoon);
    connect(&mirror, &LibraryMirror::reloaded, this, &KeywordsPanel::refreshSoon);
}

void KeywordsPanel::setEditing(bool on) {
    editing = on;
    model.setEditable(on);
    addButton->setVisible(on);
    removeButton->setVisible(on);
    editButton->setText(tr(on ? kDone : kEditKeywords));
    if (!on && list->isEditing())
        list->setFocus(); // the open editor commits as it loses focus
}

void KeywordsPanel::showEvent(QShowEvent* event) {
    if (stale)
        refresh();
    QDialog::showEvent(event);
}

void KeywordsPanel::add() {
    const QModelIndex pending = model.addPending();
    list->setCurrentIndex(pending);
    list->scrollTo(pending);
    list->setFocus();
    list->edit(pending);
}

void KeywordsPanel::removeChosen() {
    const qint64 id = model.keywordAt(list->currentIndex().row());
    if (id == 0)
        return;
    const qint64 uses = mirror.photosWithKeyword(id);
    if (uses == 0) {
        remove(id);
        return;
    }
    auto* box = new QMessageBox(QMessageBox::Question, tr(kTitle),
                                tr("Remove the keyword \"%1\"?").arg(mirror.keywords().value(id)),
                                QMessageBox::Cancel, this);
    box->setInformativeText(uses == 1
                                ? tr("One photo carries it; it loses it.")
                                : tr("%n photos carry it; they lose it.", nullptr, static_cast<int>(uses)));
    QPushButton* confirm = box->addButton(tr("Remove"), QMessageBox::DestructiveRole);
    box->setDefaultButton(QMessageBox::Cancel);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::buttonClicked, this, [this, id, confirm](QAbstractButton* clicked) {
        if (clicked == confirm)
            remove(id);
    });
    box->open();
}

void KeywordsPanel::remove(qint64 keywordId) {
    Catalogue& catalogue = mirror.catalogue();
    if (!catalogue.removeKeyword(keywordId)) {
        tell(tr("The keyword could not be removed: %1.").arg(catalogue.lastError()));
        return;
    }
    refreshSoon();
}

void KeywordsPanel::refreshSoon() {
    stale = true;
    // Not while a name is being typed (the editor would go with the rows), nor while hidden.
    if (!isVisible() || list->isEditing())
        return;
    QTimer::singleShot(0, this, [this] {
        if (stale && !list->isEditing())
            refresh();
    });
}

void KeywordsPanel::refresh() {
    mirror.refresh();
    const qint64 current =
        showAfterRefresh != 0 ? showAfterRefresh : model.keywordAt(list->currentIndex().row());
    showAfterRefresh = 0;
    stale = false;
    model.rebuild();
    if (const int row = model.rowOf(current); row >= 0) {
        list->setCurrentIndex(model.index(row));
        list->scrollTo(model.index(row));
    }
}

void KeywordsPanel::tell(const QString& message) {
    auto* box = new QMessageBox(QMessageBox::Warning, tr(kTitle), message, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}
