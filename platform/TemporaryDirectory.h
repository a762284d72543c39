#pragma once

#include <QString>

// The per-user temporary directory: $TMPDIR when set, else a folder of this user's own under
// $XDG_CACHE_HOME (default ~/.cache), created with mode 0700. Never a shared world-writable
// folder: files Vup parks there belong to the user and must not be exposed to others.
namespace TemporaryDirectory {

// Absolute, without a trailing separator; empty when no folder could be made.
QString path();

} // namespace TemporaryDirectory
