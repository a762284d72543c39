/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QString>

namespace Translations {

// Installs Qt's own translations and the catalogue's (`vup`, `photoapp`) for the user's language
// into the running application. Both translators belong to the application object. The
// catalogue is looked for beside the program (<prefix>/bin/../share/vup/translations, which the
// build tree mirrors), then under the installed prefix. English is the source language and needs
// no file; a language without a file leaves the program English.
void install(const QString& catalogue);

} // namespace Translations
