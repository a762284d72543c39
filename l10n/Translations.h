/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QString>
#include <QStringList>

namespace Translations {

// Where a program's .qm files are looked for, first match wins: beside the program
// (<prefix>/bin/../share/vup/translations, which the build tree mirrors) and the installed prefix.
QStringList folders();

// Installs Qt's own translations and the catalogue's (`vup`, `photoapp`) for the user's language
// into the running application. Both translators belong to the application object. English is
// the source language and needs no file; a language without a file leaves the program English.
void install(const QString& catalogue);

} // namespace Translations
