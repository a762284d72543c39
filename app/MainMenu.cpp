#include "app/MainMenu.h"

#include "platform/BundleInfo.h"
#include "widgets/MessageBox.h"

#include <QAction>
#include <QEvent>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace {

constexpr const char* kAboutTitle = "%1 %2";
constexpr const char* kAboutText = "Finds photos whose files are gone and files the photo library forgot, "
                                   "and repairs the library through the running photo application.\n\n"
                                   "Product page: %1\nSupport: %2";

QString text(const char* t) {
    return QString::fromUtf8(t);
}

QString bundle(const char* key) {
    return BundleInfo::value(QString::fromLatin1(key)).value_or(QString());
}

// Keeps a command's enabled state with its button's, whoever changes the button.
class FollowButton final : public QObject {
public:
    FollowButton(QAction* a, QPushButton* button) : QObject(a), action(a) {
        action->setEnabled(button->isEnabled());
        button->installEventFilter(this);
        connect(action, &QAction::triggered, button, &QPushButton::click);
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

QAction* commandFor(QMenu* menu, const char* title, QPushButton* button) {
    QAction* action = menu->addAction(text(title));
    new FollowButton(action, button);
    return action;
}

} // namespace

namespace MainMenu {

void build(QMainWindow* window, const Buttons& buttons) {
    QMenuBar* bar = window->menuBar();
    QMenu* scan = bar->addMenu(text("&Scan"));
    commandFor(scan, "Scan &Selection", buttons.scanSelection);
    commandFor(scan, "Scan &Library", buttons.scanLibrary);
    commandFor(scan, "&Cancel Scan", buttons.cancel);
    scan->addSeparator();
    QAction* quit = scan->addAction(text("&Quit"), window, &QWidget::close);
    // Desktops bind the quit keys (Ctrl+Q); a platform that binds none still gets those.
    QList<QKeySequence> quitKeys = QKeySequence::keyBindings(QKeySequence::Quit);
    if (quitKeys.isEmpty())
        quitKeys.append(QKeySequence(Qt::CTRL | Qt::Key_Q));
    quit->setShortcuts(quitKeys);
    quit->setMenuRole(QAction::QuitRole);

    QMenu* help = bar->addMenu(text("&Help"));
    commandFor(help, "&Info", buttons.info)->setShortcut(QKeySequence(Qt::Key_F1));
    QAction* about = help->addAction(text("&About %1").arg(bundle(BundleInfo::kBundleName)), window,
                                     [window] { showAbout(window); });
    about->setMenuRole(QAction::AboutRole);
}

void showAbout(QMainWindow* window) {
    MessageBox::ask(
        MessageBox::Kind::Information,
        text(kAboutTitle).arg(bundle(BundleInfo::kBundleName), bundle(BundleInfo::kShortVersion)),
        text(kAboutText).arg(bundle(BundleInfo::kProductPage), bundle(BundleInfo::kSupportAddress)), window,
        {{QStringLiteral("OK"), QMessageBox::AcceptRole}}, 0);
}

} // namespace MainMenu
