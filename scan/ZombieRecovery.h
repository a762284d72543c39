#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>

class VupDelegate;
class iPhotoApplication;

// Gives zombies back to the user inside the photo application: moves each into a dated
// folder in the per-user temporary directory (mirroring its whole path), has the application
// make a dated album and import the folder into it with copying, waits for the import, then
// checks the album. A zombie counts as recovered only when the album gained a photo whose file
// holds the zombie's very bytes; every other zombie goes back to exactly where it was. The
// folder is removed only when nothing but empty folders is left in it.
class ZombieRecovery {
public:
    struct Outcome {
        QString albumName;
        QByteArray zombieFolder;
        qsizetype moved = 0;
        qsizetype recovered = 0;
        qsizetype putBack = 0;
        qsizetype keptInFolder = 0; // could not be put back: still safe in the zombie folder
        bool albumFound = false;
        bool folderRemoved = false;
    };

    ZombieRecovery(std::shared_ptr<const iPhotoApplication> application, VupDelegate* delegate);

    // `zombies` as the detector gives them: absolute native paths.
    Outcome recoverZombies(const QList<QByteArray>& zombies);

    // "yyyy-MM-dd-HHmmss" in local time.
    static QString runStamp(const QDateTime& when);

    // For tests: the clock that makes the run stamp, and the pause between import polls.
    void setClock(std::function<QDateTime()> clock);
    void setPollInterval(std::chrono::milliseconds interval);

private:
    struct Moved {
        QByteArray original;
        QByteArray parked;
        qint64 size = -1;
    };

    void status(const QString& text);
    void progressMax(double value);
    void progressValue(double value);
    bool waitForImport() const;
    QList<bool> verifyAgainstAlbum(const QList<Moved>& moved, const class iPhotoAlbum& album,
                                   const QList<qint64>& photosBefore) const;

    std::shared_ptr<const iPhotoApplication> application;
    VupDelegate* delegate;
    std::function<QDateTime()> clock;
    std::chrono::milliseconds pollInterval{1000};
};
