/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "platform/IdleSleepAssertion.h"
#include "scan/engine/VupDelegate.h"
#include "scan/report/FindingsTable.h"

#include <QMutex>
#include <QPointer>
#include <QString>
#include <atomic>
#include <memory>

class FindingsPresenter;
class ApplicationPicker;
class QDBusServiceWatcher;
class QDialog;
class QMainWindow;
class QMessageBox;
class QThread;
class ProgressIndicator;
class VupMode;
class ZXNCrashReporterWindowController;

namespace Ui {
class MainWindow;
class InfoPanel;
} // namespace Ui

// The controller of the main window: launch, the observable state the window shows, starting
// scans on a scan thread, the idle-sleep assertion, and the delegate operations a run's door
// hands to the window (alerts, sheets and the access prompt among them).
class VupAppDelegate final : public VupDelegate {
    Q_OBJECT
    Q_PROPERTY(bool autoDelete READ autoDelete WRITE setAutoDelete NOTIFY autoDeleteChanged)
    Q_PROPERTY(bool recoverZombies READ recoverZombies WRITE setRecoverZombies NOTIFY recoverZombiesChanged)
    Q_PROPERTY(bool nowProcessing READ nowProcessing WRITE setNowProcessing NOTIFY nowProcessingChanged)
    Q_PROPERTY(bool selectionMode READ selectionMode WRITE setSelectionMode NOTIFY selectionModeChanged)
    Q_PROPERTY(bool cancelled READ cancelled WRITE setCancelled NOTIFY cancelledChanged)
    Q_PROPERTY(bool cancellable READ cancellable WRITE setCancellable NOTIFY cancellableChanged)
    Q_PROPERTY(bool preview READ preview WRITE setPreview NOTIFY previewChanged)
    Q_PROPERTY(QString statusLabel READ statusLabel WRITE setStatusLabel NOTIFY statusLabelChanged)
    Q_PROPERTY(QString selectedLabel READ selectedLabel WRITE setSelectedLabel NOTIFY selectedLabelChanged)
    Q_PROPERTY(QString libraryImageCount READ libraryImageCount WRITE setLibraryImageCount NOTIFY
                   libraryImageCountChanged)

public:
    static constexpr const char* kSkipInfoScreenKey = "skipInfoScreen";

    explicit VupAppDelegate(QObject* parent = nullptr);
    ~VupAppDelegate() override;

    // ---- observable state ----
    bool autoDelete() const override { return _autoDelete.load(); }
    void setAutoDelete(bool value);
    bool recoverZombies() const override { return _recoverZombies.load(); }
    void setRecoverZombies(bool value) override;
    bool nowProcessing() const { return _nowProcessing.load(); }
    void setNowProcessing(bool value);
    bool selectionMode() const override { return _selectionMode.load(); }
    void setSelectionMode(bool value);
    bool cancelled() const override { return _cancelled.load(); }
    void setCancelled(bool value);
    // The user pressed Cancel Scan in the keyword alert: the keyword check refuses the run.
    bool keywordsDeclined() const override { return keywordsGivenUp.load(); }
    // The user quit: a run that ends now has nobody to tell.
    bool userQuit() const override { return quitting.load(); }
    // Whether Cancel can still stop the running scan: false while it makes its changes.
    bool cancellable() const { return _cancellable.load(); }
    void setCancellable(bool value) override;
    // The scan buttons run previews: every check, nothing changed.
    bool preview() const { return _preview.load(); }
    void setPreview(bool value);
    QString statusLabel() const;
    void setStatusLabel(const QString& text) override;
    QString selectedLabel() const;
    void setSelectedLabel(const QString& text);
    QString libraryImageCount() const;
    void setLibraryImageCount(const QString& text);

    // ---- lifecycle, called by the application on the main thread ----
    void applicationDidFinishLaunching();
    void applicationDidBecomeActive();
    // The application is quitting: stop the run's loading, answer pending prompts at once and
    // release the assertion now rather than never.
    void prepareToQuit();
    // Waits, keeping the event loop turning, for a running scan thread to end. False on time-out.
    bool waitForScanToEnd(int timeoutMs);

    // ---- window actions ----
    void processSelection();
    void processLibrary();
    // A preview of either scan, whatever the Preview option says.
    void previewSelection();
    void previewLibrary();
    void showInfo();
    void dismissInfo();
    void moreInfoButton();

    // ---- run and window operations (main thread) ----
    void prepareForRun();
    void processingComplete() override;
    void stopAnimation() override;
    void cfgProgressBarIndeterminate() override;
    void cfgProgressBarDeterminate() override;
    void cfgProgressBarMaxValue(double value) override;
    void cfgProgressBarCurrentValue(double value) override;
    void askForReadAccess(const QString& path) override;

