#pragma once

#include "tests/support/DesktopServices.h"

#include <QObject>
#include <QTemporaryDir>
#include <QUrl>
#include <memory>

// The findings view in the main window: its model under Qt's model tester, the rows of real runs
// (a preview acted on, refused changes, a selection that changed since its preview), the CSV and
// JSON exports read back, Show in Folder through the file manager on the test bus, and the last
// run shown again at launch.
class FindingsTest : public QObject {
    Q_OBJECT
public slots:
    // Receives folders opened without a file manager.
    void openFolder(const QUrl& url) { openedFolders.append(url); }

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void modelSortsAndFilters();
    void runShowsEveryFinding_data();
    void runShowsEveryFinding();
    void exportsReadBack();
    void showInFolder_data();
    void showInFolder();
    void lastRunRestoredAtLaunch();

private:
    std::unique_ptr<QTemporaryDir> home;
    std::unique_ptr<DesktopServices> services;
    QList<QUrl> openedFolders;
};
