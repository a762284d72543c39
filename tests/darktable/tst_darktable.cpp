/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "bridge/LuaText.h"
#include "scan/engine/ScanLock.h"
#include "scan/engine/VupMode.h"
#include "scan/report/FindingsTable.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/DarktableProcess.h"
#include "tests/support/RecordingDelegate.h"
#include "tests/support/TestLibrary.h"
#include "tests/support/TestMain.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace {

using Kind = PhotoApplications::Kind;
const QByteArray kPrelude = QByteArray("local dt = require \"darktable\"\n") + LuaText::kEncodeFunction;

// A small JPEG of its own colour, so that no two files are alike.
bool writeJpeg(const QByteArray& path, int shade) {
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(QColor(shade * 37 % 256, shade * 91 % 256, 128));
    QBuffer jpeg;
    if (!jpeg.open(QIODevice::WriteOnly) || !image.save(&jpeg, "JPEG"))
        return false;
    // By its bytes: a name that is not UTF-8 would not survive a QString.
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const bool written = fd >= 0 && ::write(fd, jpeg.data().constData(), size_t(jpeg.size())) == jpeg.size();
    return fd >= 0 && ::close(fd) == 0 && written;
}

QByteArray luaList(const QList<QByteArray>& values) {
    QByteArray out = "{";
    for (const QByteArray& v : values)
        out += LuaText::literal(v) + ',';
    return out + '}';
}

// Each image's file and tags, as darktable holds them now: "path\ttag\ttag...".
QStringList libraryState() {
    const std::optional<QString> answer = DarktableProcess::lua(
        kPrelude +
        "local out = {} for i = 1, #dt.database do local im = dt.database[i] "
        "local row = {vup_enc(im.path .. '/' .. im.filename)} for _, t in ipairs(dt.tags.get_tags(im)) do "
        "if t.name:sub(1, 4) == 'Vup ' then row[#row + 1] = vup_enc(t.name) end end "
        "out[i] = table.concat(row, '\\t') end return table.concat(out, '\\n')");
    if (!answer)
        return {QStringLiteral("(darktable did not answer)")};
    QStringList rows;
    for (const QString& line : answer->split(u'\n', Qt::SkipEmptyParts)) {
        QStringList fields;
        for (const QString& field : line.split(u'\t'))
            fields.append(QString::fromUtf8(LuaText::decoded(field).value_or("?")).replace(u'\n', u'|'));
        rows.append(fields.join(u' '));
    }
    rows.sort();
    return rows;
}

} // namespace

// Scans of a real darktable, driven over its Lua service: one darktable serves every case, its
// library emptied before each.
class tst_Darktable : public QObject {
    Q_OBJECT

    DarktableProcess darktable;

    // Imports each file of `names` from a fresh folder; answers the folder.
    QByteArray importFresh(QTemporaryDir& dir, const QList<QByteArray>& names) {
        const QByteArray folder = QFile::encodeName(dir.path());
        QList<QByteArray> paths;
        for (const QByteArray& name : names) {
            paths.append(folder + '/' + name);
            if (!writeJpeg(paths.last(), int(paths.size())))
                return {};
        }
        const auto done =
            DarktableProcess::lua(kPrelude + "local n = 0 for _, p in ipairs(" + luaList(paths) +
                                  ") do if dt.database.import(p) then n = n + 1 end end return tostring(n)");
        return done == QString::number(names.size()) ? folder : QByteArray();
    }

private slots:
    void initTestCase() {
        const QString why = darktable.start();
        QVERIFY2(why.isEmpty(), qPrintable(why));
    }

    void init() {
        const QString why = darktable.ensureRunning();
        QVERIFY2(why.isEmpty(), qPrintable(why));
        QVERIFY(DarktableProcess::lua(kPrelude +
                                      "while #dt.database > 0 do dt.database.delete(dt.database[1]) end "
                                      "dt.gui.selection({}) return ''"));
    }

