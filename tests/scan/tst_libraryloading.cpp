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
        const qint64 fine = lib.addPhoto(image0);
        // A file name that is no plain ASCII and begins as a byte order mark would, in a folder of
        // its own.
        const QString odd = lib.writeFile(QStringLiteral("sub/\uFEFF\u00e9t\u00e9 \U0001F4F7.jpg"));
        const qint64 oddPhoto = lib.addPhoto(odd);
        const qint64 failed = lib.addPhoto(lib.writeFile(QStringLiteral("img1.jpg")));
        const qint64 bare = lib.addPhoto(lib.writeFile(QStringLiteral("img2.jpg")));
        const qint64 nullPath = lib.addPhoto(lib.writeFile(QStringLiteral("img3.jpg")));
        const QString link = lib.missingPath(QStringLiteral("link.jpg"));
        QVERIFY(QFile::link(image0, link));
        const qint64 linked = lib.addPhoto(link);
        QVERIFY(fine && oddPhoto && failed && bare && nullPath && linked);
        QVERIFY(lib.faultPhoto(failed, QStringLiteral("--fail-properties")));
        for (const char* key :
             {"imageFilename", "imagePath", "originalPath", "date", "id", "height", "width"})
            QVERIFY(lib.faultPhoto(bare, QStringLiteral("--absent"), QString::fromLatin1(key)));
        QVERIFY(lib.faultPhoto(nullPath, QStringLiteral("--null"), QStringLiteral("imagePath")));
        // A property the scan does not keep is still checked for.
        QVERIFY(lib.faultPhoto(linked, QStringLiteral("--absent"), QStringLiteral("date")));
        QVERIFY(lib.serve());

        LogCapture log;
        SBUtils sb;
        sb.setRequestsInFlight(inFlight);
        RecordingDelegate d;
        ScanDoor door(&d);
        const QList<iPhotoPhoto> photos = sb.getAllImages();
        QCOMPARE(photos.size(), 6);
        SBUtils::ImageLists lists;
        QVERIFY(sb.loadData(photos, lists, door.loadCalls()));
        const TextColumn* all[] = {&lists.filenameList, &lists.pathList, &lists.originalsPathList};
        for (const TextColumn* list : all)
            QCOMPARE(list->size(), 6);
        QCOMPARE(progressValues(d), (QList<double>{0, 1, 2, 3, 4, 5, 6}));

        // Complete answers, their texts as they were sent, whichever folder each lies in.
        QCOMPARE(lists.filenameList.text(0), QStringLiteral("img0.jpg"));
        QCOMPARE(lists.pathList.text(0), image0);
        QCOMPARE(lists.pathList.at(1), QVariant(odd));
        QCOMPARE(lists.originalsPathList.text(1), odd);
        QCOMPARE(lists.pathList.text(5), link);

        // No answer, and an answer without any of the keys: the same placeholders.
        for (int i : {2, 3}) {
            for (const TextColumn* list : all) {
                QCOMPARE(list->kind(i), TextColumn::Kind::Absent);
                QCOMPARE(list->at(i), QVariant(QString("")));
            }
        }
        // A missing value is kept as such and logs nothing.
        QCOMPARE(lists.pathList.kind(4), TextColumn::Kind::Null);
        QVERIFY(isNullMarker(lists.pathList.at(4)));

        QCOMPARE(sb.imagesWithIssues().size(), 3);
        QCOMPARE(sb.imagesWithIssues().at(0).id(), failed);
        QCOMPARE(sb.issueDescriptors().at(0), kAllEight);
        QCOMPARE(sb.issueDescriptors().at(1), kAllEight.mid(1));
        QCOMPARE(sb.issueDescriptors().at(2), QStringList{QStringLiteral("Invalid Date")});

        const QStringList lines = log.lines();
        const qsizetype building = lines.indexOf(QStringLiteral("Building Lists"));
        QVERIFY(building >= 0);
        const QStringList reports = log.linesStartingWith(QStringLiteral("Issue: "));
        QCOMPARE(reports.size(), 3);
        QCOMPARE(reports.at(0), QStringLiteral("Issue: <photo %1>\n-(%2)\n- of size 0")
                                    .arg(failed)
                                    .arg(kAllEight.join(QStringLiteral(", "))));
        // The size is the link's own, not its target's.
        QCOMPARE(reports.at(2), QStringLiteral("Issue: <photo %1>\n-(Invalid Date)\n-%2 of size %3")
                                    .arg(linked)
                                    .arg(lists.filenameList.text(5))
                                    .arg(QFile::encodeName(image0).size()));
        QCOMPARE(lines.last(), QStringLiteral("Found 3 images with issues"));
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
        SBUtils::ImageLists lists;
        QVERIFY(!sb.loadData(sb.getAllImages(), lists, door.loadCalls()));
        lib.stop();

        QList<double> progress;
        for (int i = 0; i <= at + 1; ++i)
            progress.append(i);
        QCOMPARE(progressValues(d), progress);
        QStringList filenames;
        for (qsizetype i = 0; i < lists.filenameList.size(); ++i)
            filenames.append(lists.filenameList.text(i));
        QCOMPARE(filenames,
                 (QStringList{QStringLiteral("a.jpg"), QString(""), QStringLiteral("c.jpg")}.mid(0, at)));
        for (qsizetype n : {lists.pathList.size(), lists.originalsPathList.size()})
            QCOMPARE(n, qsizetype(at));
        const qsizetype failedBefore = at > 1 ? 1 : 0;
        QCOMPARE(sb.imagesWithIssues().size(), failedBefore);
        QCOMPARE(sb.failedPropertyRequests().size(), failedBefore);
        QVERIFY(log.lines().isEmpty());
    }
};

VUP_TEST_MAIN_CORE(tst_LibraryLoading)
#include "tst_libraryloading.moc"
