/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "photoapp/window/KeywordListModel.h"
#include "photoapp/window/LibraryMirror.h"

#include <QDialog>

class KeywordListView;
class QPushButton;

// "Manage My Keywords": the library's keywords, and after "Edit Keywords" a "+" button at the
// lower left that adds one, a "−" button that removes the chosen one, and names that can be
// changed in place. Every change is in the catalogue when it is made, so a request for the
// keywords on the bus answers it at once.
class KeywordsPanel : public QDialog {
    Q_OBJECT
public:
    explicit KeywordsPanel(LibraryMirror& mirror, QWidget* parent = nullptr);

    bool isEditing() const { return editing; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void setEditing(bool on);
    void add();
    void removeChosen();
    void remove(qint64 keywordId);
    void refresh();
    void refreshSoon();
    void tell(const QString& message);

    LibraryMirror& mirror;
    KeywordListModel model;
    KeywordListView* list = nullptr;
    QPushButton* addButton = nullptr;
    QPushButton* removeButton = nullptr;
    QPushButton* editButton = nullptr;
    bool editing = false;
    bool stale = false;
    qint64 showAfterRefresh = 0;
};
