#pragma once

#include "tests/support/DesktopServices.h"

#include <QObject>
#include <QTemporaryDir>
#include <QUrl>
#include <memory>

// The main window under the offscreen platform: launch, labels and buttons while busy, the
// progress bar, the sheet and modal alerts, the info sheet and the access prompt, and scans
// started from the buttons against a served library.
class WindowTest : public QObject {
    Q_OBJECT
public slots:
    // Receives the product page instead of a browser.
    void openUrl(const QUrl& url) { openedUrls.append(url); }

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void launchWithoutApplication();
    void launchShowsCountsAndInfoSheet();
    void infoSheetButtons();
    void progressIndicator();
    void sheetAlertForm_data();
    void sheetAlertForm();
    void modalAlertWaitsForOK();
    void accessPromptAsksUntilOpen_data();
    void accessPromptAsksUntilOpen();
    void keyboard_data();
    void keyboard();
    void idleSleepAssertion_data();
    void idleSleepAssertion();
    void scanFromTheButtons();
    void libraryCountAfterRun();
    void cancelAppliesToOneRunOnly();
    void quitDuringScan_data();
    void quitDuringScan();
    void keywordAlertCancelScan_data();
    void keywordAlertCancelScan();
    void runWithoutDesktopServices();

private:
    std::unique_ptr<QTemporaryDir> config;
    std::unique_ptr<DesktopServices> services;
    QList<QUrl> openedUrls;
};
