/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "app/VupAppDelegate.h"

#include "app/AccessPromptPanel.h"
#include "app/AlertKinds.h"
#include "app/ApplicationPicker.h"
#include "app/MainMenu.h"
#include "app/ProgressIndicator.h"
#include "app/findings/FindingsPresenter.h"
#include "app/findings/FindingsView.h"
#include "crashreporter/CrashCheckAtLaunch.h"
#include "crashreporter/ZXNCrashReporterWindowController.h"
#include "platform/MainThread.h"
#include "platform/SystemLog.h"
#include "platform/UserDefaults.h"
#include "platform/UserNotification.h"
#include "scan/engine/KeywordVerification.h"
#include "scan/engine/VersionCheck.h"
#include "scan/engine/VupMode.h"
#include "scan/zombies/RecoveryResume.h"
#include "ui_InfoPanel.h"
#include "ui_MainWindow.h"
#include "widgets/DefaultButton.h"
#include "widgets/DialogPlacement.h"
#include "widgets/MessageBox.h"
#include "wire/PhotoAppWire.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QDesktopServices>
#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QLocale>
#include <QMainWindow>
#include <QMessageBox>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <utility>

namespace {

constexpr const char* kReady = QT_TRANSLATE_NOOP("VupAppDelegate", "Ready");
// The inhibit request's reason, which the session's power service reads.
constexpr const char* kAssertionName = "Describe Activity Type";
constexpr const char* kOK = QT_TRANSLATE_NOOP("VupAppDelegate", "OK");
constexpr const char* kCancelScan = QT_TRANSLATE_NOOP("VupAppDelegate", "Cancel Scan");
constexpr const char* kAlertNotShown = "Not shown, Vup is quitting: %1: %2";
constexpr const char* kSelectionChanged = QT_TRANSLATE_NOOP("Alert", "Selection Changed");
constexpr const char* kSelectionChangedText =
    QT_TRANSLATE_NOOP("VupAppDelegate", "The photos selected in %1 are not the ones the preview looked at. "
                                        "Preview the selection again before scanning it.");
// The buttons' mnemonics stay the same whether they scan or preview.
constexpr const char* kPreviewSelection = QT_TRANSLATE_NOOP("VupAppDelegate", "Preview S&election");
constexpr const char* kScanSelection = QT_TRANSLATE_NOOP("VupAppDelegate", "Scan S&election");
constexpr const char* kPreviewLibrary = QT_TRANSLATE_NOOP("VupAppDelegate", "Preview &Library");
constexpr const char* kScanLibrary = QT_TRANSLATE_NOOP("VupAppDelegate", "Scan &Library");

// Sets a flag and tells observers only when it changed.
template <typename Signal>
void storeFlag(VupAppDelegate* self, std::atomic<bool>& field, bool value, Signal signal) {
    if (field.exchange(value) != value)
        emit(self->*signal)(value);
}

} // namespace

VupAppDelegate::VupAppDelegate(QObject* parent)
    : VupDelegate(parent), assertion(QString::fromLatin1(kAssertionName)),
      mainWindow(std::make_unique<QMainWindow>()), ui(std::make_unique<Ui::MainWindow>()),
      infoUi(std::make_unique<Ui::InfoPanel>()) {
    buildWindow();
    connectControls();
    buildFindings();
    watchApplications();
}

