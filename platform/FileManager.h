#pragma once

#include <QString>

// The file-system questions the scan asks for every photo, answered with one system call each.
// Paths are encoded with QFile::encodeName, so any name the application reports round-trips.
namespace FileManager {

// True when an item exists at the path, following a final symbolic link. "" names nothing.
bool fileExistsAtPath(const QString& path);

// True only when the system says nothing is there (no such entry, or a path component that is
// not a folder). A path that cannot be looked at (a folder without search permission, an I/O
// error) is not known to be empty: fileExistsAtPath answers false for it, but this does too.
bool fileIsAbsentAtPath(const QString& path);

// Size in bytes of the item at the path, a symbolic link's own size rather than its target's;
// nothing (0) when the item does not exist or its attributes cannot be read.
qint64 itemSize(const QString& path);

} // namespace FileManager
