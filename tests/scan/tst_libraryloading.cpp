/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "bridge/iPhotoTypes.h"
#include "scan/engine/SBUtils.h"
#include "scan/engine/ScanDoor.h"
#include "tests/support/LogCapture.h"
#include "tests/support/RecordingDelegate.h"
#include "tests/support/TestLibrary.h"
#include "tests/support/TestMain.h"

#include <QFile>
#include <QObject>
#include <QTest>

namespace {

QList<double> progressValues(const RecordingDelegate& d) {
    QList<double> values;
    for (const DelegateCall& c : d.calls(QStringLiteral("cfgProgressBarCurrentValue")))
        values.append(c.value.toDouble());
    return values;
}

const QStringList kAllEight{QStringLiteral("Invalid Properties"), QStringLiteral("Invalid Filename"),
                            QStringLiteral("Invalid Path"),       QStringLiteral("Invalid Path"),
                            QStringLiteral("Invalid Date"),       QStringLiteral("Invalid ID"),
                            QStringLiteral("Invalid Height"),     QStringLiteral("Invalid Width")};

} // namespace

// The bridge's loading of the image property lists, issue log and report, and tagging.
class tst_LibraryLoading : public QObject {
    Q_OBJECT
private slots:
    void emptyPhotoList() {
        LogCapture log;
        SBUtils sb;
        RecordingDelegate d;
        ScanDoor door(&d);
        QVERIFY(sb.loadData({}, door.loadCalls()));
        QVERIFY(sb.filenameList().isEmpty() && sb.pathList().isEmpty() && sb.sizeList().isEmpty());
        QCOMPARE(d.calls(QStringLiteral("cfgProgressBarMaxValue")).first().value.toDouble(), 0.0);
        QCOMPARE(progressValues(d), QList<double>{0.0});
        QCOMPARE(log.lines(), (QStringList{QStringLiteral("Building Lists"),
                                           QStringLiteral("Found 0 images with issues")}));
    }

    void listsPlaceholdersAndIssues_data() {
        QTest::addColumn<int>("inFlight");
        QTest::newRow("one request at a time") << 1;
        // Fewer than the photos: answers are taken while the requests of later photos are out.
        QTest::newRow("two on their way") << 2;
        QTest::newRow("every request on its way") << SBUtils::kDefaultRequestsInFlight;
    }