void VupAppDelegate::buildWindow() {
    ui->setupUi(mainWindow.get());
    progress = std::make_unique<ProgressIndicator>(ui->progressIndicator);
    ui->applicationHint->hide();
    MainMenu::build(mainWindow.get(),
                    {ui->processSelectionButton, ui->processLibraryButton, ui->cancelButton, ui->infoButton});
    // Enter scans only from the options, and never a scan that removes photos: that one is
    // started by its button or menu command alone.
    DefaultButton::routeEnter(mainWindow.get(), ui->processLibraryButton,
                              {ui->autoDeleteCheck, ui->recoverZombiesCheck, ui->previewCheck},
                              [this] { return !autoDelete(); });
    mainWindow->installEventFilter(this);
    // Placed by the program, so that the dialogs centred over it know where it is.
    DialogPlacement::placeOver(mainWindow.get(), nullptr);

    info = new QDialog(mainWindow.get());
    infoUi->setupUi(info);
    // A build without a product page of its own has nothing to open.
    infoUi->moreInfoButton->setVisible(MainMenu::reachableAddress(BundleInfo::kProductPage).has_value());
    info->setWindowModality(Qt::WindowModal);
}

void VupAppDelegate::connectControls() {
    // The window follows the properties; the controls write the user's options back.
    connect(this, &VupAppDelegate::statusLabelChanged, ui->statusLabel, &QLabel::setText);
    connect(this, &VupAppDelegate::selectedLabelChanged, ui->selectedLabel, &QLabel::setText);
    connect(this, &VupAppDelegate::libraryImageCountChanged, ui->libraryImageCount, &QLabel::setText);
    connect(this, &VupAppDelegate::autoDeleteChanged, ui->autoDeleteCheck, &QCheckBox::setChecked);
    connect(this, &VupAppDelegate::recoverZombiesChanged, ui->recoverZombiesCheck, &QCheckBox::setChecked);
    connect(ui->autoDeleteCheck, &QCheckBox::toggled, this, &VupAppDelegate::setAutoDelete);
    connect(ui->recoverZombiesCheck, &QCheckBox::toggled, this, &VupAppDelegate::setRecoverZombies);
    // One scan at a time: while one runs only Cancel is offered, and only while it can still act.
    connect(this, &VupAppDelegate::nowProcessingChanged, this, [this](bool busy) {
        ui->processSelectionButton->setEnabled(!busy);
        ui->processLibraryButton->setEnabled(!busy);
        if (picker)
            picker->setEnabled(!busy);
        updateCancelButton();
    });
    connect(this, &VupAppDelegate::cancelledChanged, this, &VupAppDelegate::updateCancelButton);
    connect(this, &VupAppDelegate::cancellableChanged, this, &VupAppDelegate::updateCancelButton);
    connect(ui->cancelButton, &QPushButton::clicked, this, [this] { setCancelled(true); });
    connect(ui->processSelectionButton, &QPushButton::clicked, this, &VupAppDelegate::processSelection);
    connect(ui->processLibraryButton, &QPushButton::clicked, this, &VupAppDelegate::processLibrary);
    connect(ui->infoButton, &QPushButton::clicked, this, &VupAppDelegate::showInfo);
    connect(infoUi->dismissButton, &QPushButton::clicked, this, &VupAppDelegate::dismissInfo);
    connect(infoUi->moreInfoButton, &QPushButton::clicked, this, &VupAppDelegate::moreInfoButton);
    connect(infoUi->skipInfoCheck, &QCheckBox::toggled, this, [](bool skip) {
        UserDefaults::standard().setBool(QString::fromLatin1(kSkipInfoScreenKey), skip);
    });
}

void VupAppDelegate::buildFindings() {
    // What a run found shows below the options, and a preview can be acted on from there.
    connect(this, &VupAppDelegate::previewChanged, ui->previewCheck, &QCheckBox::setChecked);
    connect(ui->previewCheck, &QCheckBox::toggled, this, &VupAppDelegate::setPreview);
    connect(this, &VupAppDelegate::previewChanged, this, [this](bool on) {
        ui->processSelectionButton->setText(tr(on ? kPreviewSelection : kScanSelection));
        ui->processLibraryButton->setText(tr(on ? kPreviewLibrary : kScanLibrary));
    });
    findingsPresenter = std::make_unique<FindingsPresenter>(mainWindow.get(), ui->mainLayout,
                                                            ui->mainLayout->indexOf(ui->previewCheck) + 1);
    connect(this, &VupAppDelegate::nowProcessingChanged, findingsPresenter->view(), &FindingsView::setBusy);
    // The keyboard goes through the window top to bottom: options, findings, then the buttons.
    const QList<QWidget*> order =
        QList<QWidget*>{ui->autoDeleteCheck, ui->recoverZombiesCheck, ui->previewCheck} +
        findingsPresenter->view()->tabOrder() +
        QList<QWidget*>{ui->infoButton, ui->cancelButton, ui->processSelectionButton,
                        ui->processLibraryButton};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
    connect(findingsPresenter.get(), &FindingsPresenter::scanNowRequested, this,
            &VupAppDelegate::actOnPreview);
}

