/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "app/VupAppDelegate.h"
#include "app/findings/FindingsFilter.h"
#include "app/findings/FindingsModel.h"
#include "app/findings/FindingsPresenter.h"
#include "app/findings/FindingsView.h"
#include "platform/FileManagerService.h"
#include "platform/UserDefaults.h"
#include "scan/report/LastRunStore.h"
#include "scan/report/ScanFindings.h"
#include "tests/support/Alerts.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/DesktopServices.h"
#include "tests/support/FileTree.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TestLibrary.h"
#include "tests/support/TestMain.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLocale>
#include <QMainWindow>
#include <QMessageBox>
#include <QMimeData>
#include <QObject>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <memory>
#include <unistd.h>

namespace {

using Kind = Finding::Kind;

// The records of an RFC 4180 text, read independently of the writer.
QList<QByteArrayList> parseCsv(const QByteArray& text) {
    QList<QByteArrayList> records;
    QByteArrayList record;
    QByteArray field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (quoted) {
            if (c == '"' && text.mid(i + 1, 1) == "\"")
                field += text.at(++i);
            else if (c == '"')
                quoted = false;
            else
                field += c;
        } else if (c == '"' && field.isEmpty()) {
            quoted = true;
        } else if (c == ',') {
            record.append(std::exchange(field, {}));
        } else if (c == '\r' && text.mid(i + 1, 1) == "\n") {
            record.append(std::exchange(field, {}));
            records.append(std::exchange(record, {}));
            ++i;
        } else {
            field += c;
        }
    }
    return records;
}

FindingsView* viewOf(const VupAppDelegate& c) {
    return c.findings()->view();
}

void launch(VupAppDelegate& c) {
    UserDefaults::standard().setBool(QStringLiteral("skipInfoScreen"), true);
    c.window()->show();
    c.applicationDidFinishLaunching();
}

// Starts a run and waits until its findings are on screen; its closing alert is dismissed.
bool runToFindings(VupAppDelegate& c, const std::function<void()>& start) {
    QSignalSpy shown(c.findings(), &FindingsPresenter::shown);
    start();
    if (!QTest::qWaitFor([&] { return !shown.isEmpty(); }, 60000) || !c.waitForScanToEnd(10000))
        return false;
    if (!waitForAlert(c.window()))
        return false;
    dismissAlerts(c.window());
    return true;
}

// "kind: action" of every row, sorted; an album's stamp is left out.
QStringList describe(const FindingsView& v) {
    QStringList rows;
    for (const Finding& f : v.rows())
        rows.append(findingKindName(f.kind) + QStringLiteral(": ") +
                    QString(f.action).replace(QRegularExpression(QStringLiteral("Vup Zombies [^\"]+")),
                                              QStringLiteral("Vup Zombies")));
    rows.sort();
    return rows;
}

const Finding* firstOf(const FindingsView& v, Kind kind) {
    for (const Finding& f : v.rows()) {
        if (f.kind == kind)
            return &f;
    }
    return nullptr;
}

// The picture shown for a finding once its decoding is done; a placeholder is see-through at
// its corner, a photo is not.
std::optional<bool> showsPhoto(const FindingsView& v, const Finding* f) {
    const int row = int(f - v.rows().constData());
    const QModelIndex index = v.model()->index(row, FindingsModel::Picture);
    QVariant picture;
    if (!QTest::qWaitFor([&] { return (picture = index.data(Qt::DecorationRole)).isValid(); }, 10000))
        return std::nullopt;
    return picture.value<QPixmap>().toImage().pixelColor(0, 0).alpha() != 0;
}

FindingsTable handMadeTable(const QList<QByteArray>& files) {
    FindingsTable table;
    table.summary.outcome = QStringLiteral("completed");
    table.summary.ended = QDateTime::currentDateTime();
    for (const QByteArray& file : files) {
        Finding f;
        f.kind = Kind::Zombie;
        f.aboutMaster = true;
        f.native = file;
        f.masterPath = f.imagePath = QFile::decodeName(file);
        f.fileName = f.masterPath.section(u'/', -1);
        table.rows.append(f);
    }
    return table;
}

} // namespace