    // One library holding each way a photo's properties can come back. However many requests are on
    // their way at once, the lists, the issue log and its report are those of one request at a time.
    void listsPlaceholdersAndIssues() {
        QFETCH(int, inFlight);
        TestLibrary lib;
        const QString image0 = lib.writeFile(QStringLiteral("img0.jpg"), 123);
        const qint64 fine = lib.addPhoto(image0, {}, 3, 2);
        const qint64 failed = lib.addPhoto(lib.writeFile(QStringLiteral("img1.jpg")));
        const qint64 bare = lib.addPhoto(lib.writeFile(QStringLiteral("img2.jpg")));
        const qint64 nullPath = lib.addPhoto(lib.writeFile(QStringLiteral("img3.jpg")));
        const qint64 flat = lib.addPhoto(lib.writeFile(QStringLiteral("img4.jpg")), {}, 5, 0);
        const QString link = lib.missingPath(QStringLiteral("link.jpg"));
        QVERIFY(QFile::link(image0, link));
        const qint64 linked = lib.addPhoto(link);
        QVERIFY(fine && failed && bare && nullPath && flat && linked);
        QVERIFY(lib.faultPhoto(failed, QStringLiteral("--fail-properties")));
        for (const char* key :
             {"imageFilename", "imagePath", "originalPath", "date", "id", "height", "width"})
            QVERIFY(lib.faultPhoto(bare, QStringLiteral("--absent"), QString::fromLatin1(key)));
        QVERIFY(lib.faultPhoto(nullPath, QStringLiteral("--null"), QStringLiteral("imagePath")));
        QVERIFY(lib.serve());

        LogCapture log;
        SBUtils sb;
        sb.setRequestsInFlight(inFlight);
        RecordingDelegate d;
        ScanDoor door(&d);
        const QList<iPhotoPhoto> photos = sb.getAllImages();
        QCOMPARE(photos.size(), 6);
        QVERIFY(sb.loadData(photos, door.loadCalls()));
        for (qsizetype n : {sb.filenameList().size(), sb.pathList().size(), sb.originalsPathList().size(),
                            sb.sizeList().size()})
            QCOMPARE(n, 6);
        QCOMPARE(progressValues(d), (QList<double>{0, 1, 2, 3, 4, 5, 6}));

        // A complete answer.
        QCOMPARE(sb.filenameList().at(0).toString(), QStringLiteral("img0.jpg"));
        QCOMPARE(sb.pathList().at(0).toString(), image0);
        QCOMPARE(sb.sizeList().at(0), 123);

        // No answer, and an answer without any of the keys: the same placeholders.
        for (int i : {1, 2}) {
            QCOMPARE(sb.filenameList().at(i), QVariant(QString("")));
            QCOMPARE(sb.pathList().at(i), QVariant(QString("")));
            QCOMPARE(sb.originalsPathList().at(i), QVariant(QString("")));
            QCOMPARE(sb.sizeList().at(i), 0);
        }
        // A missing value is kept as such, logs nothing and names no file.
        QVERIFY(isNullMarker(sb.pathList().at(3)));
        QCOMPARE(sb.sizeList().at(3), 0);
        // A link's own size, not its target's.
        QCOMPARE(sb.sizeList().at(5), qint64(QFile::encodeName(image0).size()));

        QCOMPARE(sb.imagesWithIssues().size(), 2);
        QCOMPARE(sb.imagesWithIssues().at(0).id(), failed);
        QCOMPARE(sb.issueDescriptors().at(0), kAllEight);
        QCOMPARE(sb.issueDescriptors().at(1), kAllEight.mid(1));

        const QStringList lines = log.lines();
        const qsizetype building = lines.indexOf(QStringLiteral("Building Lists"));
        QVERIFY(building >= 0);
        const QStringList reports = log.linesStartingWith(QStringLiteral("Issue: "));
        QCOMPARE(reports.size(), 2);
        QCOMPARE(reports.at(0), QStringLiteral("Issue: <photo %1>\n-(%2)\n- of size 0")
                                    .arg(failed)
                                    .arg(kAllEight.join(QStringLiteral(", "))));
        QCOMPARE(lines.last(), QStringLiteral("Found 2 images with issues"));
        QVERIFY(lines.indexOf(reports.at(0)) > building);
        lib.stop();
    }

    void cancelAtAPhoto_data() {
        QTest::addColumn<int>("at");
        QTest::newRow("before the first photo") << 0;
        QTest::newRow("at the fourth, later ones on their way") << 3;
    }

    // A cancel seen at photo `at` leaves exactly the photos before it in the lists and the issue log,
    // whatever answers of later photos were already on their way, and writes no report.
    void cancelAtAPhoto() {
        QFETCH(int, at);
        TestLibrary lib;
        QList<qint64> ids;
        for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"})
            ids.append(lib.addPhoto(lib.writeFile(QString::fromLatin1(name))));
        QVERIFY(lib.faultPhoto(ids.at(1), QStringLiteral("--fail-properties")));
        QVERIFY(lib.faultPhoto(ids.at(4), QStringLiteral("--fail-properties")));
        QVERIFY(lib.serve());
        LogCapture log;
        SBUtils sb;
        RecordingDelegate d;
        d.cancelAfterReads = at;
        ScanDoor door(&d);
        QVERIFY(!sb.loadData(sb.getAllImages(), door.loadCalls()));
        lib.stop();

        QList<double> progress;
        for (int i = 0; i <= at + 1; ++i)
            progress.append(i);
        QCOMPARE(progressValues(d), progress);
        QStringList filenames;
        for (const QVariant& f : sb.filenameList())
            filenames.append(f.toString());
        QCOMPARE(filenames,
                 (QStringList{QStringLiteral("a.jpg"), QString(""), QStringLiteral("c.jpg")}.mid(0, at)));
        for (qsizetype n : {sb.pathList().size(), sb.originalsPathList().size()})
            QCOMPARE(n, qsizetype(at));
        const qsizetype failedBefore = at > 1 ? 1 : 0;
        QCOMPARE(sb.imagesWithIssues().size(), failedBefore);
        QCOMPARE(sb.failedPropertyRequests().size(), failedBefore);
        QVERIFY(log.lines().isEmpty());
    }
};

VUP_TEST_MAIN_CORE(tst_LibraryLoading)
#include "tst_libraryloading.moc"