    void scan_data() {
        QTest::addColumn<QList<QByteArray>>("names");
        QTest::addColumn<QList<int>>("gone");     // deleted after the import
        QTest::addColumn<QList<int>>("selected"); // a selection scan of these when not empty
        QTest::addColumn<QList<QByteArray>>("zombies");
        QTest::addColumn<bool>("deleteMode");
        QTest::addColumn<bool>("dryRun");
        QTest::addColumn<QStringList>("expected"); // files and tags after the run; %1 is the folder

        const QList<QByteArray> plain{"a.jpg", "b.jpg", "c.jpg"};
        const QString zombieTag = QStringLiteral(" Vup Zombies *");
        QTest::newRow("remove") << plain << QList<int>{1} << QList<int>{} << QList<QByteArray>{} << true
                                << false << QStringList{"%1/a.jpg", "%1/c.jpg"};
        QTest::newRow("selection") << plain << QList<int>{0, 1} << QList<int>{1, 2} << QList<QByteArray>{}
                                   << false << false
                                   << QStringList{"%1/a.jpg", "%1/b.jpg Vup Missing", "%1/c.jpg"};
        // Sidecars, hidden files and other kinds of file are no zombies.
        QTest::newRow("zombies") << plain << QList<int>{} << QList<int>{}
                                 << QList<QByteArray>{"z.jpg", "y.JPEG", "z.jpg.xmp", ".hidden.jpg",
                                                      "notes.txt"}
                                 << false << false
                                 << QStringList{"%1/a.jpg", "%1/b.jpg", "%1/c.jpg", "%1/y.JPEG" + zombieTag,
                                                "%1/z.jpg" + zombieTag};
        QTest::newRow("dry run") << plain << QList<int>{1} << QList<int>{} << QList<QByteArray>{"z.jpg"}
                                 << true << true << QStringList{"%1/a.jpg", "%1/b.jpg", "%1/c.jpg"};
        // The newline's escape is followed by a digit, which must not read as part of it.
        QTest::newRow("hostile names")
            << QList<QByteArray>{"q\"uote.jpg",   "it's.jpg", "]]x.jpg",        "back\\slash.jpg",
                                 "new\n1ine.jpg", "100%.jpg", "bad\xff\xfe.jpg"}
            << QList<int>{0, 2, 4, 6} << QList<int>{} << QList<QByteArray>{"z]]\"\xfe%.jpg"} << false << false
            << QStringList{"%1/q\"uote.jpg Vup Missing",
                           "%1/it's.jpg",
                           "%1/]]x.jpg Vup Missing",
                           "%1/back\\slash.jpg",
                           "%1/new|1ine.jpg Vup Missing",
                           "%1/100%.jpg",
                           QStringLiteral("%1/bad\uFFFD\uFFFD.jpg Vup Missing"),
                           QStringLiteral("%1/z]]\"\uFFFD%.jpg") + zombieTag};
    }

