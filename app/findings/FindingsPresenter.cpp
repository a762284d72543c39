/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "app/findings/FindingsPresenter.h"

#include "app/findings/FindingsView.h"
#include "platform/MainThread.h"
#include "platform/SystemLog.h"
#include "scan/report/FindingsCsv.h"
#include "scan/report/LastRunStore.h"
#include "scan/report/ScanFindingsJson.h"
#include "widgets/DialogPlacement.h"
#include "widgets/MessageBox.h"

#include <QBoxLayout>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QMessageBox>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTime>
#include <QWidget>

namespace {

constexpr QSize kRoomForFindings(960, 720);
const QString kCannotKeep = QStringLiteral("Cannot keep the findings of the last run in %1: %2");
const QString kCannotRestore = QStringLiteral("Cannot show the findings of the last run from %1: %2");
constexpr const char* kExportTitle = QT_TRANSLATE_NOOP("FindingsPresenter", "Export Report");
constexpr const char* kJsonFilter = QT_TRANSLATE_NOOP("FindingsPresenter", "JSON report (*.json)");
constexpr const char* kCsvFilter = QT_TRANSLATE_NOOP("FindingsPresenter", "CSV table (*.csv)");
constexpr const char* kDefaultName = QT_TRANSLATE_NOOP("FindingsPresenter", "Vup findings %1");
constexpr const char* kSaved = QT_TRANSLATE_NOOP("FindingsPresenter", "Report saved to %1");
constexpr const char* kNotSavedTitle = QT_TRANSLATE_NOOP("FindingsPresenter", "Could Not Save the Report");
constexpr const char* kNotSaved = QT_TRANSLATE_NOOP("FindingsPresenter", "Vup could not write %1: %2");
constexpr const char* kCheckedNothing = QT_TRANSLATE_NOOP(
    "FindingsPresenter", "The scan at %1 ended (%2) before it checked a photo; the findings "
                         "shown are from the run before.");

// A run refused, or stopped before it had read its photos, found nothing: what an earlier run
// found is still the best the window can show, and stays kept.
bool checkedNothing(const ScanFindings& f) {
    const bool photosRead = !f.photos.isEmpty() && f.paths.size() == f.photos.size();
    return !photosRead && f.zombies.isEmpty() && f.recovery.zombies.isEmpty() &&
           f.recovery.linksLeftAlone.isEmpty();
}

} // namespace

FindingsPresenter::FindingsPresenter(QWidget* w, QBoxLayout* layout, int index)
    : window(w), findingsView(new FindingsView(w)) {
    // One worker: the run's table, its keeping and the exports happen in the order asked.
    worker.setMaxThreadCount(1);
    findingsView->hide();
    layout->insertWidget(index, findingsView, 1);
    connect(findingsView, &FindingsView::exportRequested, this, &FindingsPresenter::chooseExport);
    connect(findingsView, &FindingsView::scanNowRequested, this,
            [this] { emit scanNowRequested(findingsView->summary()); });
}

FindingsPresenter::~FindingsPresenter() {
    worker.waitForDone();
}

void FindingsPresenter::runStarting(bool recoverZombies) {
    recoverZombiesAsked = recoverZombies;
}

void FindingsPresenter::runEnded(const ScanFindings& findings) {
    if (checkedNothing(findings)) {
        if (findingsView->isVisible())
            findingsView->setNote(tr(kCheckedNothing)
                                      .arg(QLocale().toString(QTime::currentTime(), QLocale::ShortFormat),
                                           findingsOutcomeShown(outcomeName(findings.outcome))));
        return;
    }
    const quint64 run = ++generation;
    const bool recoverZombies = recoverZombiesAsked;
    worker.start([this, run, findings, recoverZombies] {
        FindingsTable table = findingsTable(findings);
        table.summary.recoverZombies = recoverZombies;
        MainThread::run(
            this,
            [this, run, table, findings] {
                if (run == generation)
                    present(table, findings);
            },
            MainThread::Wait::No);
        QString why;
        if (!LastRunStore::save(table, findings, &why))
            vupLog(kCannotKeep.arg(LastRunStore::path(), why));
    });
}