void VupAppDelegate::watchApplications() {
    // The bus tells when the application starts or quits: no polling, and no stale "not running".
    presence = std::make_unique<QDBusServiceWatcher>(QString::fromLatin1(PhotoAppWire::kBundleIdentifier),
                                                     QDBusConnection::sessionBus(),
                                                     QDBusServiceWatcher::WatchForOwnerChange);
    presence->addWatchedService(PhotoApplications::serviceName(PhotoApplications::Kind::Darktable));
    picker = new ApplicationPicker(ui->mainLayout, ui->centralwidget);
    connect(picker, &ApplicationPicker::chosen, this, [this] {
        if (!runUnderWay)
            refreshCounts();
    });
    connect(presence.get(), &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& owner) {
                applicationPresenceChanged(!owner.isEmpty());
            });
    connect(this, &VupAppDelegate::scanEnded, this, [this] {
        if (std::exchange(countsStale, false) && !quitting.load())
            refreshCounts();
    });
    // Clicking the notification of a run's end brings the window back.
    UserNotification::whenActivated(this, [this] {
        mainWindow->showNormal();
        mainWindow->raise();
        mainWindow->activateWindow();
    });
    connect(findingsPresenter.get(), &FindingsPresenter::shown, this, [this] {
        if (vup && !runUnderWay)
            checkServedLibrary();
    });
}

VupAppDelegate::~VupAppDelegate() = default;

// ---- properties ----

void VupAppDelegate::setAutoDelete(bool v) {
    storeFlag(this, _autoDelete, v, &VupAppDelegate::autoDeleteChanged);
}
void VupAppDelegate::setRecoverZombies(bool v) {
    storeFlag(this, _recoverZombies, v, &VupAppDelegate::recoverZombiesChanged);
}
void VupAppDelegate::setNowProcessing(bool v) {
    storeFlag(this, _nowProcessing, v, &VupAppDelegate::nowProcessingChanged);
}
void VupAppDelegate::setSelectionMode(bool v) {
    storeFlag(this, _selectionMode, v, &VupAppDelegate::selectionModeChanged);
}
void VupAppDelegate::setCancelled(bool v) {
    storeFlag(this, _cancelled, v, &VupAppDelegate::cancelledChanged);
}
void VupAppDelegate::setCancellable(bool v) {
    storeFlag(this, _cancellable, v, &VupAppDelegate::cancellableChanged);
}
void VupAppDelegate::setPreview(bool v) {
    storeFlag(this, _preview, v, &VupAppDelegate::previewChanged);
}

void VupAppDelegate::updateCancelButton() {
    ui->cancelButton->setEnabled(nowProcessing() && cancellable() && !cancelled());
}

QString VupAppDelegate::statusLabel() const {
    QMutexLocker lock(&labelsMutex);
    return _statusLabel;
}

void VupAppDelegate::setStatusLabel(const QString& text) {
    // Once the user chose to stop and quit, the window says that until it closes.
    if (quitOnceStopped)
        return;
    {
        QMutexLocker lock(&labelsMutex);
        _statusLabel = text;
    }
    emit statusLabelChanged(text);
}

QString VupAppDelegate::selectedLabel() const {
    QMutexLocker lock(&labelsMutex);
    return _selectedLabel;
}