    // What a run finds and changes, checked through darktable's own answers.
    void scan() {
        QFETCH(QList<QByteArray>, names);
        QFETCH(QList<int>, gone);
        QFETCH(QList<int>, selected);
        QFETCH(QList<QByteArray>, zombies);
        QFETCH(bool, deleteMode);
        QFETCH(bool, dryRun);
        QFETCH(QStringList, expected);

        QTemporaryDir dir;
        const QByteArray folder = importFresh(dir, names);
        QVERIFY(!folder.isEmpty());
        // Names that are not UTF-8 are beyond QTemporaryDir.
        const auto removeAll = qScopeGuard([&] { std::filesystem::remove_all(folder.constData()); });
        for (const QByteArray& zombie : zombies)
            QVERIFY(writeJpeg(folder + '/' + zombie, 99));
        for (const int i : gone)
            QCOMPARE(::unlink((folder + '/' + names.at(i)).constData()), 0);
        if (!selected.isEmpty()) {
            QList<QByteArray> paths;
            for (const int i : selected)
                paths.append(folder + '/' + names.at(i));
            QVERIFY(DarktableProcess::lua(
                kPrelude +
                "local s = {} for i = 1, #dt.database do local im = dt.database[i] "
                "for _, p in ipairs(" +
                luaList(paths) +
                ") do if im.path .. '/' .. im.filename == p then s[#s + 1] = im end end end "
                "dt.gui.selection(s) return ''"));
        }

        VupMode vup;
        vup.useApplication(Kind::Darktable);
        vup.setDryRun(dryRun);
        RecordingDelegate d;
        d.deleteOption = deleteMode;
        d.selectionOption = !selected.isEmpty();
        d.zombiesOption = !zombies.isEmpty();
        QVERIFY(runOnScanThread([&] { vup.vupScan(&d); }));
        const ScanFindings f = vup.lastRun();
        QCOMPARE(f.outcome, ScanFindings::Outcome::Completed);
        QCOMPARE(f.application, QStringLiteral("darktable"));
        QCOMPARE(f.missingImage.size(), selected.isEmpty() ? gone.size() : 1);
        // darktable keeps no master files: its summary names the one tag a run can give.
        if (!dryRun && !f.missingImage.isEmpty())
            QVERIFY2(
                f.summary.contains(QStringLiteral("search for the tag \"Vup Missing\" within darktable")) &&
                    !f.summary.contains(QStringLiteral("Master")),
                qPrintable(f.summary));
        // Imported where they lay: the findings say so, and name the tag, not an album.
        if (!zombies.isEmpty() && !dryRun) {
            qsizetype reAdded = 0;
            for (const Finding& row : findingsTable(f).rows)
                reAdded +=
                    row.kind == Finding::Kind::Zombie &&
                    row.action.startsWith(QStringLiteral("re-added where it lies, tagged \"Vup Zombies "));
            QCOMPARE(reAdded, f.recovery.count(ZombieState::ReAdded));
            QVERIFY(reAdded > 0);
        }

        const QString shownFolder = QFile::decodeName(folder);
        for (QString& want : expected)
            want = want.arg(shownFolder);
        expected.sort();
        const QStringList state = libraryState();
        QCOMPARE(state.size(), expected.size());
        for (qsizetype i = 0; i < state.size(); ++i) {
            const QString& want = expected.at(i);
            // A trailing * stands for the run's stamp.
            QVERIFY2(want.endsWith(u'*') ? state.at(i).startsWith(want.chopped(1)) : state.at(i) == want,
                     qPrintable(state.at(i) + QStringLiteral(" is not ") + want));
        }
    }

    // What others do while a run works on the library: a zombie taken away or made unreadable
    // between detection and import must not take darktable down or be called gone; an image taken
    // out of the library before its tag is the only one listed as failed; darktable killed or
    // stopped before the tags ends the run failed, no tag claimed; a run holding the library file
    // keeps another off, one holding darktable's configuration folder does not.
    void interruptions_data() {
        QTest::addColumn<QString>("event");
        for (const char* event :
             {"zombie vanishes", "zombie unreadable", "image taken out", "darktable killed",
              "darktable stopped", "library file locked", "configuration folder locked"})
            QTest::newRow(event) << QString::fromLatin1(event);
    }