void FindingsPresenter::restoreLastRun() {
    const quint64 run = generation;
    worker.start([this, run] {
        QString why;
        std::optional<FindingsTable> table = LastRunStore::load(&why);
        if (!why.isEmpty())
            vupLog(kCannotRestore.arg(LastRunStore::path(), why));
        if (!table)
            return;
        MainThread::run(
            this,
            [this, run, table = std::move(*table)] {
                if (run == generation)
                    present(table, std::nullopt);
            },
            MainThread::Wait::No);
    });
}

void FindingsPresenter::present(FindingsTable table, std::optional<ScanFindings> findings) {
    live = std::move(findings);
    findingsView->showTable(std::move(table));
    if (!findingsView->isVisible()) {
        findingsView->show();
        // The window was sized for its buttons: make room for the table, within the screen
        // with the window's frame.
        if (window && window->isVisible())
            DialogPlacement::resizeWithin(window, window->size().expandedTo(kRoomForFindings));
    }
    emit shown();
}

void FindingsPresenter::chooseExport() {
    const QString stamp = findingsView->summary().ended.toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    // Documents when there is such a folder, else home: never wherever Vup was started from.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QFileInfo(folder).isDir())
        folder = QDir::homePath();
    auto* dialog =
        new QFileDialog(window, tr(kExportTitle), QDir(folder).filePath(tr(kDefaultName).arg(stamp)),
                        tr(kJsonFilter) + QStringLiteral(";;") + tr(kCsvFilter));
    dialog->setObjectName(QStringLiteral("exportReportDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(QStringLiteral("json"));
    connect(dialog, &QFileDialog::filterSelected, dialog, [dialog](const QString& filter) {
        dialog->setDefaultSuffix(filter == tr(kCsvFilter) ? QStringLiteral("csv") : QStringLiteral("json"));
    });
    connect(dialog, &QFileDialog::fileSelected, this, [this, dialog](const QString& path) {
        // A name the user typed with its own ending says the form; otherwise the chosen type does.
        const QString suffix = QFileInfo(path).suffix().toLower();
        const bool csv =
            suffix == u"csv" || (suffix != u"json" && dialog->selectedNameFilter() == tr(kCsvFilter));
        exportReport(path, csv ? Format::Csv : Format::Json);
    });
    dialog->setWindowModality(Qt::WindowModal);
    DialogPlacement::placeOver(dialog, window);
    dialog->open();
}

void FindingsPresenter::exportReport(const QString& path, Format format) {
    const QList<Finding> rows = findingsView->rows();
    const QDateTime ended = findingsView->summary().ended;
    const QString application = findingsView->summary().application;
    const std::optional<ScanFindings> findings = live;
    worker.start([this, path, format, rows, ended, application, findings] {
        // The file is replaced only once it is whole: a failure leaves what was there.
        QSaveFile file(path);
        QString why;
        bool saved = file.open(QIODevice::WriteOnly);
        if (saved && format == Format::Csv)
            saved = writeFindingsCsv(file, rows, application);
        else if (saved && findings)
            saved = writeScanReport(file, *findings);
        else if (saved)
            saved = LastRunStore::copyReport(ended, file, &why);
        saved = saved && file.commit();
        if (!saved && why.isEmpty())
            why = file.errorString();
        MainThread::run(
            this,
            [this, path, saved, why] {
                if (saved) {
                    findingsView->setNote(tr(kSaved).arg(QDir::toNativeSeparators(path)));
                } else {
                    QMessageBox* alert = MessageBox::create(MessageBox::Kind::Critical, tr(kNotSavedTitle),
                                                            tr(kNotSaved).arg(path, why), window,
                                                            {{tr("OK"), QMessageBox::AcceptRole}});
                    alert->setAttribute(Qt::WA_DeleteOnClose);
                    alert->setWindowModality(Qt::WindowModal);
                    alert->open();
                }
                emit exported(saved, path);
            },
            MainThread::Wait::No);
    });
}
