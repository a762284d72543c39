#pragma once

#include <QByteArray>

// Moves of the user's files, on native paths (bytes: a name need not be valid UTF-8). A move
// never replaces anything at the target. Within one file system it is a rename; across file
// systems the file is copied, the copy compared with the original, and only then the
// original unlinked, so an interrupted or failed move leaves the original in place.
namespace SafeMove {

enum class Outcome { Moved, TargetExists, SourceMissing, Failed };

Outcome moveItem(const QByteArray& from, const QByteArray& to);

// mkdir -p with default attributes; true when the folder exists afterwards.
bool makePath(const QByteArray& dir);

// Removes the folders below and including root, deepest first, but only those that are
// empty: files are never deleted. True when root itself is gone.
bool removeEmptyFolders(const QByteArray& root);

// True when both are regular files holding the same bytes.
bool sameContent(const QByteArray& a, const QByteArray& b);

// "a/b/c" -> "a/b" and "c"; "/c" -> "" and "c".
QByteArray directoryOf(const QByteArray& path);
QByteArray lastComponentOf(const QByteArray& path);

} // namespace SafeMove
