/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
// photoapp's window as a user meets it: the window in this process over a demo library that a real
// photoapp process serves on the test's private bus; what the window does is read back over the
// bus, and what others do over the bus or from the command line is looked for in the window.

#include "photoapp/ImageMetadata.h"
#include "photoapp/window/KeywordsPanel.h"
#include "photoapp/window/LibraryWindow.h"
#include "tests/support/Alerts.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/PhotoAppProcess.h"
#include "tests/support/TestLibrary.h"
#include "tests/support/TestMain.h"
#include "wire/PhotoAppWire.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QJsonArray>
#include <QJsonObject>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <csignal>
#include <sys/stat.h>

namespace {

const QString kKeywordImage = QStringLiteral(VUP_KEYWORD_IMAGE);
constexpr qint64 kLibraryAlbum = 1;
constexpr qint64 kTrashAlbum = 2;
constexpr qint64 kDemoAlbum = 3; // the demo's first ten photos
constexpr int kPhotos = 12;

QDBusMessage application(const char* method, const QVariantList& args = {}) {
    return PhotoAppProcess::request(QString::fromLatin1(PhotoAppWire::kApplicationPath),
                                    PhotoAppWire::kApplicationInterface, method, args);
}

QDBusMessage control(const char* method, const QVariantList& args = {}) {
    return PhotoAppProcess::request(QString::fromLatin1(PhotoAppWire::kControlPath),
                                    PhotoAppWire::kControlInterface, method, args);
}

QVariant photoPaths(const QList<qint64>& ids) {
    QList<QDBusObjectPath> paths;
    for (const qint64 id : ids)
        paths.append(QDBusObjectPath(PhotoAppWire::photoPath(id)));
    return QVariant::fromValue(paths);
}

QStringList selectionOnTheBus() {
    return objectPaths(application("Selection"));
}

QStringList keywordNamesOnTheBus() {
    QStringList names = application("KeywordNames").arguments().value(0).toStringList();
    names.sort();
    return names;
}

bool assign(const QString& keyword, const QList<qint64>& photos) {
    return control("SelectItems", {photoPaths(photos)}).type() == QDBusMessage::ReplyMessage &&
           control("AddKeyword", {keyword}).type() == QDBusMessage::ReplyMessage &&
           application("AssignKeyword", {keyword}).arguments().value(0).toBool();
}

// Over the bus, as another client would: the photo leaves the library for the Trash.
bool moveToTrash(qint64 photo) {
    return PhotoAppProcess::request(
               PhotoAppWire::photoPath(photo), PhotoAppWire::kPhotoInterface, "RemoveFrom",
               {QVariant::fromValue(QDBusObjectPath(PhotoAppWire::albumPath(kLibraryAlbum)))})
        .arguments()
        .value(0)
        .toBool();
}

QList<qint64> shownIn(LibraryWindow& w) {
    QList<qint64> ids;
    for (int row = 0; row < w.photos().rowCount(); ++row)
        ids.append(w.photos().photoAt(row));
    return ids;
}

QList<qint64> selectedIn(LibraryWindow& w) {
    QList<int> rows;
    for (const QModelIndex& i : w.grid().selectionModel()->selectedIndexes())
        rows.append(i.row());
    std::sort(rows.begin(), rows.end());
    QList<qint64> ids;
    for (const int row : rows)
        ids.append(w.photos().photoAt(row));
    return ids;
}

void click(QListView& view, const QModelIndex& index, Qt::KeyboardModifiers modifiers = {}) {
    view.scrollTo(index);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, modifiers, view.visualRect(index).center());
}

void clickPhoto(LibraryWindow& w, int row, Qt::KeyboardModifiers modifiers = {}) {
    click(w.grid(), w.photos().index(row), modifiers);
}

void clickAlbum(LibraryWindow& w, const QString& name) {
    QAbstractItemModel& albums = *w.sidebar().model();
    const QModelIndexList found =
        albums.match(albums.index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(name));
    click(w.sidebar(), found.constFirst());
}

QStringList albumNames(LibraryWindow& w) {
    QStringList names;
    for (int row = 0; row < w.sidebar().model()->rowCount(); ++row)
        names.append(w.sidebar().model()->index(row, 0).data().toString());
    return names;
}

} // namespace