void VupAppDelegate::setSelectedLabel(const QString& text) {
    {
        QMutexLocker lock(&labelsMutex);
        _selectedLabel = text;
    }
    emit selectedLabelChanged(text);
}

QString VupAppDelegate::libraryImageCount() const {
    QMutexLocker lock(&labelsMutex);
    return _libraryImageCount;
}

void VupAppDelegate::setLibraryImageCount(const QString& text) {
    {
        QMutexLocker lock(&labelsMutex);
        _libraryImageCount = text;
    }
    emit libraryImageCountChanged(text);
}

// ---- lifecycle ----

void VupAppDelegate::applicationDidFinishLaunching() {
    report = checkForNewCrashesAtLaunch(mainWindow.get());
    vup = std::make_unique<VupMode>();
    picker->refresh(*vup);
    _nowProcessing.store(false);
    _cancelled.store(false);
    setStatusLabel(tr(kReady));
    showLibraryCount(vup->libraryCount(), vup->photoApplicationIsRunning());
    if (!UserDefaults::standard().boolForKey(QString::fromLatin1(kSkipInfoScreenKey))) {
        // The report window has the keyboard first; the info sheet, which would block the main
        // window beneath it, waits until the report is dealt with.
        if (report && report->isVisible())
            connect(report, &QDialog::finished, this, &VupAppDelegate::showInfo, Qt::SingleShotConnection);
        else
            showInfo();
    }
    findingsPresenter->restoreLastRun();
    resumeInterruptedRecoveries();
}

void VupAppDelegate::resumeInterruptedRecoveries() {
    if (!RecoveryResume::anyUnfinished())
        return;
    prepareForRun();
    VupMode* engine = vup.get();
    QThread* thread = QThread::create([engine, this] {
        engine->resumeRecoveriesAtLaunch(this);
        recountLibrary(false);
    });
    startThread(thread);
}

void VupAppDelegate::startThread(QThread* thread) {
    // The thread object goes once the run has ended; nobody waits for it.
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    connect(thread, &QThread::finished, this, [this] {
        runUnderWay = false;
        emit scanEnded();
    });
    scanThread = thread;
    runUnderWay = true;
    thread->start();
}

void VupAppDelegate::applicationDidBecomeActive() {
    if (!vup || _nowProcessing.load())
        return;
    setSelectedLabel(QLocale().toString(vup->selectionCount()));
}

void VupAppDelegate::applicationPresenceChanged(bool running) {
    if (!vup)
        return;
    if (runUnderWay) {
        countsStale = true;
        if (running)
            ui->applicationHint->hide();
        else
            showLibraryCount(0, false);
        return;
    }
    picker->refresh(*vup);
    refreshCounts();
}

void VupAppDelegate::refreshCounts() {
    const bool running = vup->photoApplicationIsRunning();
    showLibraryCount(running ? vup->libraryCount() : 0, running);
    setSelectedLabel(QLocale().toString(running ? vup->selectionCount() : 0));
    checkServedLibrary();
}

void VupAppDelegate::checkServedLibrary() {
    FindingsView* view = findingsPresenter->view();
    const qint64 id = view->firstPhotoId();
    view->setServedLibrary(id >= 0 ? vup->libraryOfPhoto(id) : QString());
}

void VupAppDelegate::showLibraryCount(qint64 count, bool running) {
    // Grouped as the photo application shows it.
    setLibraryImageCount(QLocale().toString(count));
    ui->applicationHint->setText(
        running ? QString()
        : vup   ? VersionCheck::notRunningText(vup->application().displayName())
                : VersionCheck::notRunningText(PhotoApplications::name(PhotoApplications::Kind::PhotoApp)));
    ui->applicationHint->setVisible(!running);
}