    void interruptions() {
        QFETCH(QString, event);
        QTemporaryDir dir;
        const QByteArray folder = importFresh(dir, {"a.jpg", "b.jpg", "c.jpg"});
        QVERIFY(!folder.isEmpty());
        const QString shown = QFile::decodeName(folder);
        QVERIFY(QFile::remove(shown + "/a.jpg") && QFile::remove(shown + "/c.jpg"));
        QVERIFY(writeJpeg(folder + "/z.jpg", 7));
        const QString locked = event == u"library file locked"      ? darktable.folder() + "/library.db"
                               : event.startsWith(u"configuration") ? darktable.folder() + "/config"
                                                                    : QString();
        ScanLock::Result held = ScanLock::Result::Unavailable;
        const auto lock = locked.isEmpty() ? nullptr : ScanLock::acquire(locked, &held);
        QCOMPARE(held == ScanLock::Result::Held, !locked.isEmpty());
        VupMode vup;
        vup.useApplication(Kind::Darktable);
        RecordingDelegate d;
        d.zombiesOption = event.startsWith(u"zombie");
        const auto pid = pid_t(darktable.pid());
        // The run stops accepting a cancel right before its first change.
        d.onCall = [&](const DelegateCall& call) {
            if (call.name != QStringLiteral("setCancellable") || call.value.toBool())
                return;
            if (event == u"darktable killed")
                ::kill(pid, SIGKILL);
            else if (event == u"darktable stopped")
                ::kill(pid, SIGSTOP);
            else if (event == u"zombie vanishes")
                QFile::remove(shown + "/z.jpg");
            else if (event == u"zombie unreadable")
                QFile::setPermissions(shown + "/z.jpg", {});
            else if (event == u"image taken out")
                DarktableProcess::lua(kPrelude + "for i = 1, #dt.database do local im = dt.database[i] "
                                                 "if im.filename == 'a.jpg' then dt.database.delete(im) "
                                                 "return '' end end return ''");
        };
        QVERIFY(runOnScanThread([&] { vup.vupScan(&d); }));
        if (event == u"darktable stopped")
            ::kill(pid, SIGKILL);
        const ScanFindings f = vup.lastRun();
        const QString tagged = shown + "/a.jpg Vup Missing";
        QStringList after{tagged, shown + "/b.jpg", shown + "/c.jpg Vup Missing"};
        if (event.startsWith(u"darktable")) {
            QCOMPARE(f.outcome, ScanFindings::Outcome::Failed);
            QVERIFY(f.taggedMissing.isEmpty());
            QVERIFY(f.summary.startsWith(QStringLiteral("darktable stopped responding")));
            return;
        }
        QVERIFY(darktable.isRunning());
        if (event == u"library file locked") {
            QCOMPARE(f.outcome, ScanFindings::Outcome::AnotherScan);
            after = QStringList{shown + "/a.jpg", shown + "/b.jpg", shown + "/c.jpg"};
        } else if (event == u"image taken out") {
            QCOMPARE(f.outcome, ScanFindings::Outcome::Incomplete);
            QCOMPARE(f.taggedMissing.size(), 1);
            QCOMPARE(f.failedChanges.size(), 1);
            QCOMPARE(f.paths.at(f.failedChanges.first().position).toString(), shown + "/a.jpg");
            after.removeFirst();
        } else if (event == u"zombie vanishes") {
            QCOMPARE(f.recovery.count(ZombieState::Missing), 1);
            QVERIFY2(f.summary.contains(QStringLiteral("1 zombies were gone before they could be imported.")),
                     qPrintable(f.summary));
        } else if (event == u"zombie unreadable") {
            QCOMPARE(f.recovery.count(ZombieState::NotMoved), 1);
            const QList<Finding> rows = findingsTable(f).rows;
            QCOMPARE(rows.last().action, QStringLiteral("left in place"));
            QCOMPARE(rows.last().reason, QStringLiteral("it cannot be read: Permission denied"));
        } else {
            QCOMPARE(f.outcome, ScanFindings::Outcome::Completed);
        }
        QCOMPARE(libraryState(), after);
    }

    // With both applications on the bus the terminal will not guess which library to repair.
    void bothApplicationsRunning() {
        TestLibrary lib;
        QVERIFY(lib.isValid() && lib.serve());
        QTemporaryDir dir;
        const QByteArray folder = importFresh(dir, {"a.jpg"});
        QVERIFY(!folder.isEmpty());
        const QString exe = QStringLiteral(VUP_EXECUTABLE);
        const ProgramRun refused = runProgram(exe, {"scan", "--library", "--yes"});
        // Refused, not misused: exit 1, the sentence alone, no usage text.
        QCOMPARE(refused.exitCode, 1);
        QVERIFY2(refused.err.contains(QStringLiteral("vup scan: both photoapp and darktable are running; say "
                                                     "which library to repair with --app photoapp or --app "
                                                     "darktable\n")) &&
                     !refused.err.contains(QStringLiteral("usage:")),
                 qPrintable(refused.err));
        const QString report = dir.filePath(QStringLiteral("report.json"));
        const ProgramRun chosen = runProgram(
            exe, {"scan", "--library", "--yes", "--dry-run", "--app", "darktable", "--report", report});
        QCOMPARE(chosen.exitCode, 0);
        QFile file(report);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(
            QJsonDocument::fromJson(file.readAll()).object().value(QStringLiteral("application")).toString(),
            QStringLiteral("darktable"));
    }
};

VUP_TEST_MAIN_CORE(tst_Darktable)
#include "tst_darktable.moc"