class tst_PhotoAppWindow : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    int counter = 0;
    std::unique_ptr<TestLibrary> demo;
    QString library;
    std::unique_ptr<PhotoAppProcess> server;
    std::unique_ptr<LibraryWindow> window;

    QString newPath(const QString& name) {
        return dir.filePath(QStringLiteral("%1-%2").arg(++counter).arg(name));
    }

    // A demo library of twelve photos, the first ten of them in "Demo Album"; false when it
    // cannot be made.
    bool makeDemo() {
        demo = std::make_unique<TestLibrary>(newPath(QStringLiteral("Demo.photolibrary")));
        library = demo->path();
        return demo->demo(kPhotos, 0, 0, 0);
    }

    // A demo library served by a photoapp process, and its window in this process, shown.
    bool open() {
        QString error;
        server = std::make_unique<PhotoAppProcess>();
        if (!makeDemo() || !server->serve(library) ||
            !(window = LibraryWindow::open(LibraryPackage(library), {}, &error))) {
            qWarning("cannot open the window: %s", qPrintable(error));
            return false;
        }
        window->show();
        window->grid().doItemsLayout();
        return QTest::qWaitForWindowExposed(window.get());
    }

    // A photo of the library whose image path is `image`, whatever is or is not there; its id.
    qint64 addRecord(const QString& image) {
        const auto r = photoapp("photo", "add-record", library, "--image", image);
        return r.exitCode == 0 ? r.out.trimmed().toLongLong() : 0;
    }

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        ImageMetadataIo::initialize();
    }

    void cleanup() {
        window.reset();
        if (server)
            QVERIFY(server->stop());
        server.reset();
    }

    void gridSelectionIsTheApplicationsSelection_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("expected");
        const auto photos = [](const QList<qint64>& ids) {
            QStringList paths;
            for (const qint64 id : ids)
                paths.append(PhotoAppWire::photoPath(id));
            return paths;
        };
        QTest::newRow("a Shift-click extends") << "shift-click" << photos({2, 3, 4});
        QTest::newRow("a click back on the shown album")
            << "library" << QStringList{PhotoAppWire::albumPath(kLibraryAlbum)};
    }

    // A plain click and a click on another album start selectionMadeElsewhereShowsInTheGrid.
    void gridSelectionIsTheApplicationsSelection() {
        QFETCH(QString, action);
        QFETCH(QStringList, expected);
        QVERIFY(open());
        if (action == QLatin1StringView("shift-click")) {
            clickPhoto(*window, 1);
            clickPhoto(*window, 3, Qt::ShiftModifier);
        } else {
            clickPhoto(*window, 4);
            QTRY_COMPARE(selectionOnTheBus(), QStringList{PhotoAppWire::photoPath(5)});
            clickAlbum(*window, QStringLiteral("Photos"));
            QVERIFY(selectedIn(*window).isEmpty());
        }
        QTRY_COMPARE(selectionOnTheBus(), expected);
    }

    void selectionMadeElsewhereShowsInTheGrid_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<qint64>("album");
        QTest::addColumn<QList<qint64>>("selected");
        QTest::newRow("SelectItems") << "SelectItems" << kLibraryAlbum << QList<qint64>{3, 5};
        QTest::newRow("a photo outside the shown album") << "outside" << kLibraryAlbum << QList<qint64>{12};
        QTest::newRow("a photo in the Trash") << "trash" << kTrashAlbum << QList<qint64>{8};
        QTest::newRow("an album's Select") << "album" << kDemoAlbum << QList<qint64>{};
        QTest::newRow("a photo the search hides") << "hidden" << kLibraryAlbum << QList<qint64>{2};
    }

    void selectionMadeElsewhereShowsInTheGrid() {
        QFETCH(QString, how);
        QFETCH(qint64, album);
        QFETCH(QList<qint64>, selected);
        QVERIFY(open());
        clickPhoto(*window, 0);
        QTRY_COMPARE(selectionOnTheBus(), QStringList{PhotoAppWire::photoPath(1)});
        if (how == QLatin1StringView("album")) {
            QCOMPARE(PhotoAppProcess::request(PhotoAppWire::albumPath(kDemoAlbum),
                                              PhotoAppWire::kAlbumInterface, "Select")
                         .type(),
                     QDBusMessage::ReplyMessage);
        } else {
            // The click's own write must land first, or it would replace the selection made below.
            if (how == QLatin1StringView("outside")) {
                clickAlbum(*window, QStringLiteral("Demo Album"));
                QTRY_COMPARE(selectionOnTheBus(), QStringList{PhotoAppWire::albumPath(kDemoAlbum)});
            }
            if (how == QLatin1StringView("hidden"))
                QTest::keyClicks(window->findChild<QLineEdit*>(QStringLiteral("search")),
                                 QStringLiteral("IMG_0001"));
            if (how == QLatin1StringView("trash"))
                QVERIFY(moveToTrash(8));
            QTRY_COMPARE(window->photos().rowCount(), how == QLatin1StringView("outside") ? 10
                                                      : how == QLatin1StringView("hidden")
                                                          ? 1
                                                          : kPhotos - int(how == QLatin1StringView("trash")));
            QCOMPARE(control("SelectItems", {photoPaths(selected)}).type(), QDBusMessage::ReplyMessage);
        }
        const QStringList made = selectionOnTheBus();
        QTRY_COMPARE(selectedIn(*window), selected);
        QCOMPARE(window->photos().album(), album);
        QCOMPARE(window->sidebar().currentIndex().data(AlbumListModel::AlbumIdRole).toLongLong(), album);
        QVERIFY(window->findChild<QLineEdit*>(QStringLiteral("search"))->text().isEmpty());
        // Showing it wrote nothing back.
        QTest::qWait(500);
        QCOMPARE(selectionOnTheBus(), made);
    }

    void searchFiltersByKeywordAndName_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<qint64>>("shown");
        QTest::newRow("part of two keywords") << "MISSING" << QList<qint64>{2, 3, 4};
        QTest::newRow("a file name") << "img_0007" << QList<qint64>{7};
        QTest::newRow("neither") << "Beach" << QList<qint64>{};
        QTest::newRow("no text") << "" << QList<qint64>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    }

    void searchFiltersByKeywordAndName() {
        QFETCH(QString, text);
        QFETCH(QList<qint64>, shown);
        QVERIFY(open());
        QVERIFY(assign(QStringLiteral("Vup Missing"), {2, 3}));
        QVERIFY(assign(QStringLiteral("Vup Master Missing"), {4}));
        QTRY_VERIFY(window->mirror().isFlagged(4));
        auto* search = window->findChild<QLineEdit*>(QStringLiteral("search"));
        QTest::keyClicks(search, QStringLiteral("x"));
        search->clear();
        QTest::keyClicks(search, text);
        QCOMPARE(shownIn(*window), shown);
        const QList<qint64> flagged{2, 3, 4};
        for (int row = 0; row < window->photos().rowCount(); ++row) {
            const QModelIndex i = window->photos().index(row);
            QCOMPARE(i.data(PhotoGridModel::FlaggedRole).toBool(),
                     flagged.contains(window->photos().photoAt(row)));
        }
    }

    void keywordsPanelEditsTheLibrarysKeywords_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("names");
        const QString beach = QStringLiteral("Beach");
        const QString sea = QStringLiteral("Sea");
        QTest::newRow("+ adds") << "add Shells" << QStringList{beach, sea, QStringLiteral("Shells")};
        QTest::newRow("a nameless new keyword is dropped") << "add " << QStringList{beach, sea};
        QTest::newRow("the removal of an assigned keyword asks first") << "remove Sea" << QStringList{beach};
    }

    void keywordsPanelEditsTheLibrarysKeywords() {
        QFETCH(QString, action);
        QFETCH(QStringList, names);
        QVERIFY(open());
        for (const char* name : {"Beach", "Sea"})
            QCOMPARE(photoapp("keyword", "add", library, QString::fromLatin1(name)).exitCode, 0);
        QVERIFY(assign(QStringLiteral("Sea"), {1}));
        QAction* manage = window->findChild<QAction*>(QStringLiteral("manageMyKeywords"));
        QVERIFY(manage);
        QCOMPARE(manage->text(), QStringLiteral("Manage My Keywords"));
        manage->trigger();
        KeywordsPanel& panel = window->keywordsPanel();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        auto* list = panel.findChild<QListView*>(QStringLiteral("keywordList"));
        QTRY_COMPARE(list->model()->rowCount(), 2);
        auto* edit = panel.findChild<QPushButton*>(QStringLiteral("editKeywords"));
        QCOMPARE(edit->text(), QStringLiteral("Edit Keywords"));
        auto* add = panel.findChild<QPushButton*>(QStringLiteral("addKeyword"));
        QVERIFY(!add->isVisible());
        QTest::mouseClick(edit, Qt::LeftButton);
        QVERIFY(add->isVisible());
        QCOMPARE(add->text(), QStringLiteral("+"));
        QVERIFY(add->geometry().left() < edit->geometry().left()); // lower left

        const QStringList words = action.split(QLatin1Char(' '));
        if (words.constFirst() == QLatin1StringView("add")) {
            QTest::mouseClick(add, Qt::LeftButton);
            QLineEdit* editor = nullptr;
            QTRY_VERIFY((editor = list->findChild<QLineEdit*>()) && editor->isVisible());
            QTest::keyClicks(editor, words.value(1));
            QTest::keyClick(editor, Qt::Key_Return);
        } else {
            const QModelIndexList found = list->model()->match(list->model()->index(0, 0), Qt::DisplayRole,
                                                               words.at(1), 1, Qt::MatchExactly);
            QVERIFY(!found.isEmpty());
            click(*list, found.constFirst());
            QTest::mouseClick(panel.findChild<QPushButton*>(QStringLiteral("removeKeyword")), Qt::LeftButton);
            QMessageBox* message = nullptr;
            QTRY_VERIFY((message = shownAlerts(&panel).value(0)));
            QAbstractButton* remove = nullptr;
            for (QAbstractButton* button : message->buttons()) {
                if (button->text() == QLatin1StringView("Remove"))
                    remove = button;
            }
            QVERIFY(remove);
            remove->click();
        }
        QTRY_COMPARE(keywordNamesOnTheBus(), names);
        QCOMPARE(shownAlerts(&panel).value(0), nullptr);
        // The panel shows what the library holds, and no row of a keyword that never came.
        QTRY_COMPARE(list->model()->rowCount(), names.size());
        if (action == QLatin1StringView("remove Sea")) {
            const QJsonObject first =
                PhotoAppProcess::dump(library).value(QLatin1StringView("photos")).toArray().at(0).toObject();
            QVERIFY(first.value(QLatin1StringView("keywords")).toArray().isEmpty());
        }
    }

    // A photo imported over the bus, and a new album, as a scan's zombie recovery makes them.
    void followsChangesMadeElsewhere() {
        QVERIFY(open());
        PhotoGridModel& photos = window->photos();
        QVERIFY(PhotoAppProcess::request(PhotoAppWire::albumPath(kLibraryAlbum),
                                         PhotoAppWire::kAlbumInterface, "ImportFrom", {kKeywordImage, true})
                    .arguments()
                    .value(0)
                    .toBool());
        QTRY_COMPARE(photos.rowCount(), kPhotos + 1);
        const QModelIndex last = photos.index(kPhotos);
        QCOMPARE(last.data().toString(), QStringLiteral("iPhoto Keywords.jpg"));
        QVERIFY(last.data(PhotoGridModel::FlaggedRole).toBool()); // its IPTC keywords

        const QString name = QStringLiteral("Vup Zombies 2026-12-06-120000");
        QCOMPARE(application("NewAlbum", {name}).type(), QDBusMessage::ReplyMessage);
        QTRY_COMPARE(albumNames(*window), (QStringList{QStringLiteral("Photos"), QStringLiteral("Demo Album"),
                                                       name, QStringLiteral("Trash")}));
    }

    void thumbnailsAndPlaceholders_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("state");
        const auto state = [](ThumbnailLoader::State s) {
            return int(s);
        };
        QTest::newRow("an image") << "image" << state(ThumbnailLoader::State::Ready);
        QTest::newRow("an image file gone") << "gone" << state(ThumbnailLoader::State::Missing);
        QTest::newRow("not an image") << "text" << state(ThumbnailLoader::State::Unreadable);
        QTest::newRow("a FIFO in the image's place") << "fifo" << state(ThumbnailLoader::State::Unreadable);
    }

    void thumbnailsAndPlaceholders() {
        QFETCH(QString, kind);
        QFETCH(int, state);
        QVERIFY(open());
        QString image = newPath(QStringLiteral("image.jpg"));
        if (kind == QLatin1StringView("image"))
            image = window->mirror().imagePath(1);
        else if (kind == QLatin1StringView("text"))
            QVERIFY(QFile::copy(QStringLiteral(VUP_TEST_DATA_DIR "/not-an-image.jpg"), image));
        else if (kind == QLatin1StringView("fifo"))
            QVERIFY(::mkfifo(QFile::encodeName(image).constData(), 0644) == 0);
        const qint64 id = kind == QLatin1StringView("image") ? 1 : addRecord(image);
        QVERIFY(id > 0);
        QTRY_VERIFY(window->photos().rowOf(id) >= 0);
        const QModelIndex index = window->photos().index(window->photos().rowOf(id));
        QTRY_VERIFY(index.data(PhotoGridModel::ThumbnailStateRole).toInt() !=
                    int(ThumbnailLoader::State::Loading));
        QCOMPARE(index.data(PhotoGridModel::ThumbnailStateRole).toInt(), state);
        const QImage shown = index.data(Qt::DecorationRole).value<QImage>();
        if (state != int(ThumbnailLoader::State::Ready)) {
            QCOMPARE(shown, PhotoGridModel::placeholder(ThumbnailLoader::State(state)));
            return;
        }
        QCOMPARE(shown.size(), QSize(64, 48));
    }

    void windowCommands_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("display");
        QTest::addColumn<QString>("lang");   // empty: the test's own environment
        QTest::addColumn<QByteArray>("why"); // said without a display
        QTest::newRow("open") << QStringList{QStringLiteral("open")} << true << QString() << QByteArray();
        QTest::newRow("serve --window") << QStringList{QStringLiteral("serve"), QStringLiteral("--window")}
                                        << true << QString() << QByteArray();
        QTest::newRow("open without a display")
            << QStringList{QStringLiteral("open")} << false << QString() << QByteArray("no display");
        QTest::newRow("open without a display, German locale")
            << QStringList{QStringLiteral("open")} << false << QStringLiteral("de_DE.UTF-8")
            << QByteArray("Keine Anzeige für ein Fenster");
    }

    void windowCommands() {
        QFETCH(QStringList, arguments);
        QFETCH(bool, display);
        QFETCH(QString, lang);
        QFETCH(QByteArray, why);
        QVERIFY(makeDemo());
        arguments.insert(1, library);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (!display) {
            for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
                environment.remove(QString::fromLatin1(name));
        }
        if (!lang.isEmpty()) {
            for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"})
                environment.remove(QString::fromLatin1(name));
            environment.insert(QStringLiteral("LANG"), lang);
        }
        ChildProcess shown(PhotoAppProcess::executable(), arguments, {},
                           [&](QProcess& p) { p.setProcessEnvironment(environment); });
        if (!display) {
            QCOMPARE(shown.wait(10000), 1);
            QVERIFY2(shown.err.contains(why), shown.err.constData());
            server = std::make_unique<PhotoAppProcess>(); // nothing of the library was taken
            QVERIFY(server->serve(library));
            return;
        }
        QTRY_COMPARE_WITH_TIMEOUT(application("Ping").type(), QDBusMessage::ReplyMessage, 10000);
        QCOMPARE(PhotoAppProcess::request(PhotoAppWire::albumPath(kLibraryAlbum),
                                          PhotoAppWire::kAlbumInterface, "PhotoCount")
                     .arguments()
                     .value(0)
                     .toLongLong(),
                 kPhotos);
        ::kill(pid_t(shown.pid()), SIGTERM);
        QCOMPARE(shown.wait(5000), 0);
    }
};

VUP_TEST_MAIN_GUI(tst_PhotoAppWindow)
#include "tst_photoappwindow.moc"
