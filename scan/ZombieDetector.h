#pragma once

#include <QByteArray>
#include <QList>
#include <QVariantList>

class VupDelegate;

// Finds zombies: files below the library's Masters folder that no photo names as its master.
//
// Input: the master path of every photo of the library, in load order, each entry a QString
// (an absolute path, or "" where the application's answer lacked it) or the null marker of
// bridge/iPhotoTypes.h. Output: the zombies' absolute paths as native file names (bytes, which
// need not be valid UTF-8), each once, in no particular order.
//
// The Masters folder is walked once, hidden items skipped, links not followed, folders that
// cannot be read passed over; the walk is compared on the fly against one hash set of the
// referenced paths below Masters, so memory holds the input list, that set and the zombies.
class ZombieDetector {
public:
    static QList<QByteArray> detectZombies(const QVariantList& masterPaths, VupDelegate* delegate);
};
