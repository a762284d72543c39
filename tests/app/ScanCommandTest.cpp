#include "tests/app/ScanCommandTest.h"

#include "tests/scan/TestLibrary.h"
#include "tests/support/ProgramRun.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTest>

namespace {

ProgramRun vupScan(const QStringList& args) {
    return runProgram(QStringLiteral(VUP_EXECUTABLE), QStringList{QStringLiteral("scan")} + args);
}

// Every file below the folder with its size and modification time.
QStringList tree(const QString& folder) {
    QStringList entries;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo f(it.next());
        if (f.fileName().contains(QStringLiteral(".sqlite")))
            continue; // the catalogue is compared through its dump
        entries.append(QStringLiteral("%1 %2 %3")
                           .arg(f.filePath())
                           .arg(f.size())
                           .arg(f.lastModified().toMSecsSinceEpoch()));
    }
    entries.sort();
    return entries;
}

// A demo library with photos whose image is gone and photos whose master is gone.
bool makeDemo(TestLibrary& lib) {
    QFile::remove(lib.path() + QStringLiteral("/.keep"));
    QDir(lib.path()).removeRecursively();
    const QStringList counts =
        QStringLiteral("--photos 12 --missing-images 2 --missing-masters 1 --zombies 0").split(u' ');
    const PhotoAppProcess::Result r =
        PhotoAppProcess::run(QStringList{QStringLiteral("demo"), lib.path()} + counts);
    return r.exitCode == 0 && lib.addIssueKeywords();
}

} // namespace

void ScanCommandTest::badArguments_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    QTest::newRow("no mode") << QStringList{}
                             << QStringLiteral("choose exactly one of --library and --selection");
    QTest::newRow("both modes") << QStringList{QStringLiteral("--library"), QStringLiteral("--selection")}
                                << QStringLiteral("choose exactly one");
    QTest::newRow("unknown option") << QStringList{QStringLiteral("--library"), QStringLiteral("--fast")}
                                    << QStringLiteral("unknown option \"--fast\"");
    QTest::newRow("report without file")
        << QStringList{QStringLiteral("--library"), QStringLiteral("--report")}
        << QStringLiteral("--report needs a file name");
}

void ScanCommandTest::badArguments() {
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    const ProgramRun r = vupScan(args);
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY(r.err.contains(QStringLiteral("usage: vup scan")));
}

void ScanCommandTest::applicationNotRunning() {
    const ProgramRun r = vupScan({QStringLiteral("--library"), QStringLiteral("--yes")});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(QStringLiteral("the photo application is not running")), qPrintable(r.err));
}

void ScanCommandTest::libraryScanTagsAndPrintsSummary() {
    TestLibrary lib;
    QVERIFY(makeDemo(lib));
    QVERIFY(lib.serve());
    const ProgramRun r = vupScan({QStringLiteral("--library"), QStringLiteral("--yes")});
    QCOMPARE(r.exitCode, 0);
    for (const char* line :
         {"Loading Data", "Processing Images", "Tagging Items", "Processing Complete", "Success"})
        QVERIFY2(r.out.split(u'\n').contains(QString::fromLatin1(line)), qPrintable(r.out));
    QVERIFY(r.out.contains(QStringLiteral("Vup discovered 3 issues that were tagged or deleted")));
    // Not a terminal: progress as plain lines, ending at the photo count.
    QVERIFY(r.out.split(u'\n').contains(QStringLiteral("12/12")));
    QVERIFY(!r.out.contains(u'\r'));

    int missing = 0, masterMissing = 0;
    for (const QJsonValue& p : lib.dump().value(QStringLiteral("photos")).toArray()) {
        const QJsonArray k = p.toObject().value(QStringLiteral("keywords")).toArray();
        missing += k.contains(QStringLiteral("Vup Missing"));
        masterMissing += k.contains(QStringLiteral("Vup Master Missing"));
    }
    QCOMPARE(missing, 2);
    QCOMPARE(masterMissing, 1);
    lib.stop();
}

void ScanCommandTest::dryRunChangesNothing() {
    TestLibrary lib;
    QVERIFY(makeDemo(lib));
    QVERIFY(lib.serve());
    const QJsonObject before = lib.dump();
    const QStringList filesBefore = tree(lib.folder());
    const ProgramRun r = vupScan({QStringLiteral("--library"), QStringLiteral("--delete"),
                                  QStringLiteral("--dry-run"), QStringLiteral("--yes")});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out.count(QStringLiteral("would remove: ")), 2);
    QCOMPARE(r.out.count(QStringLiteral("would tag \"Vup Master Missing\": ")), 1);
    QVERIFY(r.out.contains(QStringLiteral("dry run: nothing was changed")));
    QCOMPARE(lib.dump(), before);
    QCOMPARE(tree(lib.folder()), filesBefore);
    lib.stop();
}