void VupAppDelegate::recountLibrary(bool applicationLost) {
    // Counted on the run's thread, since the application may answer slowly; one the run lost is
    // asked nothing more.
    if (applicationLost || quitting.load())
        return;
    const bool running = vup->photoApplicationIsRunning();
    const qint64 count = running ? vup->libraryCount() : 0;
    // A run may have changed the selection too.
    const qint64 selected = running ? vup->selectionCount() : 0;
    MainThread::run(
        this,
        [this, count, running, selected] {
            showLibraryCount(count, running);
            setSelectedLabel(QLocale().toString(selected));
        },
        MainThread::Wait::No);
}

void VupAppDelegate::prepareToQuit() {
    quitting.store(true);
    setCancelled(true);
    assertion.releaseNow();
}

bool VupAppDelegate::waitForScanToEnd(int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    // The scan thread may be waiting for the main thread: keep serving it while waiting.
    while (scanThread && !scanThread->isFinished()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

// ---- actions ----

void VupAppDelegate::processSelection() {
    startScan(true, preview());
}

void VupAppDelegate::processLibrary() {
    startScan(false, preview());
}

void VupAppDelegate::previewSelection() {
    startScan(true, true);
}

void VupAppDelegate::previewLibrary() {
    startScan(false, true);
}

void VupAppDelegate::startScan(bool selection, bool dryRun) {
    // A second run would share the bridge's lists with the first and take a second assertion; the
    // last run's thread may still be counting the library for a moment after it ended.
    if (!vup || _nowProcessing.load() || quitting.load() || (scanThread && !scanThread->isFinished()))
        return;
    setSelectionMode(selection);
    vup->setDryRun(dryRun);
    findingsPresenter->runStarting(recoverZombies());
    prepareForRun();
    VupMode* engine = vup.get();
    QThread* thread = QThread::create([engine, this] {
        engine->vupScan(this);
        recountLibrary(engine->lastRun().outcome == ScanFindings::Outcome::Failed);
    });
    connect(thread, &QThread::finished, this, [this] { findingsPresenter->runEnded(vup->lastRun()); });
    startThread(thread);
}

void VupAppDelegate::actOnPreview(const FindingsTable::Summary& preview) {
    if (!vup || _nowProcessing.load() || quitting.load())
        return;
    if (preview.selectionMode) {
        QList<qint64> now = vup->selectedPhotoIds();
        QList<qint64> then = preview.previewedPhotos;
        std::sort(now.begin(), now.end());
        std::sort(then.begin(), then.end());
        if (now != then) {
            showAlert(tr(kSelectionChangedText).arg(vup->application().displayName()),
                      QCoreApplication::translate("Alert", kSelectionChanged));
            return;
        }
    }
    setAutoDelete(preview.deleteMode);
    setRecoverZombies(preview.recoverZombies);
    startScan(preview.selectionMode, false);
}

void VupAppDelegate::showInfo() {
    // The box tells the setting as it stands, however the panel was opened.
    infoUi->skipInfoCheck->setChecked(
        UserDefaults::standard().boolForKey(QString::fromLatin1(kSkipInfoScreenKey)));
    info->setWindowModality(Qt::WindowModal);
    DialogPlacement::placeOver(info, mainWindow.get());
    info->open();
}

void VupAppDelegate::dismissInfo() {
    endInfoSheet();
}

void VupAppDelegate::moreInfoButton() {
    if (const auto page = MainMenu::reachableAddress(BundleInfo::kProductPage))
        QDesktopServices::openUrl(QUrl(*page));
}

void VupAppDelegate::endInfoSheet() {
    if (info->isVisible())
        info->done(0);
}

// ---- run and window operations ----

void VupAppDelegate::prepareForRun() {
    // A cancel belongs to the run it was pressed in, not to every run after it.
    setCancelled(false);
    keywordsGivenUp.store(false);
    setNowProcessing(true);
    setCancellable(true);
    // The bar shows this run's progress only: one refused before any work ends empty.
    progress->setDoubleValue(0);
    progress->setIndeterminate(true);
    progress->startAnimation();
    assertion.create();
}

void VupAppDelegate::processingComplete() {
    setNowProcessing(false);
    assertion.release();
}

void VupAppDelegate::stopAnimation() {
    progress->stopAnimation();
    progress->setIndeterminate(false);
}

void VupAppDelegate::cfgProgressBarIndeterminate() {
    progress->setIndeterminate(true);
}
void VupAppDelegate::cfgProgressBarDeterminate() {
    progress->setIndeterminate(false);
}
void VupAppDelegate::cfgProgressBarMaxValue(double value) {
    progress->setMaxValue(value);
}
void VupAppDelegate::cfgProgressBarCurrentValue(double value) {
    progress->setDoubleValue(value);
}

// ---- alerts and prompts ----

QMessageBox* VupAppDelegate::buildAlert(const QString& text, const QString& title, QWidget* parent) {
    return MessageBox::create(alertKind(title), title, text, parent, {{tr(kOK), QMessageBox::AcceptRole}});
}

void VupAppDelegate::showAlert(const QString& text, const QString& title) {
    // The user quit: the window is going, and the run's end is in the log.
    if (quitting.load()) {
        vupLog(QString::fromLatin1(kAlertNotShown).arg(title, text));
        return;
    }
    // Never stacked on a question the user is answering.
    if (holdAlerts) {
        heldAlerts.append({title, text});
        return;
    }
    endInfoSheet();
    doAlertSheet(buildAlert(text, title, mainWindow.get()));
}

void VupAppDelegate::showHeldAlerts() {
    const auto held = std::exchange(heldAlerts, {});
    for (const auto& [title, text] : held)
        showAlert(text, title);
}

void VupAppDelegate::dropHeldAlerts() {
    const auto held = std::exchange(heldAlerts, {});
    for (const auto& [title, text] : held)
        vupLog(QString::fromLatin1(kAlertNotShown).arg(title, text));
}

void VupAppDelegate::doAlertSheet(QMessageBox* alert) {
    alert->setAttribute(Qt::WA_DeleteOnClose);
    alert->setWindowModality(Qt::WindowModal);
    alert->open();
}

void VupAppDelegate::showModalAlert(const QString& text, const QString& title) {
    // Nobody is left to answer while the application quits.
    if (quitting.load())
        return;
    // Never stacked on the quit question: the scan waits here for its answer, and after
    // "Stop and Quit" nobody needs the alert any more.
    if (quitQuestion && quitQuestion->isVisible()) {
        QEventLoop answered;
        connect(quitQuestion, &QDialog::finished, &answered, &QEventLoop::quit);
        // Whatever else takes the question away (the application quitting) ends the wait too.
        QTimer gone;
        connect(&gone, &QTimer::timeout, &answered, [this, &answered] {
            if (!quitQuestion || !quitQuestion->isVisible() || quitting.load())
                answered.quit();
        });
        gone.start(100);
        answered.exec();
        if (quitting.load())
            return;
        QAbstractButton* clicked = quitQuestion ? quitQuestion->clickedButton() : nullptr;
        if (clicked && quitQuestion->buttonRole(clicked) == QMessageBox::DestructiveRole)
            return;
    }
    QList<MessageBox::Choice> choices{{tr(kOK), QMessageBox::AcceptRole}};
    // The keyword alert comes back until the keywords exist: the user may give up instead.
    const bool keywords = title == KeywordVerification::kMissingKeywordsTitle;
    if (keywords)
        choices.append({tr(kCancelScan), QMessageBox::RejectRole});
    const int answer = MessageBox::ask(alertKind(title), title, text, mainWindow.get(), choices, 0);
    if (keywords && answer == 1)
        keywordsGivenUp.store(true);
}

void VupAppDelegate::askForReadAccess(const QString& path) {
    AccessPromptPanel panel(path, mainWindow.get());
    panel.run([this] { return quitting.load(); });
}
