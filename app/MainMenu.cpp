/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "app/MainMenu.h"

#include "app/Licence.h"
#include "platform/BundleInfo.h"
#include "widgets/MessageBox.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStringList>
#include <QUrl>

namespace {

constexpr const char* kAboutTitle = "%1 %2";
constexpr const char* kAboutText =
    QT_TRANSLATE_NOOP("MainMenu", "Finds photos whose files are gone and files the photo library forgot, "
                                  "and repairs the library through the running photo application.");
constexpr const char* kProductPageLine = QT_TRANSLATE_NOOP("MainMenu", "Product page: %1");
constexpr const char* kSupportLine = QT_TRANSLATE_NOOP("MainMenu", "Support: %1");

QString text(const char* t) {
    return QCoreApplication::translate("MainMenu", t);
}

QString bundle(const char* key) {
    return BundleInfo::value(QString::fromLatin1(key)).value_or(QString());
}

// Keeps a command's enabled state with its button's, whoever changes the button, and its name
// with the button's (the scan buttons are renamed for a preview) whenever the menu opens.
class FollowButton final : public QObject {
public:
    FollowButton(QMenu* menu, QAction* a, QPushButton* button) : QObject(a), action(a) {
        action->setEnabled(button->isEnabled());
        action->setText(button->text());
        button->installEventFilter(this);
        connect(action, &QAction::triggered, button, &QPushButton::click);
        connect(menu, &QMenu::aboutToShow, action, [this, button] { action->setText(button->text()); });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::EnabledChange)
            action->setEnabled(static_cast<QWidget*>(watched)->isEnabled());
        return QObject::eventFilter(watched, event);
    }

private:
    QAction* action;
};

QAction* commandFor(QMenu* menu, QPushButton* button) {
    QAction* action = menu->addAction(QString());
    new FollowButton(menu, action, button);
    return action;
}

} // namespace

namespace MainMenu {

void build(QMainWindow* window, const Buttons& buttons) {
    QMenuBar* bar = window->menuBar();
    QMenu* scan = bar->addMenu(QCoreApplication::translate("MainMenu", "&Scan"));
    commandFor(scan, buttons.scanSelection);
    commandFor(scan, buttons.scanLibrary);
    // Escape stops a scan exactly while Cancel can.
    commandFor(scan, buttons.cancel)->setShortcut(QKeySequence(Qt::Key_Escape));
    scan->addSeparator();
    QAction* quit =
        scan->addAction(QCoreApplication::translate("MainMenu", "&Quit"), window, &QWidget::close);
    // Desktops bind the quit keys (Ctrl+Q); a platform that binds none still gets those.
    QList<QKeySequence> quitKeys = QKeySequence::keyBindings(QKeySequence::Quit);
    if (quitKeys.isEmpty())
        quitKeys.append(QKeySequence(Qt::CTRL | Qt::Key_Q));
    quit->setShortcuts(quitKeys);
    quit->setMenuRole(QAction::QuitRole);

    QMenu* help = bar->addMenu(QCoreApplication::translate("MainMenu", "&Help"));
    commandFor(help, buttons.info)->setShortcut(QKeySequence(Qt::Key_F1));
    QAction* about = help->addAction(
        QCoreApplication::translate("MainMenu", "&About %1").arg(bundle(BundleInfo::kBundleName)), window,
        [window] { showAbout(window); });
    about->setMenuRole(QAction::AboutRole);
}

void showAbout(QMainWindow* window) {
    QStringList addresses;
    if (const auto page = reachableAddress(BundleInfo::kProductPage))
        addresses.append(text(kProductPageLine).arg(*page));
    if (const auto support = reachableAddress(BundleInfo::kSupportAddress))
        addresses.append(text(kSupportLine).arg(*support));
    QString about = text(kAboutText);
    if (!addresses.isEmpty())
        about += QStringLiteral("\n\n") + addresses.join(u'\n');
    // The licence notice is a legal text and stays as it is written.
    about += QStringLiteral("\n\n%1\n%2")
                 .arg(QString::fromUtf8(Licence::kCopyright), QString::fromUtf8(Licence::kNotice));
    MessageBox::ask(MessageBox::Kind::Information,
                    QString::fromLatin1(kAboutTitle)
                        .arg(bundle(BundleInfo::kBundleName), bundle(BundleInfo::kShortVersion)),
                    about, window, {{QCoreApplication::translate("MainMenu", "OK"), QMessageBox::AcceptRole}},
                    0);
}

std::optional<QString> reachableAddress(const char* key) {
    const QString value = bundle(key).trimmed();
    // The host of a web address, the domain of a mail address.
    QString host = QUrl(value).host();
    if (host.isEmpty())
        host = value.section(u'@', -1);
    host = host.toLower();
    for (const char* reserved : {"example.org", "example.com", "example.net", "example"}) {
        const QString domain = QString::fromLatin1(reserved);
        if (host == domain || host.endsWith(u'.' + domain))
            return std::nullopt;
    }
    if (value.isEmpty())
        return std::nullopt;
    return value;
}

} // namespace MainMenu
