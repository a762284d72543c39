/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "app/AccessPromptPanel.h"

#include "platform/FileAccess.h"
#include "scan/engine/AccessPrompt.h"
#include "widgets/DialogPlacement.h"
#include "widgets/MessageBox.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

constexpr const char* kOpen = QT_TRANSLATE_NOOP("AccessPromptPanel", "Open");
constexpr const char* kStillUnreadableTitle = QT_TRANSLATE_NOOP("AccessPromptPanel", "Still No Read Access");
constexpr const char* kStillUnreadable = QT_TRANSLATE_NOOP(
    "AccessPromptPanel",
    "%1\n\nGrant read access, for example with a file manager or chmod, then press Try Again; "
    "or press Continue to go on without reading it.");
constexpr const char* kTryAgain = QT_TRANSLATE_NOOP("AccessPromptPanel", "&Try Again");
constexpr const char* kContinue = QT_TRANSLATE_NOOP("AccessPromptPanel", "&Continue");
constexpr int kWidth = 760;
constexpr int kHeight = 540;

// A file chooser whose Open takes whatever is chosen, a folder as well as a file, and even a path
// this process cannot look at (the very case the prompt is for), instead of opening a folder or
// complaining; double-click still opens a folder to look inside. Open checks the path afterwards.
class FileOrFolderChooser final : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    void accept() override {
        if (selectedFiles().isEmpty())
            return;
        QDialog::accept();
    }
};

} // namespace

AccessPromptPanel::AccessPromptPanel(const QString& path, QWidget* parent)
    : QDialog(parent), promptPath(path) {
    setObjectName(QString::fromLatin1(kObjectName));
    setWindowTitle(QCoreApplication::translate("AccessPrompt", AccessPrompt::kTitle));
    auto* layout = new QVBoxLayout(this);

    auto* message = new QLabel(AccessPrompt::message(path), this);
    message->setObjectName(QStringLiteral("accessPromptMessage"));
    message->setWordWrap(true);
    message->setTextFormat(Qt::PlainText);
    QFont bold = message->font();
    bold.setBold(true);
    message->setFont(bold);
    layout->addWidget(message);

    explanation = new QLabel(this);
    explanation->setObjectName(QStringLiteral("accessPromptExplanation"));
    explanation->setWordWrap(true);
    explanation->setTextFormat(Qt::PlainText);
    explanation->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(explanation);

    fileChooser = new FileOrFolderChooser(this, QString(), AccessPrompt::initialFolder(path));
    fileChooser->setWindowFlags(Qt::Widget);
    fileChooser->setOption(QFileDialog::DontUseNativeDialog, true);
    fileChooser->setFileMode(QFileDialog::ExistingFile);
    fileChooser->setAcceptMode(QFileDialog::AcceptOpen);
    fileChooser->setViewMode(QFileDialog::Detail);
    fileChooser->setLabelText(QFileDialog::Accept, tr(kOpen));
    fileChooser->selectFile(path);
    // The name takes the room that is left; the other columns are shown whole.
    if (auto* view = fileChooser->findChild<QTreeView*>()) {
        QHeaderView* header = view->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(QHeaderView::ResizeToContents);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
    }
    layout->addWidget(fileChooser, 1);
    connect(fileChooser, &QDialog::finished, this, &QDialog::done);
    resize(kWidth, kHeight);
}

AccessPromptPanel::~AccessPromptPanel() = default;

void AccessPromptPanel::run(const std::function<bool()>& stop) {
    for (;;) {
        if (stop())
            return;
        // The user may have changed the permissions since the last round.
        explanation->setText(AccessPrompt::explanation(promptPath));
        fileChooser->show();
        DialogPlacement::placeOver(this, parentWidget());
        const int result = exec();
        if (result != QDialog::Accepted) {
            AccessPrompt::logRefusal(result);
            continue;
        }
        if (FileAccess::fileReadable(promptPath) || stop())
            return;
        const int answer = MessageBox::ask(
            MessageBox::Kind::Warning, tr(kStillUnreadableTitle),
            tr(kStillUnreadable).arg(AccessPrompt::ownerAndMode(promptPath)), this,
            {{tr(kTryAgain), QMessageBox::AcceptRole}, {tr(kContinue), QMessageBox::RejectRole}}, 0);
        if (answer != 0)
            return;
    }
}