void ScanCommandTest::reportDescribesFindings() {
    TestLibrary lib;
    QVERIFY(makeDemo(lib));
    // One photo whose image path comes back as a missing value.
    const QJsonArray photos = lib.dump().value(QStringLiteral("photos")).toArray();
    const qint64 nulled = photos.first().toObject().value(QStringLiteral("id")).toInteger();
    QVERIFY(lib.faultPhoto(nulled, QStringLiteral("--null"), QStringLiteral("imagePath")));
    QVERIFY(lib.serve());
    const QString reportPath = lib.folder() + QStringLiteral("/report.json");
    const ProgramRun r = vupScan({QStringLiteral("--library"), QStringLiteral("--delete"),
                                  QStringLiteral("--yes"), QStringLiteral("--report"), reportPath});
    QCOMPARE(r.exitCode, 0);
    QFile file(reportPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QJsonObject report = QJsonDocument::fromJson(file.readAll()).object();
    QCOMPARE(report.value(QStringLiteral("outcome")).toString(), QStringLiteral("completed"));
    QCOMPARE(report.value(QStringLiteral("mode")).toString(), QStringLiteral("library"));
    QVERIFY(report.value(QStringLiteral("delete")).toBool());
    const QJsonObject counts = report.value(QStringLiteral("counts")).toObject();
    QCOMPARE(counts.value(QStringLiteral("photos")).toInt(), 12);
    QCOMPARE(counts.value(QStringLiteral("missingImage")).toInt(), 3);
    QCOMPARE(counts.value(QStringLiteral("missingMaster")).toInt(), 1);
    QCOMPARE(counts.value(QStringLiteral("issues")).toInt(), 4);
    QCOMPARE(counts.value(QStringLiteral("removed")).toInt(), 2);
    QCOMPARE(counts.value(QStringLiteral("zombies")).toInt(), 0);
    const QJsonArray listed = report.value(QStringLiteral("photos")).toArray();
    QCOMPARE(listed.size(), 4);
    bool sawNulled = false;
    for (const QJsonValue& v : listed) {
        const QJsonObject p = v.toObject();
        for (const char* key :
             {"position", "id", "imageFilename", "imagePath", "originalPath", "sets", "actions"})
            QVERIFY2(p.contains(QString::fromLatin1(key)), key);
        if (p.value(QStringLiteral("id")).toInteger() == nulled) {
            sawNulled = true;
            QVERIFY(p.value(QStringLiteral("imagePath")).isNull());
            QCOMPARE(p.value(QStringLiteral("position")).toInt(), 0);
            QCOMPARE(p.value(QStringLiteral("sets")).toArray(), QJsonArray{QStringLiteral("missingImage")});
            // Its file was never checked, so it was tagged rather than removed.
            QCOMPARE(p.value(QStringLiteral("actions")).toArray(),
                     QJsonArray{QStringLiteral("tagged Vup Missing")});
        }
    }
    QVERIFY(sawNulled);
    QVERIFY(report.value(QStringLiteral("zombies")).toArray().isEmpty());
    lib.stop();
}

void ScanCommandTest::refusedRunExitsWithOne() {
    TestLibrary lib;
    QVERIFY(lib.addPhoto(lib.writeFile(QStringLiteral("a.jpg"))));
    QVERIFY(lib.serve());
    const QString reportPath = lib.folder() + QStringLiteral("/refused.json");
    const ProgramRun r = vupScan({QStringLiteral("--selection"), QStringLiteral("--report"), reportPath});
    QCOMPARE(r.exitCode, 1);
    QVERIFY(r.out.contains(
        QStringLiteral("Unable To Process\nYou need to select the photos you want me to process")));
    QFile file(reportPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QJsonDocument::fromJson(file.readAll()).object().value(QStringLiteral("outcome")).toString(),
             QStringLiteral("nothing to process"));

    // A report that cannot be written is refused before anything is scanned.
    const ProgramRun noFolder = vupScan({QStringLiteral("--library"), QStringLiteral("--report"),
                                         lib.folder() + QStringLiteral("/no/such/folder/r.json")});
    QCOMPARE(noFolder.exitCode, 1);
    QVERIFY(!noFolder.out.contains(QStringLiteral("Loading Data")));
    lib.stop();
}
