/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "widgets/MessageBox.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSpacerItem>
#include <memory>

namespace {

// A sentence of the system's alerts runs to about 90 characters: at this width it takes two lines.
constexpr int kLineCharacters = 60;
// ... but never more of a small screen than this share of its width.
constexpr double kMaxScreenShare = 0.6;
constexpr double kTitleScale = 1.15;
// QMessageBox orders its buttons by role: each remembers which choice it stands for.
constexpr const char* kChoiceIndex = "vupChoiceIndex";

QList<int> nextAnswers;
std::optional<MessageBox::Question> asked;
int askedTimes = 0;

int textWidth(const QWidget* box) {
    int width = box->fontMetrics().averageCharWidth() * kLineCharacters;
    if (const QScreen* screen = box->screen())
        width = qMin(width, int(screen->availableGeometry().width() * kMaxScreenShare));
    return width;
}

} // namespace

QMessageBox::Icon MessageBox::icon(Kind kind) {
    switch (kind) {
    case Kind::Information:
        return QMessageBox::Information;
    case Kind::Warning:
        return QMessageBox::Warning;
    case Kind::Critical:
        return QMessageBox::Critical;
    case Kind::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox* MessageBox::create(Kind kind, const QString& title, const QString& message, QWidget* parent,
                                const QList<Choice>& choices) {
    auto* box = new QMessageBox(parent);
    box->setIcon(icon(kind));
    box->setWindowTitle(QGuiApplication::applicationDisplayName());
    box->setText(title);
    box->setInformativeText(message);
    box->setTextFormat(Qt::PlainText);
    for (qsizetype i = 0; i < choices.size(); ++i)
        box->addButton(choices.at(i).text, choices.at(i).role)->setProperty(kChoiceIndex, int(i));
    // The title stands apart from the message, as the heading of the alert.
    if (auto* heading = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
        QFont font = heading->font();
        font.setBold(true);
        font.setPointSizeF(font.pointSizeF() * kTitleScale);
        heading->setFont(font);
    }
    if (auto* informative = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"))) {
        informative->setTextFormat(Qt::PlainText);
        // A menu path ("Window->Manage My Keywords") is read as one word: a word joiner keeps the
        // arrow from being split at its hyphen.
        if (message.contains(QLatin1StringView("->")))
            informative->setText(
                QString(message).replace(QLatin1StringView("->"), QStringLiteral("-\u2060>")));
    }
    // The box sizes itself to its layout's minimum width: a spacer under the texts (the last
    // column, beside the icon's) sets it. Texts must be set before, since setting one rebuilds the
    // layout.
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout()))
        grid->addItem(new QSpacerItem(textWidth(box), 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), grid->columnCount() - 1);
    return box;
}

int MessageBox::ask(Kind kind, const QString& title, const QString& message, QWidget* parent,
                    const QList<Choice>& choices, int defaultChoice,
                    const std::function<void(QMessageBox*)>& shown) {
    Question question{kind, title, message, {}};
    for (const Choice& choice : choices)
        question.choices.append(choice.text);
    asked = question;
    ++askedTimes;
    if (!nextAnswers.isEmpty())
        return nextAnswers.takeFirst();
    std::unique_ptr<QMessageBox> box(create(kind, title, message, parent, choices));
    int fallback = defaultChoice;
    for (qsizetype i = 0; i < choices.size(); ++i) {
        if (choices.at(i).role == QMessageBox::RejectRole)
            fallback = int(i);
    }
    const auto buttonOf = [&box](int index) -> QPushButton* {
        for (QAbstractButton* b : box->buttons()) {
            if (b->property(kChoiceIndex).toInt() == index)
                return qobject_cast<QPushButton*>(b);
        }
        return nullptr;
    };
    box->setDefaultButton(buttonOf(defaultChoice));
    box->setEscapeButton(buttonOf(fallback));
    if (shown)
        shown(box.get());
    box->exec();
    if (const QAbstractButton* clicked = box->clickedButton())
        return clicked->property(kChoiceIndex).toInt();
    return fallback;
}

void MessageBox::setNextAnswer(int choice) {
    nextAnswers.append(choice);
}

std::optional<MessageBox::Question> MessageBox::lastQuestion() {
    return asked;
}

int MessageBox::askedCount() {
    return askedTimes;
}

void MessageBox::reset() {
    nextAnswers.clear();
    asked.reset();
    askedTimes = 0;
}