    // ---- alerts (main thread) ----
    void showAlert(const QString& text, const QString& title) override;
    void showModalAlert(const QString& text, const QString& title) override;
    void doAlertSheet(QMessageBox* alert);

    QMainWindow* window() const { return mainWindow.get(); }
    QDialog* infoPanel() const { return info; }
    const ProgressIndicator& progressIndicator() const { return *progress; }
    VupMode* engine() const { return vup.get(); }
    FindingsPresenter* findings() const { return findingsPresenter.get(); }
    // True while an idle-sleep assertion is held: from the service's answer until the run's end.
    bool holdsAssertion() const { return assertion.isHeld(); }
    const IdleSleepAssertion::Holder& idleSleepAssertion() const { return assertion; }
    // The crash report window opened at launch, while it lives.
    ZXNCrashReporterWindowController* reportWindow() const;

signals:
    void autoDeleteChanged(bool value);
    void recoverZombiesChanged(bool value);
    void nowProcessingChanged(bool value);
    void selectionModeChanged(bool value);
    void cancelledChanged(bool value);
    void cancellableChanged(bool value);
    void previewChanged(bool value);
    void statusLabelChanged(const QString& text);
    void selectedLabelChanged(const QString& text);
    void libraryImageCountChanged(const QString& text);
    // The scan thread of a run (or of a resumed recovery) has ended; emitted on the main thread.
    void scanEnded();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The constructor's parts, in the order they must run: the window and its dialogs, the
    // controls bound to the properties, the findings below the options, the applications watched.
    void buildWindow();
    void connectControls();
    void buildFindings();
    void watchApplications();
    void startScan(bool selection, bool dryRun);
    // "Scan Now" on a preview: the same kind of scan with the same options, for real.
    void actOnPreview(const FindingsTable::Summary& preview);
    // A zombie recovery an earlier run left unfinished is finished before anything else.
    void resumeInterruptedRecoveries();
    void updateCancelButton();
    void endInfoSheet();
    static QMessageBox* buildAlert(const QString& text, const QString& title, QWidget* parent);
    // Refreshes what the window says about the photo application: its library count, and a hint
    // when it is not running.
    void showLibraryCount(qint64 count, bool running);
    // A run (or a resumed recovery) may have added or removed photos: counts them again, on the
    // run's thread once the run has ended.
    void recountLibrary(bool applicationLost);
    // The photo application came or went on the bus: the counts and the hint follow at once, or,
    // while a run uses the application, once the run has ended.
    void applicationPresenceChanged(bool running);
    // Asks the application for both counts now (main thread, no run under way).
    void refreshCounts();
    // Tells the findings view which library the application has open, by asking where the
    // first photo it lists lies now.
    void checkServedLibrary();
    // Closing the main window ends the application: true when nothing the user typed or started
    // would be lost, or the user agreed.
    bool mayCloseWindow();
    // Asks whether to stop the running scan and quit; the question goes away by itself when the
    // run ends first. False when the user chose to go on.
    bool askToStopAndQuit();
    void startThread(QThread* thread);
    // Sheet alerts that arrived while a question was up are shown once it is answered, or
    // logged when the application quits.
    void showHeldAlerts();
    void dropHeldAlerts();

    std::unique_ptr<VupMode> vup;
    IdleSleepAssertion::Holder assertion;

    std::atomic<bool> _autoDelete{false};
    std::atomic<bool> _recoverZombies{false};
    std::atomic<bool> _nowProcessing{false};
    std::atomic<bool> _selectionMode{false};
    std::atomic<bool> _cancelled{false};
    std::atomic<bool> _cancellable{false};
    std::atomic<bool> _preview{false};
    mutable QMutex labelsMutex;
    QString _statusLabel;
    QString _selectedLabel;
    QString _libraryImageCount;

    std::atomic<bool> quitting{false};
    std::atomic<bool> keywordsGivenUp{false};
    // The user chose to stop the running scan and quit: the window closes once the scan ends.
    bool quitOnceStopped = false;
    QPointer<QThread> scanThread;
    // Main thread only: from a scan thread's start until its end reached the main thread.
    bool runUnderWay = false;
    bool holdAlerts = false;
    QPointer<QMessageBox> quitQuestion; // open while the user is asked whether to stop and quit
    bool countsStale = false;           // the application came or went while a run was under way
    std::unique_ptr<QDBusServiceWatcher> presence;
    ApplicationPicker* picker = nullptr;           // owned by the main window
    QList<std::pair<QString, QString>> heldAlerts; // title, text

    std::unique_ptr<QMainWindow> mainWindow;
    std::unique_ptr<Ui::MainWindow> ui;
    std::unique_ptr<Ui::InfoPanel> infoUi;
    QDialog* info = nullptr; // owned by the main window
    QPointer<ZXNCrashReporterWindowController> report;
    std::unique_ptr<ProgressIndicator> progress;
    std::unique_ptr<FindingsPresenter> findingsPresenter;
};
