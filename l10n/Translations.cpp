/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "l10n/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <QTranslator>

namespace Translations {

namespace {

// A translator that did not load is dropped at once, so that the application searches only the
// ones that can answer.
bool installFrom(const QString& catalogue, const QString& folder) {
    QCoreApplication* app = QCoreApplication::instance();
    auto* translator = new QTranslator(app);
    // QLocale() is the user's locale as Qt reads it: its uiLanguages() follow LANGUAGE, then
    // LC_ALL, LC_MESSAGES and LANG.
    if (translator->load(QLocale(), catalogue, QStringLiteral("_"), folder) &&
        QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}

QStringList folders() {
    QStringList found;
    if (QCoreApplication::instance())
        found << QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                 QStringLiteral("/../share/vup/translations"));
    const QString installed = QStringLiteral(VUP_INSTALL_TRANSLATIONS_DIR);
    if (!found.contains(installed))
        found << installed;
    return found;
}

} // namespace

void install(const QString& catalogue) {
    if (!QCoreApplication::instance())
        return;
    // Qt's own texts first: a translator installed later is asked first, and the program's own
    // wording wins where both know a text.
    installFrom(QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    for (const QString& folder : folders()) {
        if (installFrom(catalogue, folder))
            return;
    }
}

} // namespace Translations