// The findings view in the main window: its model under Qt's model tester, the rows of real runs
// (a preview acted on, refused changes, a selection that changed since its preview), the CSV and
// JSON exports read back, Show in Folder through the file manager on the test bus, and the last
// run shown again at launch.
class tst_Findings : public QObject {
    Q_OBJECT
public slots:
    // Receives folders opened without a file manager.
    void openFolder(const QUrl& url) { openedFolders.append(url); }

private:
    std::unique_ptr<QTemporaryDir> home;
    std::unique_ptr<DesktopServices> services;
    QList<QUrl> openedFolders;

private slots:
    void initTestCase() {
        services = std::make_unique<DesktopServices>();
        QVERIFY(services->start(true, true, true));
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "openFolder");
    }

    void init() {
        // Each case starts with no defaults and no kept run.
        home = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", home->filePath(QStringLiteral("config")).toUtf8());
        qputenv("XDG_STATE_HOME", home->filePath(QStringLiteral("state")).toUtf8());
        UserDefaults::standard().reload();
        openedFolders.clear();
    }

    void cleanupTestCase() {
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        services.reset();
    }

    void modelSortsAndFilters() {
        FindingsView view;
        for (QAbstractItemModel* model : {static_cast<QAbstractItemModel*>(view.model()),
                                          static_cast<QAbstractItemModel*>(view.filter())})
            new QAbstractItemModelTester(model, QAbstractItemModelTester::FailureReportingMode::QtTest,
                                         &view);
        FindingsTable table;
        const QList<std::tuple<Kind, const char*, const char*>> rows{
            {Kind::ImageMissing, "b.jpg", "tagged \"Vup Missing\""},
            {Kind::Zombie, "C.jpg", "put back"},
            {Kind::Unchecked, "a.jpg", "left alone"},
            {Kind::MasterMissing, "d.jpg", "tagged \"Vup Master Missing\""},
        };
        for (const auto& [kind, name, action] : rows) {
            Finding f;
            f.kind = kind;
            f.fileName = QString::fromLatin1(name);
            f.imagePath = f.masterPath = QStringLiteral("/gone/") + f.fileName;
            f.action = QString::fromLatin1(action);
            table.rows.append(f);
        }
        table.rows[2].reason =
            QStringLiteral("its image file /gone/a.jpg cannot be looked at: Permission denied");
        view.showTable(table);
        const auto column = [&](int c) {
            QStringList cells;
            for (int r = 0; r < view.filter()->rowCount(); ++r)
                cells.append(view.filter()->index(r, c).data().toString());
            return cells;
        };

        view.table()->sortByColumn(FindingsModel::FileName, Qt::AscendingOrder);
        QCOMPARE(column(FindingsModel::FileName), (QStringList{"a.jpg", "b.jpg", "C.jpg", "d.jpg"}));
        view.table()->sortByColumn(FindingsModel::Issue, Qt::DescendingOrder);
        QCOMPARE(column(FindingsModel::Issue),
                 (QStringList{"zombie", "unchecked", "master missing", "image missing"}));
        view.filter()->setKind(Kind::Zombie);
        QCOMPARE(column(FindingsModel::FileName), QStringList{"C.jpg"});
        view.filter()->setKind(std::nullopt);
        view.filter()->setText(QStringLiteral("PERMISSION"));
        QCOMPARE(column(FindingsModel::FileName), QStringList{"a.jpg"});
        view.filter()->setText(QStringLiteral("master"));
        QCOMPARE(column(FindingsModel::FileName), QStringList{"d.jpg"});
        view.filter()->setText({});
        view.showTable({});
        QCOMPARE(view.filter()->rowCount(), 0);
    }

    void runShowsEveryFinding_data() {
        QTest::addColumn<QString>("library"); // what the library holds
        QTest::addColumn<QStringList>("previewed");
        QTest::addColumn<QStringList>("acted"); // empty: Scan Now must refuse
        QTest::newRow("delete mode, zombies")
            << QStringLiteral("delete")
            << QStringList{"image missing: would remove",
                           "image missing: would remove",
                           "image missing: would tag \"Vup Missing\"",
                           "master missing: would tag \"Vup Master Missing\"",
                           "zombie: would be re-added",
                           "zombie: would be re-added"}
            << QStringList{"image missing: removed",
                           "image missing: removed",
                           "image missing: tagged \"Vup Missing\"",
                           "master missing: tagged \"Vup Master Missing\"",
                           "zombie: re-added to album \"Vup Zombies\"",
                           "zombie: re-added to album \"Vup Zombies\""};
        QTest::newRow("tags refused, unchecked photo")
            << QStringLiteral("refusing application")
            << QStringList{"image missing: would tag \"Vup Missing\"",
                           "image missing: would tag \"Vup Missing\"",
                           "master missing: would tag \"Vup Master Missing\"", "unchecked: left alone"}
            << QStringList{"change refused: not tagged \"Vup Master Missing\"",
                           "change refused: not tagged \"Vup Missing\"",
                           "change refused: not tagged \"Vup Missing\"", "unchecked: left alone"};
        QTest::newRow("selection changed since the preview")
            << QStringLiteral("selection") << QStringList{"image missing: would tag \"Vup Missing\""}
            << QStringList{};
    }

    // A preview from the window changes nothing and lists what a run would do; Scan Now then does
    // it with the preview's own options, and the view lists what was done.
    void runShowsEveryFinding() {
        QFETCH(QString, library);
        QFETCH(QStringList, previewed);
        QFETCH(QStringList, acted);
        const bool deleting = library == u"delete";
        const bool selection = library == u"selection";
        TestLibrary lib;
        QVERIFY(lib.demo(12, 2, 1, deleting ? 2 : 0));
        QVERIFY(lib.addIssueKeywords());
        if (library == u"refusing application") {
            for (const QJsonValue& photo : lib.dump().value(QStringLiteral("photos")).toArray())
                QVERIFY(lib.faultPhoto(photo.toObject().value(QStringLiteral("id")).toInteger(),
                                       QStringLiteral("--refuse-changes")));
        }
        const qint64 healthy = lib.firstPhotoWhoseImageIs(true);
        const qint64 missing = lib.firstPhotoWhoseImageIs(false);
        // A photo whose image path is a missing value is tagged, not removed; one whose properties
        // cannot be read is left alone (and keeps zombie detection from running).
        if (deleting)
            QVERIFY(lib.faultPhoto(healthy + 1, QStringLiteral("--null"), QStringLiteral("imagePath")));
        else if (!selection)
            QVERIFY(lib.faultPhoto(healthy, QStringLiteral("--fail-properties")));
        if (selection)
            QVERIFY(lib.selectPhotos({healthy, missing}));
        QVERIFY(lib.serve());
        const QJsonObject before = lib.dump();

        VupAppDelegate c;
        launch(c);
        c.setAutoDelete(deleting);
        c.setRecoverZombies(deleting);
        c.setPreview(true);
        const char* start = selection ? "processSelectionButton" : "processLibraryButton";
        QVERIFY(runToFindings(
            c, [&] { c.window()->findChild<QPushButton*>(QString::fromLatin1(start))->click(); }));
        FindingsView* view = viewOf(c);
        QVERIFY(view->isVisible());
        QCOMPARE(describe(*view), previewed);
        QVERIFY(view->summary().dryRun);
        // The library the run looked at is named, and the headline is not of another library.
        QCOMPARE(view->summary().library, lib.path());
        QVERIFY(view->findChild<QLabel*>(QStringLiteral("findingsHeadline"))->text().startsWith(u"Preview"));
        QCOMPARE(lib.dump(), before);
        if (const Finding* master = firstOf(*view, Kind::MasterMissing)) {
            // Its edited image is there; the image of a photo whose image is missing is not.
            QCOMPARE(showsPhoto(*view, master), std::optional(true));
            QCOMPARE(showsPhoto(*view, firstOf(*view, Kind::ImageMissing)), std::optional(false));
        }

        // Scan Now repeats the preview's options, not what the window says by now.
        c.setAutoDelete(false);
        c.setRecoverZombies(false);
        c.setPreview(true);
        auto* scanNow = view->findChild<QPushButton*>(QStringLiteral("scanNowButton"));
        QVERIFY(scanNow->isVisible() && scanNow->isEnabled());
        if (acted.isEmpty()) {
            QVERIFY(lib.selectPhotos({healthy}));
            scanNow->click();
            QTRY_COMPARE(shownAlerts(c.window()).size(), 1);
            QCOMPARE(shownAlerts(c.window()).first()->text(), QStringLiteral("Selection Changed"));
            QVERIFY(!c.nowProcessing());
            QCOMPARE(describe(*view), previewed);
            QCOMPARE(lib.dump().value(QStringLiteral("photos")), before.value(QStringLiteral("photos")));
        } else {
            QVERIFY(runToFindings(c, [&] { scanNow->click(); }));
            QCOMPARE(describe(*view), acted);
            QVERIFY(!view->summary().dryRun);
            QVERIFY(!scanNow->isVisible());
            for (const Finding& f : view->rows()) {
                if (f.kind == Kind::ChangeRefused || f.kind == Kind::Unchecked)
                    QVERIFY2(!f.reason.isEmpty(), qPrintable(f.action));
                // The path shown is that of the file that is gone, not of the edited image left.
                if (f.kind == Kind::ChangeRefused)
                    QVERIFY2(!QFile::exists(f.path()), qPrintable(f.path()));
                // A re-added zombie shows the library's copy, not a crossed-out frame.
                if (f.kind == Kind::Zombie)
                    QCOMPARE(showsPhoto(*view, &f), std::optional(true));
            }
        }
    }

    void headlineTellsTheOutcome_data() {
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<bool>("preview");
        QTest::addColumn<QString>("language"); // empty: the source language
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("action"); // how the table shows the action `tagged "Vup Missing"`
        const QString library = QStringLiteral("Library scan of /p/Family.photolibrary, %1: ");
        const QString preview = QStringLiteral("Preview of a library scan of /p/Family.photolibrary, %1: ");
        const QString tagged = QStringLiteral("tagged \"Vup Missing\"");
        QTest::newRow("completed") << "completed" << false << QString()
                                   << library + "completed · 3 issues tagged or removed" << tagged;
        QTest::newRow("failed") << "failed" << false << QString()
                                << library + "failed · 3 issues tagged or removed" << tagged;
        QTest::newRow("completed preview")
            << "completed" << true << QString()
            << preview + "completed · 3 issues would be tagged or removed · nothing was changed" << tagged;
        QTest::newRow("cancelled preview")
            << "cancelled" << true << QString()
            << preview + "cancelled · 3 issues found before it stopped · nothing was changed" << tagged;
        QTest::newRow("completed, German")
            << "completed" << false << QStringLiteral("de")
            << QStringLiteral("Bibliotheksprüfung von /p/Family.photolibrary, %1: abgeschlossen · 3 Probleme "
                              "markiert oder entfernt")
            << QStringLiteral("mit „Vup Missing“ markiert");
    }

    // Every headline says in words how the run ended and which library it looked at: counts alone
    // would read as success. Rows and report keep English; the view translates as it shows them.
    void headlineTellsTheOutcome() {
        QFETCH(QString, outcome);
        QFETCH(bool, preview);
        QFETCH(QString, language);
        QFETCH(QString, expected);
        QFETCH(QString, action);
        QTranslator translator;
        QVERIFY(translateInto(translator, language));
        FindingsTable::Summary s;
        s.outcome = outcome;
        s.dryRun = preview;
        s.library = QStringLiteral("/p/Family.photolibrary");
        s.ended = QDateTime::currentDateTime();
        s.changes = 3;
        QCOMPARE(findingsHeadline(s), expected.arg(QLocale().toString(s.ended, QLocale::ShortFormat)));
        QCOMPARE(findingTextShown(QStringLiteral("tagged \"Vup Missing\"")), action);
        QCOMPARE(findingTextShown(QString::fromLatin1(ScanFindings::kChangeNotConfirmed)),
                 language.isEmpty() ? QStringLiteral("darktable did not confirm it")
                                    : QStringLiteral("darktable hat es nicht bestätigt"));
    }

    // Both exports read back hold every finding with its names exactly as shown, quotes, commas and
    // line breaks included; names that are not UTF-8 keep their bytes in the CSV table and appear as
    // U+FFFD in the JSON report. The terminal writes the same table.
    void exportsReadBack() {
        TestLibrary lib;
        const QString tricky = QStringLiteral("he said \"hi\", then\nleft.jpg");
        const QString gone = lib.path() + QStringLiteral("/Masters/Gone/") + tricky;
        QVERIFY(lib.addPhoto(gone));
        const QByteArray notUtf8 = lib.addZombie("Extra/caf\xe9 \xff.jpg");
        const QByteArray comma = lib.addZombie("Extra/one, \"two\".jpg");
        QVERIFY(!notUtf8.isEmpty() && !comma.isEmpty());
        QVERIFY(lib.serve());

        VupAppDelegate c;
        launch(c);
        c.setRecoverZombies(true);
        QVERIFY(runToFindings(c, [&] { c.previewLibrary(); }));
        const QList<Finding> rows = viewOf(c)->rows();
        QCOMPARE(rows.size(), 3);

        QSignalSpy exported(c.findings(), &FindingsPresenter::exported);
        const QString csvPath = lib.folder() + QStringLiteral("/findings.csv");
        const QString jsonPath = lib.folder() + QStringLiteral("/findings.json");
        c.findings()->exportReport(csvPath, FindingsPresenter::Format::Csv);
        c.findings()->exportReport(jsonPath, FindingsPresenter::Format::Json);
        QTRY_COMPARE(exported.size(), 2);
        QVERIFY(exported.at(0).at(0).toBool() && exported.at(1).at(0).toBool());

        const QList<QByteArrayList> records = parseCsv(FileTree::read(csvPath));
        QCOMPARE(records.size(), rows.size() + 1);
        QCOMPARE(records.first().join(','),
                 QByteArray("kind,position,id,file name,image path,master path,action,reason,application"));
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const Finding& f = rows.at(i);
            const QByteArrayList& r = records.at(i + 1);
            QCOMPARE(r.size(), 9);
            QCOMPARE(r.at(0), findingKindName(f.kind).toUtf8());
            QCOMPARE(r.at(1), f.position < 0 ? QByteArray() : QByteArray::number(f.position));
            QCOMPARE(r.at(5), f.native.isEmpty() ? f.masterPath.toUtf8() : f.native);
            QCOMPARE(r.at(6), f.action.toUtf8());
            QCOMPARE(r.at(8), QByteArray("photoapp"));
        }
        QCOMPARE(records.at(1).at(3), tricky.toUtf8());
        QCOMPARE(records.at(1).at(4), gone.toUtf8());
        const auto listed = [&](const QByteArray& path) {
            return std::any_of(records.cbegin(), records.cend(),
                               [&](const QByteArrayList& r) { return r.at(5) == path; });
        };
        QVERIFY(listed(comma) && listed(notUtf8));

        const QJsonObject report = QJsonDocument::fromJson(FileTree::read(jsonPath)).object();
        QVERIFY(report.value(QStringLiteral("dryRun")).toBool());
        const QJsonArray photos = report.value(QStringLiteral("photos")).toArray();
        QCOMPARE(photos.size(), 1);
        QCOMPARE(photos.first()[QStringLiteral("imageFilename")].toString(), tricky);
        QStringList zombies = report.value(QStringLiteral("zombies")).toVariant().toStringList();
        zombies.sort();
        QCOMPARE(zombies, (QStringList{QFile::decodeName(notUtf8), QFile::decodeName(comma)}));
        QVERIFY(QFile::decodeName(notUtf8).contains(QChar(0xFFFD)));

        // `vup scan --report FILE.csv` on the same library writes the same table.
        const QString terminalCsv = lib.folder() + QStringLiteral("/terminal.CSV");
        const ProgramRun r = runProgram(QStringLiteral(VUP_EXECUTABLE),
                                        {QStringLiteral("scan"), QStringLiteral("--library"),
                                         QStringLiteral("--recover-zombies"), QStringLiteral("--dry-run"),
                                         QStringLiteral("--yes"), QStringLiteral("--report"), terminalCsv});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(FileTree::read(terminalCsv), FileTree::read(csvPath));

        // A report that cannot be written says so, and leaves nothing behind.
        const QString nowhere = csvPath + QStringLiteral("/inside-a-file.csv");
        c.findings()->exportReport(nowhere, FindingsPresenter::Format::Csv);
        QTRY_COMPARE(exported.size(), 3);
        QVERIFY(!exported.last().at(0).toBool());
        QTRY_COMPARE(shownAlerts(c.window()).size(), 1);
        QCOMPARE(shownAlerts(c.window()).first()->text(), QStringLiteral("Could Not Save the Report"));
        QVERIFY(shownAlerts(c.window()).first()->informativeText().contains(nowhere));
        QVERIFY(!QFile::exists(nowhere));
    }

    void showInFolder_data() {
        QTest::addColumn<bool>("fileThere");
        QTest::addColumn<bool>("fileManager");
        QTest::addColumn<QString>("request"); // empty: the folder opened without a file manager
        QTest::newRow("file there") << true << true << QStringLiteral("ShowItems");
        QTest::newRow("file gone") << false << true << QStringLiteral("ShowFolders");
        QTest::newRow("no file manager") << true << false << QString();
    }

    // The file manager shows the file highlighted when it is there and its nearest folder when it is
    // gone; names need not be UTF-8. Without one, the folder opens as any folder does.
    void showInFolder() {
        QFETCH(bool, fileThere);
        QFETCH(bool, fileManager);
        QFETCH(QString, request);
        const QByteArray folder = QFile::encodeName(home->path());
        const QByteArray file =
            fileThere ? folder + "/photo \xe9 #1.jpg" : folder + "/gone\xff/deeper/photo.jpg";
        if (fileThere)
            QVERIFY(FileTree::write(file, "photo"));
        if (!fileManager)
            QVERIFY(services->start(true, true, false));
        const qsizetype before = services->fileManagerRequests().size();

        FindingsView view;
        view.showTable(handMadeTable({file}));
        view.show();
        view.table()->selectRow(0);
        view.findChild<QPushButton*>(QStringLiteral("showInFolderButton"))->click();
        const QString expected = FileManagerService::fileUri(fileThere ? file : folder);
        if (fileManager) {
            QTRY_COMPARE(services->fileManagerRequests().size(), before + 1);
            const DesktopServices::FileManagerRequest asked = services->fileManagerRequests().last();
            QCOMPARE(asked.method, request);
            QCOMPARE(asked.uris, QStringList{expected});
        } else {
            QTRY_COMPARE(openedFolders.size(), 1);
            QCOMPARE(openedFolders.first().toEncoded(), FileManagerService::fileUri(folder).toLatin1());
            QVERIFY(services->start(true, true, true));
        }

        // Copy Path hands on the same address, and the path as text.
        view.findChild<QPushButton*>(QStringLiteral("copyPathButton"))->click();
        const QMimeData* copied = QApplication::clipboard()->mimeData();
        QVERIFY(copied);
        QCOMPARE(copied->data(QStringLiteral("text/uri-list")),
                 FileManagerService::fileUri(file).toLatin1() + "\r\n");
        QCOMPARE(copied->text(), QFile::decodeName(file));
        ::unlink(file.constData()); // QDir cannot name it to remove it
    }

    // The findings of the last run come back at the next launch, with the report they were kept
    // with; a run that checked nothing leaves them shown. Another library open in the photo
    // application by then is named, and their preview cannot be acted on. A kept file that cannot
    // be read, or is of another version, is told in the log and left as it is.
    void lastRunRestoredAtLaunch() {
        TestLibrary lib;
        QVERIFY(lib.demo(2, 0, 0, 0));
        ScanFindings run;
        run.outcome = ScanFindings::Outcome::Completed;
        run.dryRun = true;
        // A photo the photo application knows, with a path in another library.
        run.unchecked = {
            {0, lib.firstPhotoWhoseImageIs(true), QStringLiteral("its properties could not be read")}};
        run.paths = run.originals = {QStringLiteral("/elsewhere/Other.photolibrary/Masters/a.jpg")};
        run.zombies = {"/elsewhere/Other.photolibrary/Masters/a, b.jpg",
                       "/elsewhere/Other.photolibrary/Masters/caf\xe9.jpg"};
        run.summary = QStringLiteral("2 zombies would be re-added to your library.");
        const QString liveReport = home->filePath(QStringLiteral("live.json"));
        const QString restoredReport = home->filePath(QStringLiteral("restored.json"));
        QString headline;
        QList<QByteArray> files;
        {
            VupAppDelegate c;
            launch(c);
            QVERIFY(!viewOf(c)->isVisible());
            QSignalSpy shown(c.findings(), &FindingsPresenter::shown);
            QSignalSpy exported(c.findings(), &FindingsPresenter::exported);
            c.findings()->runEnded(run);
            QTRY_COMPARE(shown.size(), 1);
            // The worker keeps the run before it writes the export asked after it.
            c.findings()->exportReport(liveReport, FindingsPresenter::Format::Json);
            QTRY_COMPARE(exported.size(), 1);
            headline = viewOf(c)->findChild<QLabel*>(QStringLiteral("findingsHeadline"))->text();
            c.findings()->runEnded(ScanFindings{}); // refused before it read a photo
            QTest::qWait(100);
            for (const Finding& f : viewOf(c)->rows())
                files.append(f.native);
        }
        QCOMPARE(files, QList<QByteArray>{QByteArray()} + run.zombies);
        QVERIFY(lib.serve());
        {
            VupAppDelegate next;
            launch(next);
            QTRY_VERIFY(viewOf(next)->isVisible());
            QList<QByteArray> restored;
            for (const Finding& f : viewOf(next)->rows())
                restored.append(f.native);
            QCOMPARE(restored, files);
            QTRY_COMPARE(viewOf(next)->findChild<QLabel*>(QStringLiteral("findingsHeadline"))->text(),
                         QStringLiteral("Not the library the photo application has open now. ") + headline);
            auto* scanNow = viewOf(next)->findChild<QPushButton*>(QStringLiteral("scanNowButton"));
            QVERIFY(scanNow->isVisible() && !scanNow->isEnabled());
            QSignalSpy exported(next.findings(), &FindingsPresenter::exported);
            next.findings()->exportReport(restoredReport, FindingsPresenter::Format::Json);
            QTRY_COMPARE(exported.size(), 1);
            QCOMPARE(FileTree::read(restoredReport), FileTree::read(liveReport));
        }

        // A file of a later version, and one whose first length reaches far beyond its end.
        const QByteArray kept = FileTree::read(LastRunStore::path());
        for (const auto& [at, bytes] :
             {std::pair(4, QByteArray("\0\0\0\x63", 4)), std::pair(8, QByteArray("\x7f\xff\xff\xff"))}) {
            const QByteArray damaged = QByteArray(kept).replace(at, 4, bytes);
            QVERIFY(FileTree::write(LastRunStore::path(), damaged));
            LogCapture log;
            {
                VupAppDelegate next;
                launch(next);
                QTRY_COMPARE(
                    log.linesStartingWith(QStringLiteral("Cannot show the findings of the last run")).size(),
                    1);
                QVERIFY(!viewOf(next)->isVisible());
            }
            QCOMPARE(FileTree::read(LastRunStore::path()), damaged);
        }
    }
};

VUP_TEST_MAIN_GUI(tst_Findings)
#include "tst_findings.moc"
